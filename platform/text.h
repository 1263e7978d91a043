#pragma once

// Conversions between the program's text encodings and UTF-8, the encoding of the platform's
// text functions (cairo, fontconfig, GTK).

#include <cstddef>
#include <string>
#include <string_view>

namespace Platform {

// ISO Latin-1 bytes to UTF-8: byte b becomes U+00bb.
std::string Latin1ToUTF8(std::string_view latin1);

// UTF-16 code units to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string UTF16ToUTF8(const char16_t* units, std::size_t count);

// UTF-8 to ISO Latin-1: a code point above U+00FF, and every malformed sequence, becomes the
// loss byte.
std::string UTF8ToLatin1(std::string_view utf8, char loss);

}  // namespace Platform
