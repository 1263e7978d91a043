#include "gui/resources/angelcode.h"

#include <algorithm>
#include <limits>
#include <string_view>

namespace QorAngelCode {

namespace {

const char* const kMissingCommon = "Missing common tag in AngelCode Font File";

bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

// The blanks that atoi and scanf skip.
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Reads blanks, an optional sign and decimal digits from pos, like the C library's decimal
// conversions, but saturates to the int32 range instead of overflowing. Answers false, with pos
// and value unchanged, when no digit follows.
bool ReadInt(std::string_view text, std::size_t& pos, std::int32_t& value) {
  std::size_t at = pos;
  while (at < text.size() && IsBlank(text[at])) ++at;
  const bool negative = at < text.size() && text[at] == '-';
  if (at < text.size() && (text[at] == '-' || text[at] == '+')) ++at;
  if (at == text.size() || !IsDigit(text[at])) return false;
  // The magnitude stays within int32's negative limit, where it stops growing.
  constexpr std::int64_t kLimit = -std::int64_t{std::numeric_limits<std::int32_t>::min()};
  std::int64_t magnitude = 0;
  for (; at < text.size() && IsDigit(text[at]); ++at) {
    magnitude = std::min(magnitude * 10 + (text[at] - '0'), kLimit);
  }
  pos = at;
  value = static_cast<std::int32_t>(negative ? -magnitude : std::min(magnitude, kLimit - 1));
  return true;
}

// As atoi reads it, saturated.
std::int32_t ToInt(std::string_view text) {
  std::size_t pos = 0;
  std::int32_t value = 0;
  ReadInt(text, pos, value);
  return value;
}

// Comma-separated numbers as "%d,%d,..." scans them: the fields up to the first that cannot be
// read are replaced, the others keep their values.
template <std::size_t kCount>
void ScanInts(std::string_view text, std::array<std::int32_t, kCount>& fields) {
  std::size_t pos = 0;
  for (std::size_t i = 0; i < kCount; ++i) {
    if (i > 0) {
      if (pos == text.size() || text[pos] != ',') return;
      ++pos;
    }
    if (!ReadInt(text, pos, fields[i])) return;
  }
}

std::int32_t OptionalInt(const Attributes& attributes, const std::string& key) {
  return ToInt(GetOptionalValue(attributes, key));
}

bool OptionalFlag(const Attributes& attributes, const std::string& key) { return OptionalInt(attributes, key) != 0; }

std::int32_t RequiredInt(const Attributes& attributes, const std::string& key) {
  return ToInt(GetRequiredValue(attributes, key));
}

void ReadInfo(const Attributes& a, Font& font) {
  font.face = GetOptionalValue(a, "face");
  font.size = OptionalInt(a, "size");
  font.bold = OptionalFlag(a, "bold");
  font.italic = OptionalFlag(a, "italic");
  font.charset = GetOptionalValue(a, "charset");
  font.unicode = OptionalFlag(a, "unicode");
  font.stretchH = OptionalInt(a, "stretchH");
  font.smooth = OptionalFlag(a, "smooth");
  font.aa = OptionalInt(a, "aa");
  ScanInts(GetOptionalValue(a, "padding"), font.padding);
  ScanInts(GetOptionalValue(a, "spacing"), font.spacing);
}

void ReadCommon(const Attributes& a, Font& font) {
  font.lineHeight = RequiredInt(a, "lineHeight");
  font.base = RequiredInt(a, "base");
  font.scaleW = OptionalInt(a, "scaleW");
  font.scaleH = OptionalInt(a, "scaleH");
  font.packed = OptionalFlag(a, "packed");
}

void ReadPage(const Attributes& a, Font& font) {
  const std::int32_t id = RequiredInt(a, "id");
  // Page ids index the font's page images, so they are kept to a small range.
  if (id < 0 || id > kMaxPageId) throw Exception("Invalid page id found in AngelCode Font File");
  if (font.pages.contains(id)) throw Exception("Duplicate page id found in AngelCode Font File");
  font.pages.emplace(id, GetOptionalValue(a, "file"));
}

void ReadCharLine(const Attributes& a, Font& font) {
  const std::int32_t id = RequiredInt(a, "id");
  if (font.chars.contains(id)) throw Exception("Duplicate character id found in AngelCode Font File");
  font.chars.emplace(id, ReadChar(a));
}

void ReadKerning(const Attributes& a, Font& font) {
  const std::int32_t second = RequiredInt(a, "second");
  const std::int32_t first = RequiredInt(a, "first");
  const auto found = font.kernings.find({first, second});
  const std::int32_t amount = RequiredInt(a, "amount");
  if (found == font.kernings.end()) {
    font.kernings.emplace(std::make_pair(first, second), amount);
  } else if (found->second != amount) {
    throw Exception("Duplicate kerning pair (with different amount) found in AngelCode Font File");
  }
}

}  // namespace

const char* ParseLine(const char* begin, const char* end, std::string& tag, Attributes& attributes) {
  const char* lineEnd = std::find_if(begin, end, IsLineEnd);
  const char* pos = std::find(begin, lineEnd, ' ');
  tag.assign(begin, pos);
  attributes.clear();
  for (;;) {
    pos = std::find_if(pos, lineEnd, [](char c) { return c != ' '; });
    const char* equals = std::find(pos, lineEnd, '=');
    if (equals == lineEnd) break;
    std::string key(pos, equals);
    pos = equals + 1;
    const char* valueEnd;
    if (pos != lineEnd && *pos == '"') {
      ++pos;
      valueEnd = std::find(pos, lineEnd, '"');
    } else {
      valueEnd = std::find(pos, lineEnd, ' ');
    }
    attributes.emplace(std::move(key), std::string(pos, valueEnd));
    pos = valueEnd != lineEnd && *valueEnd == '"' ? valueEnd + 1 : valueEnd;
  }
  return std::find_if_not(lineEnd, end, IsLineEnd);
}

const std::string& GetRequiredValue(const Attributes& attributes, const std::string& key) {
  const auto found = attributes.find(key);
  if (found == attributes.end()) throw Exception("Missing '" + key + "' value in AngelCode Font File");
  return found->second;
}

std::string GetOptionalValue(const Attributes& attributes, const std::string& key) {
  const auto found = attributes.find(key);
  return found != attributes.end() ? found->second : std::string();
}

Char ReadChar(const Attributes& a) {
  Char c;
  c.x = RequiredInt(a, "x");
  c.y = RequiredInt(a, "y");
  c.width = RequiredInt(a, "width");
  c.height = RequiredInt(a, "height");
  c.xoffset = RequiredInt(a, "xoffset");
  c.yoffset = RequiredInt(a, "yoffset");
  c.xadvance = RequiredInt(a, "xadvance");
  c.page = RequiredInt(a, "page");
  c.channel = OptionalInt(a, "channel");
  return c;
}

Font ReadFont(const char* begin, const char* end) {
  if (begin == end) throw Exception(kMissingCommon);
  Font font;
  bool hasCommon = false;
  std::string tag;
  Attributes attributes;
  for (const char* line = begin; line != end;) {
    line = ParseLine(line, end, tag, attributes);
    if (tag == "info") {
      ReadInfo(attributes, font);
    } else if (tag == "common") {
      ReadCommon(attributes, font);
      hasCommon = true;
    } else if (tag == "page") {
      ReadPage(attributes, font);
    } else if (tag == "char") {
      ReadCharLine(attributes, font);
    } else if (tag == "kerning") {
      ReadKerning(attributes, font);
    }
  }
  if (!hasCommon) throw Exception(kMissingCommon);
  return font;
}

}  // namespace QorAngelCode
