#include "platform/text.h"

#include <cstdint>

namespace Platform {

namespace {

constexpr char32_t kReplacementCharacter = 0xFFFD;

void AppendUTF8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

bool IsHighSurrogate(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLowSurrogate(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

// Decodes one well-formed UTF-8 sequence at text[i] (shortest form, no surrogates, at most
// U+10FFFF) and advances i past it; a malformed sequence yields U+FFFD and advances by one byte.
char32_t DecodeUTF8(std::string_view text, std::size_t& i) {
  const auto lead = static_cast<std::uint8_t>(text[i]);
  if (lead < 0x80) {
    ++i;
    return lead;
  }
  std::size_t length;
  char32_t c;
  char32_t minimum;
  if ((lead & 0xE0) == 0xC0) {
    length = 2, c = lead & 0x1F, minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, c = lead & 0x0F, minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, c = lead & 0x07, minimum = 0x10000;
  } else {
    ++i;
    return kReplacementCharacter;
  }
  if (text.size() - i < length) {
    ++i;
    return kReplacementCharacter;
  }
  for (std::size_t k = 1; k < length; ++k) {
    const auto unit = static_cast<std::uint8_t>(text[i + k]);
    if ((unit & 0xC0) != 0x80) {
      ++i;
      return kReplacementCharacter;
    }
    c = (c << 6) | (unit & 0x3F);
  }
  if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
    ++i;
    return kReplacementCharacter;
  }
  i += length;
  return c;
}

}  // namespace

std::string Latin1ToUTF8(std::string_view latin1) {
  std::string out;
  out.reserve(latin1.size());
  for (char b : latin1) AppendUTF8(out, static_cast<std::uint8_t>(b));
  return out;
}

std::string UTF16ToUTF8(const char16_t* units, std::size_t count) {
  std::string out;
  out.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    const char16_t u = units[i];
    if (IsHighSurrogate(u) && i + 1 < count && IsLowSurrogate(units[i + 1])) {
      AppendUTF8(out, 0x10000 + ((char32_t(u) - 0xD800) << 10) + (char32_t(units[i + 1]) - 0xDC00));
      ++i;
    } else if (IsHighSurrogate(u) || IsLowSurrogate(u)) {
      AppendUTF8(out, kReplacementCharacter);
    } else {
      AppendUTF8(out, u);
    }
  }
  return out;
}

std::string UTF8ToLatin1(std::string_view utf8, char loss) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    const char32_t c = DecodeUTF8(utf8, i);
    out += c <= 0xFF ? static_cast<char>(c) : loss;
  }
  return out;
}

}  // namespace Platform
