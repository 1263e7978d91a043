#pragma once

// Reader of bitmap-font descriptions in the AngelCode text format: "info", "common", "page",
// "char" and "kerning" lines of space-separated key=value pairs. It only parses: it opens no files
// and loads no page images. Standard library only.

#include <array>
#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <utility>

namespace QorAngelCode {

// Every failure of the reader.
class Exception : public std::runtime_error {
 public:
  explicit Exception(const std::string& message) : std::runtime_error(message) {}
};

// One glyph: its rectangle on its page image, where the rectangle is placed relative to the pen
// position and the line top, how far the pen moves, its page and its colour channel.
struct Char {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t xoffset = 0;
  std::int32_t yoffset = 0;
  std::int32_t xadvance = 0;
  std::int32_t page = 0;
  std::int32_t channel = 0;
};

struct Font {
  // From "info".
  std::string face;
  std::int32_t size = 0;
  bool bold = false;
  bool italic = false;
  std::string charset;
  bool unicode = false;
  std::int32_t stretchH = 0;
  bool smooth = false;
  std::int32_t aa = 0;
  std::array<std::int32_t, 4> padding{};
  std::array<std::int32_t, 2> spacing{};  // horizontal, vertical
  // From "common".
  std::int32_t lineHeight = 0;
  std::int32_t base = 0;
  std::int32_t scaleW = 0;
  std::int32_t scaleH = 0;
  bool packed = false;
  // Page id to file name; page ids lie from 0 to kMaxPageId.
  std::map<std::int32_t, std::string> pages;
  std::map<std::int32_t, Char> chars;
  // (first, second) character ids to the amount.
  std::map<std::pair<std::int32_t, std::int32_t>, std::int32_t> kernings;
};

inline constexpr std::int32_t kMaxPageId = 4095;

// The attributes of one line, key to value.
using Attributes = std::map<std::string, std::string>;

// The font of the text from begin to end. Numbers are read like atoi, saturated to 32 bits (no
// digits give 0); flags are numbers other than 0. Throws Exception for a missing "common" line, a
// missing required value, a duplicate page, character or kerning pair (a repeated pair with the
// same amount is accepted), and a page id outside 0 to kMaxPageId.
Font ReadFont(const char* begin, const char* end);

// Reads the line that starts at begin into its tag (up to the first space) and attributes, and
// answers where the next line starts, after every following carriage return and line feed. Only
// the space separates; a key runs to the next "=" and may hold spaces; a value in double quotes
// runs to the next double quote and loses both; of two equal keys the first is kept.
const char* ParseLine(const char* begin, const char* end, std::string& tag, Attributes& attributes);

// The value of a key; a missing one throws "Missing '<key>' value in AngelCode Font File".
const std::string& GetRequiredValue(const Attributes& attributes, const std::string& key);
// The value of a key, or empty text.
std::string GetOptionalValue(const Attributes& attributes, const std::string& key);

// The glyph fields of a "char" line: x, y, width, height, xoffset, yoffset, xadvance and page
// required, channel optional.
Char ReadChar(const Attributes& attributes);

}  // namespace QorAngelCode
