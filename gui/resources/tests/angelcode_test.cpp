#include "gui/resources/angelcode.h"

#include <gtest/gtest.h>

#include <string>

#include "gui/resources/tests/outcome.h"

namespace {

using QorAngelCode::Font;
using ResourcesTest::Outcome;

Font Read(const std::string& text) { return QorAngelCode::ReadFont(text.data(), text.data() + text.size()); }

TEST(AngelCodeLine, TagsKeysAndValues) {
  // The tag, each key=value in order of keys, and where the next line starts.
  const std::pair<std::string, const char*> cases[] = {
      {"info face=\"Big Font\" size=-12 face=x", "info|face=Big Font|size=-12|36"},
      {"char id=1  x=3\r\n\r\n\nnext", "char|id=1|x=3|19"},
      {"tag a b=1 c", "tag|a b=1|11"},                  // keys hold spaces; a pair without "=" ends it
      {"tag a=\tb= c=\"x\"y=2 d=\"z ", "tag|a=\tb=|c=x|d=z |y=2|24"},
      {" common lineHeight=1", "|common lineHeight=1|20"},  // an indented line has an empty tag
      {"page\tid=0\n\r", "page\tid=0|11"},                   // only the space separates
      {"\n\rtag", "|2"},
  };
  for (const auto& [text, expected] : cases) {
    std::string tag;
    QorAngelCode::Attributes attributes = {{"old", "value"}};
    const char* next = QorAngelCode::ParseLine(text.data(), text.data() + text.size(), tag, attributes);
    for (const auto& [key, value] : attributes) tag += "|" + key + "=" + value;
    EXPECT_EQ(tag + "|" + std::to_string(next - text.data()), expected);
  }
}

TEST(AngelCodeFont, Rejections) {
  const std::string common = "common lineHeight=14 base=11\n";
  const std::string glyph = "char id=1 x=0 y=0 width=1 height=1 xoffset=0 yoffset=0 xadvance=1 page=0\n";
  const std::pair<std::string, const char*> cases[] = {
      {"", "Missing common tag"}, {"info face=A", "Missing common tag"},
      {"info face=A\n" + glyph + " common lineHeight=14 base=11\nCommon lineHeight=1 base=1", "Missing common tag"},
      {"common lineHeight=14", "Missing 'base' value"},
      {common + "char id=1 x=0 y=0 width=1 height=1 xoffset=0 yoffset=0 page=0", "Missing 'xadvance' value"},
      {common + glyph + "char id=1", "Duplicate character id found"},
      {common + "kerning amount=2", "Missing 'second' value"},
      {common + "kerning second=2 amount=1", "Missing 'first' value"},
      {common + "kerning first=1 second=2 amount=3\nkerning first=1 second=2 amount=-3",
       "Duplicate kerning pair (with different amount) found"},
      {common + "page file=a.png", "Missing 'id' value"}, {common + "page id=0\npage id=0", "Duplicate page id found"},
      {common + "page id=-1", "Invalid page id found"}, {common + "page id=4096", "Invalid page id found"},
  };
  for (const auto& [text, message] : cases) {
    EXPECT_EQ(Outcome([](const std::string& t) { return (Read(t), std::string("ok")); }, text),
              std::string("AngelCode: ") + message + " in AngelCode Font File")
        << text;
  }
}

TEST(AngelCodeFont, FieldsNumbersAndLineEnds) {
  const Font font = Read(
      "\r\n\r\ninfo face=\"Big Font\" size=-12 bold=1 italic=0 charset=\"\" unicode=2 stretchH=\t+100x smooth=1 aa=-1 "
      "padding=1,2,3,4 spacing=5,6\r\n\r\n"
      "common lineHeight=14 base=11 base=20 scaleW=2147483648 scaleH=-123456789012345678901234567890 packed=0x1\n"
      "page id=0 file=\"font_0.png\"\npage id=4095 file=last.png\n\n"
      "char id=65 x=1 y=2 width=3 height=4 xoffset=-5 yoffset=6 xadvance=7 page=0 chnl=4\n"
      "char id=-66 x=+1 y=2px width= height=x xoffset=0 yoffset=0 xadvance=0 page=4095 channel=4\n"
      " char id=65\n"
      "kerning first=65 second=66 amount=-1\nkerning first=65 second=66 amount=-1\n"
      "kerning first=66 second=65 amount=2");
  EXPECT_EQ(font.face + "|" + font.charset, "Big Font|");
  EXPECT_EQ((std::vector<std::int32_t>{font.size, font.bold, font.italic, font.unicode, font.stretchH, font.smooth,
                                       font.aa, font.lineHeight, font.base, font.scaleW, font.scaleH, font.packed}),
            (std::vector<std::int32_t>{-12, 1, 0, 1, 100, 1, -1, 14, 11, INT32_MAX, INT32_MIN, 0}));
  EXPECT_EQ(font.padding, (std::array<std::int32_t, 4>{1, 2, 3, 4}));
  EXPECT_EQ(font.spacing, (std::array<std::int32_t, 2>{5, 6}));
  EXPECT_EQ(font.pages, (std::map<std::int32_t, std::string>{{0, "font_0.png"}, {4095, "last.png"}}));
  std::vector<std::int32_t> glyphs;
  for (const auto& [id, c] : font.chars) {
    glyphs.insert(glyphs.end(), {id, c.x, c.y, c.width, c.height, c.xoffset, c.yoffset, c.xadvance, c.page, c.channel});
  }
  EXPECT_EQ(glyphs, (std::vector<std::int32_t>{-66, 1, 2, 0, 0, 0, 0, 0, 4095, 4, 65, 1, 2, 3, 4, -5, 6, 7, 0, 0}));
  EXPECT_EQ(font.kernings,
            (std::map<std::pair<std::int32_t, std::int32_t>, std::int32_t>{{{65, 66}, -1}, {{66, 65}, 2}}));

  // A later info line assigns every field; the scans replace the fields they reach.
  const Font again = Read("info size=3 padding=9,8,7,6 spacing=5,4\ninfo padding=-1,+2,x,3 spacing=2147483648 aa=1, 2\n"
                          "common lineHeight=- base=0x10");
  EXPECT_EQ((std::vector<std::int32_t>{again.size, again.aa, again.lineHeight, again.base}),
            (std::vector<std::int32_t>{0, 1, 0, 0}));
  EXPECT_EQ(again.padding, (std::array<std::int32_t, 4>{-1, 2, 7, 6}));
  EXPECT_EQ(again.spacing, (std::array<std::int32_t, 2>{INT32_MAX, 4}));
}

}  // namespace
