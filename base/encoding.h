// Conversions between ISO Latin-1 bytes, UTF-8, UTF-16 units and 32-bit characters.
#pragma once

#include <string>
#include <string_view>

#include "base/rc_string.h"
#include "base/rc_vector.h"

namespace Wex {

// Each byte becomes the character of the same code.
std::wstring Latin1ToWide(std::string_view text);
// Each character becomes its byte; a character above U+00FF becomes '?'.
std::string WideToLatin1(std::wstring_view text);
// The characters of a UTF-8 text; every malformed sequence becomes U+FFFD.
std::wstring UTF8ToWide(std::string_view text);
// The UTF-8 bytes of a wide text; a value that is no character becomes U+FFFD.
std::string WideToUTF8(std::wstring_view text);

// A UTF-16 vector of a wide text: each character is cut to one 16-bit unit.
ref<rcVector<UniChar>> WideToUTF16(std::wstring_view text);
// The ISO Latin-1 bytes of UTF-16 text as a new terminated 8-bit vector; a character above U+00FF
// (a surrogate pair counts as one) becomes '?'.
ref<rcVector<char>> UTF16ToLatin1(const rcVector<UniChar>& text);
// The same conversion as a new string.
refString ToRCString(const rcVector<UniChar>& text);

} // namespace Wex
