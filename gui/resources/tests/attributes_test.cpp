#include "gui/resources/attributes.h"

#include <glib-object.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "gui/resources/tests/outcome.h"
#include "platform/cursor.h"

namespace {

using ResourcesTest::Outcome;

std::string Hex(std::uint32_t color) {
  char text[16];
  std::snprintf(text, sizeof text, "%08x", color);
  return text;
}

TEST(ReadColor, NumbersListsNamesAndRejections) {
  const std::tuple<const char*, std::uint32_t, const char*> cases[] = {
      {"", 0xff204060, "ff204060"}, {"0x80402010", 0, "80402010"}, {"0", 1, "00000000"},
      {"{ 255, 128, 0 }", 0, "ffff8000"}, {"{ 300, -5, 0 }", 0, "ffff0000"}, {"{ 255, 255, 255, 0.5 }", 0, "807f7f7f"},
      {"{ 255, 255, 255, 0.996 }", 0, "fffefefe"}, {"{ 255, 255, 255, 0.999 }", 0, "ffffffff"},
      {"{ 255, 255, 255, 0/0 }", 0, "00000000"}, {"{ $, $, $, 0.5 }", 0xff204060, "80102030"},
      {"{ $, 0, 0 }", 0xff204060, "ff200000"}, {"\"red\"", 0, "ffff0000"},
      {"0x10ffffff", 0, "FormatException: Invalid pre-multiplied argb: 0x10ffffff"},
      {"255", 0, "FormatException: Invalid pre-multiplied argb: 0x000000ff"},
      {"{ 1, 2 }", 0, "FormatException: Invalid number of color components: \"{ 1, 2 }\""},
      {"Red", 0, "FormatException: Invalid color: \"Red\""}, {"\"255\"", 0, "FormatException: Invalid color: \"255\""},
      {"{ x, 0, 0 }", 0, "Exception: Undefined symbol: \"x\""},
  };
  for (const auto& [text, defaultColor, expected] : cases) {
    const auto read = [](const char* t, std::uint32_t d) { return Hex(Velto::ReadColor(t, d)); };
    EXPECT_EQ(Outcome(read, text, defaultColor), expected) << text;
  }
  EXPECT_EQ(Velto::ReadRGBColor("{ 255, 255, 255, 0.5 }", 0), (Wex::cRGBColor{127, 127, 127}));
}

TEST(ReadColor, EveryNameIsFoundAndNoNearMiss) {
  const std::pair<std::string, std::uint32_t> names[] = {
      {"transparent", 0x00000000}, {"aqua", 0xff00ffff}, {"black", 0xff000000}, {"blue", 0xff0000ff},
      {"fuchsia", 0xffff00ff}, {"gray", 0xff808080}, {"green", 0xff008000}, {"lime", 0xff00ff00},
      {"maroon", 0xff800000}, {"navy", 0xff000080}, {"olive", 0xff808000}, {"purple", 0xff800080},
      {"red", 0xffff0000}, {"silver", 0xffc0c0c0}, {"teal", 0xff008080}, {"white", 0xffffffff},
      {"yellow", 0xffffff00}};
  for (const auto& [name, color] : names) {
    EXPECT_EQ(Velto::ReadColor(name, 1), color) << name;
    // The same length and first character (so the same slot), one longer, one shorter.
    for (const std::string& miss : {name.substr(0, name.size() - 1) + '#', name + name[0], name.substr(1)}) {
      EXPECT_THROW(Velto::ReadColor(miss, 1), FormatException) << miss;
    }
  }
}

// The nine fields in their order, or the failure.
std::string Show(const Velto::cStroke& s) {
  char text[160];
  std::snprintf(text, sizeof text, "%08x %g %d %d %g %g %g %g %g", s.fColor, s.fWidth, s.fCaps, s.fJoints,
                s.fMiterLimit, s.fQuality, s.fDash, s.fGap, s.fDashOffset);
  return text;
}

TEST(ReadStroke, ColoursDescriptionsAndRejectionsInTheirOrder) {
  const std::tuple<const char*, std::uint32_t, const char*> cases[] = {
      {"", 0, "00000000 0 0 0 2 1 0 0 0"}, {"", 0xff000000, "ff000000 1 0 0 2 1 0 0 0"},
      {"red", 0, "ffff0000 1 0 0 2 1 0 0 0"}, {"{ color: red, stroke: 2, dash: 4 }", 0, "ffff0000 2 0 0 2 1 4 4 0"},
      {"{ dash: none }", 0xff000000, "ff000000 1 0 0 2 1 0 0 0"}, {"{ miterLimit: 4 }", 0, "00000000 1 0 0 2 1 0 0 0"},
      {"{ joints: miter, miterLimit: 4 }", 0, "00000000 1 0 2 4 1 0 0 0"},
      {"{ caps: square, joints: \"curve\", miterLimit: 4, stroke: $ + 1, quality: $ / 4 }", 0,
       "00000000 2 2 1 2 0.25 0 0 0"},
      {"{ color: { $, 0, 0, 0.5 }, caps: 'round' }", 0xffff0000, "807f0000 1 1 0 2 1 0 0 0"},
      {"{ dash: 4, gap: 2, dashOffset: 6 }", 0, "FormatException: Invalid dashOffset: 6"},
      {"{ stroke: -1 }", 0, "FormatException: Invalid stroke: -1"},
      {"{ quality: 0 }", 0, "FormatException: Invalid quality: 0"},
      {"{ caps: Round }", 0, "FormatException: Invalid caps: \"Round\""},
      {"{ dash: }", 0, "FormatException: Invalid dash: 0"},
      {"{ dash: 2, gap: -0.5, dashOffset: -1 }", 0, "FormatException: Invalid gap: -0.5"},
      {"{ quality: -1, caps: x, stroke: -2, color: Red }", 0, "FormatException: Invalid color: \"Red\""},
      {"{ quality: -1, joints: x }", 0, "FormatException: Invalid joints: \"x\""},
  };
  for (const auto& [text, defaultColor, expected] : cases) {
    const auto read = [](const char* t, std::uint32_t d) { return Show(Velto::ReadStroke(t, d)); };
    EXPECT_EQ(Outcome(read, text, defaultColor), expected) << text;
  }
  // A description starts from the default stroke; a missing gap is the dash just read.
  Velto::cStroke base;
  base.fWidth = 3, base.fCaps = 1, base.fJoints = 2, base.fMiterLimit = 5;
  base.fDash = 6, base.fGap = 2, base.fDashOffset = 1;
  const std::pair<const char*, const char*> specs[] = {
      {"{ dash: $ / 2 }", "00000000 3 1 2 5 1 3 3 1"},
      {"{ joints: miter, miterLimit: $ + 1, dash: none }", "00000000 3 1 2 6 1 0 0 0"},
  };
  for (const auto& [text, expected] : specs) {
    EXPECT_EQ(Show(Velto::ReadStrokeSpec(Wex::ParseKeyValueMap(text), base)), expected) << text;
  }
}

TEST(ReadNames, AlignmentEllipsisSideAndCursor) {
  const auto read = [](char reader, const char* text) {
    if (reader == 'a') return std::to_string(Velto::ReadTextAlignment(text, 7));
    if (reader == 'e') return std::to_string(Velto::ReadEllipsisSide(text, 7));
    const ref<Wex::rcCocoaObject> c = Velto::ReadCursor(text);
    return c ? std::to_string(Platform::GetCursorId(c->GetObject())) : "none";
  };
  const std::tuple<char, const char*, const char*> cases[] = {
      {'a', "", "7"}, {'a', "left", "0"}, {'a', "center", "1"}, {'a', "\"right\"", "2"},
      {'a', "Center", "FormatException: Invalid text alignment: \"Center\""},
      {'e', "", "7"}, {'e', "none", "0"}, {'e', "left", "1"}, {'e', "right", "2"}, {'e', "'both'", "3"},
      {'e', "middle", "4"},
      {'e', "midd1e", "FormatException: Invalid ellipsis side: \"midd1e\""},
      {'e', "center", "FormatException: Invalid ellipsis side: \"center\""},
      {'c', "", "none"}, {'c', "arrow", "0"}, {'c', "iBeam", "1"}, {'c', "cross", "2"}, {'c', "closedHand", "3"},
      {'c', "openHand", "4"}, {'c', "hand", "5"}, {'c', "sizeW", "6"}, {'c', "sizeE", "7"}, {'c', "sizeWE", "8"},
      {'c', "sizeN", "9"}, {'c', "sizeS", "10"}, {'c', "sizeNS", "11"},
      {'c', "\"hand\"", "FormatException: Unrecognized cursor: \"\\\"hand\\\"\""},
      {'c', "band", "FormatException: Unrecognized cursor: \"band\""},
      {'c', "xizeNS", "FormatException: Unrecognized cursor: \"xizeNS\""},
  };
  for (const auto& [reader, text, expected] : cases) EXPECT_EQ(Outcome(read, reader, text), expected) << text;
  // Each read gives a new holder with a reference of its own on the shared cursor.
  GObject* hand = Wex::GetNSCursor(5);
  const guint before = hand->ref_count;
  {
    const ref<Wex::rcCocoaObject> a = Velto::ReadCursor("hand"), b = Velto::ReadCursor("hand");
    EXPECT_TRUE(a.Get() != b.Get() && a->GetObject() == hand && hand->ref_count == before + 2);
  }
  EXPECT_EQ(hand->ref_count, before);
}

TEST(ReadFont, ValuesOfADescription) {
  const std::pair<const char*, const char*> cases[] = {
      {"{}", "'' 11 000"}, {"{ size: 0x10 }", "'' 16 000"}, {"{ size: 010, bold: TRUE }", "'' 8 100"},
      {"{ size: \"12\", bold: 1 }", "'' 11 000"}, {"{ bold: yes, italic: False, underline: tRuE }", "'' 11 001"},
      {"{ face: \"Big Font\", size: -9, italic: \"true\" }", "'Big Font' -9 010"},
  };
  for (const auto& [text, expected] : cases) {
    const Velto::cFontSpec s = Velto::ReadFontValues(Wex::ParseKeyValueMap(text));
    EXPECT_EQ("'" + s.fFace + "' " + std::to_string(s.fSize) + " " + char('0' + s.fBold) + char('0' + s.fItalic) +
                  char('0' + s.fUnderline),
              expected);
  }
  for (const auto& [description, expected] :
       {std::pair<Velto::Description, const char*>{{}, "Lucida Grande 11"},
        {{{"face", "'DejaVu Sans'"}, {"size", "0x20"}}, "DejaVu Sans 32"}}) {
    const ref<Wex::rcFont> font = Velto::ReadFontSpec(description);
    EXPECT_EQ(std::string(font->GetName()->GetText()) + " " + std::to_string(font->GetSize()), expected);
  }
}

}  // namespace
