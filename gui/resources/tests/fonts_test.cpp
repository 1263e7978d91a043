#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "gui/resources/bitmap_font.h"
#include "gui/resources/film_font.h"
#include "gui/resources/raster_resources.h"
#include "gui/resources/resource_registry.h"
#include "gui/resources/system_font.h"
#include "gui/resources/testing/temporary_bundle.h"
#include "gui/resources/tests/outcome.h"
#include "gui/tests/pixels.h"

namespace {

using GuiTest::Colors;
using Velto::iFont;
using Wex::cPoint;
using Wex::cRect;
using Bitmap = ref<Wex::rcOffscreenContext32>;

ref<Wex::rcVector<UniChar>> Text(std::string_view latin1) {
  ref<Wex::rcVector<UniChar>> text(new Wex::rcVector<UniChar>());
  for (const char c : latin1) text->Append(static_cast<unsigned char>(c));
  return text;
}

std::string Edges(const cRect& r) {
  return std::to_string(r.fLeft) + "," + std::to_string(r.fTop) + "," + std::to_string(r.fRight) + "," +
         std::to_string(r.fBottom);
}

Bitmap Blank() { return Bitmap(new Wex::rcOffscreenContext32(64, 32, false)); }

// The height and the ascent, as "height/ascent".
std::string Metrics(iFont& font) {
  std::int32_t height = 0, ascent = 0;
  font.GetMetrics(*Blank(), height, ascent);
  return std::to_string(height) + "/" + std::to_string(ascent);
}

std::vector<std::uint32_t> Pixels(Wex::rcOffscreenContext32& bitmap) {
  std::vector<std::uint32_t> pixels;
  for (int i = 0; i < 64 * 32; ++i) pixels.push_back(GuiTest::Pixel(bitmap, i % 64, i / 64));
  return pixels;
}

// The pixels of glyphs placed with their source rectangle's top-left at (x, y), later ones on top.
struct Placed {
  int x, y;
  cRect source;
};
template <class Source>
std::vector<std::uint32_t> Expected(const std::vector<Placed>& glyphs, const Source& source) {
  std::vector<std::uint32_t> pixels(64 * 32);
  for (const Placed& g : glyphs) {
    for (int i = 0; i < g.source.Width() * g.source.Height(); ++i) {
      const int x = i % g.source.Width(), y = i / g.source.Width();
      pixels[(g.y + y) * 64 + g.x + x] = source(g.source.fLeft + x, g.source.fTop + y);
    }
  }
  return pixels;
}

TEST(BitmapFont, LaysOutKernsReplacesAndDrawsGlyphsFromThePages) {
  // V, W, X and Y lie on a page below 0, an empty entry, a colour image and a page beyond the vector.
  const std::string_view text =
      "info spacing=1,0\ncommon lineHeight=14 base=11\n"
      "char id=65 x=0 y=0 width=4 height=6 xoffset=1 yoffset=2 xadvance=7 page=0\n"
      "char id=66 x=4 y=0 width=3 height=5 xoffset=0 yoffset=3 xadvance=5 page=0\n"
      "char id=63 x=8 y=0 width=2 height=7 xoffset=0 yoffset=1 xadvance=4 page=0\n"
      "char id=74 x=0 y=8 width=2 height=2 xoffset=-3 yoffset=0 xadvance=2 page=0\n"
      "char id=32 x=0 y=0 width=0 height=0 xoffset=0 yoffset=0 xadvance=5 page=0\n"
      "char id=86 x=0 y=0 width=4 height=6 xoffset=0 yoffset=0 xadvance=7 page=-1\n"
      "char id=87 x=0 y=0 width=4 height=6 xoffset=0 yoffset=0 xadvance=7 page=1\n"
      "char id=88 x=0 y=0 width=4 height=6 xoffset=0 yoffset=0 xadvance=7 page=3\n"
      "char id=89 x=0 y=0 width=4 height=6 xoffset=0 yoffset=0 xadvance=7 page=9\n"
      "kerning first=65 second=66 amount=-2\nkerning first=65 second=63 amount=-3\n";
  ref<Velto::rcAngelCodeFont> data(new Velto::rcAngelCodeFont(text.data(), text.data() + text.size()));
  ref<Velto::rcMaskResource> page(new Velto::rcMaskResource(16, 16));
  for (int i = 0; i < 256; ++i) *page->GetMaskImage().At(i % 16, i / 16) = i % 16 < 8 ? 255 : 0x80;
  data->SetPage(0, page);
  data->SetPage(2, page);
  data->SetPage(3, ref<Velto::rcRasterResource>(new Velto::rcImageResource(16, 16, true)));
  constexpr std::uint32_t kColor = 0xc0306090;
  const auto ink = [&](int x, int) { return QorRaster::ScalePixel(kColor, x < 8 ? 255 : 0x80); };
  const cRect kA{0, 0, 4, 6}, kB{4, 0, 7, 5}, kQ{8, 0, 10, 7};
  const struct {
    const char* text;
    std::int32_t replacement;
    bool includeAdvance;
    int left, right, end;  // at (10, 20): from 9 to 24
    std::vector<Placed> drawn;
  } cases[] = {
      {"", 0, false, 10, 10, 10, {}},
      {"A", 0, true, 10, 18, 18, {{11, 11, kA}}},
      {"AxB", 0, false, 10, 19, 22, {{11, 11, kA}, {16, 12, kB}}},  // kerned across the missing x
      {"AxB", '?', false, 10, 23, 26, {{11, 11, kA}, {15, 10, kQ}, {20, 12, kB}}},
      {"JA", 0, false, 7, 18, 21, {{7, 9, {0, 8, 2, 10}}, {14, 11, kA}}},
      {"A ", 0, false, 10, 18, 24, {{11, 11, kA}}},
      {"A ", 0, true, 10, 24, 24, {{11, 11, kA}}},
      {"VWXYA", 0, false, 10, 47, 50, {{43, 11, kA}}},
  };
  for (const auto& c : cases) {
    const iref<iFont> font(new Velto::rcBitmapFont(data, c.replacement, kColor));
    const Bitmap bitmap = Blank();
    EXPECT_EQ(Edges(font->Measure(*bitmap, {10, 20}, *Text(c.text), c.includeAdvance)), Edges({c.left, 9, c.right, 24}))
        << c.text << " " << c.includeAdvance;
    EXPECT_EQ(font->Draw(*bitmap, {10, 20}, *Text(c.text)), (cPoint{c.end, 20})) << c.text;
    EXPECT_TRUE(Pixels(*bitmap) == Expected(c.drawn, ink)) << c.text << " " << c.replacement;
  }
  const iref<iFont> font(new Velto::rcBitmapFont(data, 0, kColor));
  EXPECT_EQ(Metrics(*font) + " " + std::to_string(font->GetChangeCount()), "15/11 0");
  // Single characters each at their own point, from the low 16 bits, never kerned.
  const cPoint points[] = {{10, 20}, {30, 20}};
  const std::uint32_t characters[] = {0x10041, 'B'};
  cPoint ends[2];
  for (cPoint* stored : {ends, static_cast<cPoint*>(nullptr)}) {
    const Bitmap bitmap = Blank();
    font->DrawCharacters(*bitmap, 2, points, characters, stored);
    font->DrawCharacters(*bitmap, -1, nullptr, nullptr, nullptr);
    EXPECT_TRUE(Pixels(*bitmap) == Expected({{11, 11, kA}, {30, 12, kB}}, ink));
  }
  EXPECT_TRUE(ends[0] == (cPoint{18, 20}) && ends[1] == (cPoint{36, 20}));
}

TEST(FilmFont, MeasuresAndDrawsFramesOneAdvanceApart) {
  const auto film = [](int frames) {  // frames 10 wide and 3 high
    ref<Velto::rcImageResource> strip(new Velto::rcImageResource(10, 3 * frames, false));
    for (int i = 0; i < 30 * frames; ++i) *strip->GetRasterImage().At(i % 10, i / 10) = Colors(i % 10, i / 10);
    return iref<Velto::iFilm>(new Velto::rcFilm(strip, frames));
  };
  const auto range = [&](int frames, std::int8_t first, std::int8_t replacement) {
    return iref<iFont>(new Velto::rcFilmFont(film(frames), 2, 8, first, replacement));
  };
  const iref<iFont> ab = range(2, 'A', 0), ascii = range(96, 32, 0);
  const auto frame = [](int x, int i) { return Placed{x, 8, {0, 3 * i, 10, 3 * i + 3}}; };
  const struct {
    iref<iFont> font;
    const char* text;
    cRect measured;  // at (5, 10); ascent 2
    std::vector<Placed> drawn;
  } cases[] = {
      {ab, "AB", {5, 8, 23, 11}, {frame(5, 0), frame(13, 1)}},
      {ab, "AxB", {5, 8, 31, 11}, {frame(5, 0), frame(21, 1)}},
      {range(2, 'A', 'B'), "xA", {5, 8, 23, 11}, {frame(5, 1), frame(13, 0)}},
      {ascii, "~", {5, 8, 15, 11}, {frame(5, 94)}},
      {ascii, "\xc8", {5, 8, 5, 8}, {}},
      {range(56, std::int8_t(200), 0), "\xc8", {5, 8, 15, 11}, {frame(5, 0)}},
      {iref<iFont>(new Velto::rcFilmFont(film(2), 2, 8, Wex::MakeRCString("ab"), 'z')), "az", {5, 8, 23, 11},
       {frame(5, 0), frame(13, 0)}},
  };
  for (const auto& c : cases) {
    const Bitmap bitmap = Blank();
    EXPECT_EQ(Edges(c.font->Measure(*bitmap, {5, 10}, *Text(c.text), true)), Edges(c.measured)) << c.text;
    const int end = 5 + 8 * int(std::string_view(c.text).size());
    EXPECT_EQ(c.font->Draw(*bitmap, {5, 10}, *Text(c.text)), (cPoint{end, 8})) << c.text;
    EXPECT_TRUE(Pixels(*bitmap) == Expected(c.drawn, Colors)) << c.text;
  }
  EXPECT_EQ(Metrics(*ab) + " " + std::to_string(ab->GetChangeCount()), "3/2 1");
  // Positions beyond 32 bits stop at the largest one.
  const iref<iFont> wide(new Velto::rcFilmFont(film(1), 2, 0x7fffffff, 'A', 'A'));
  EXPECT_EQ(wide->Measure(*Blank(), {5, 10}, *Text("AAA"), false), (cRect{5, 8, 0x7fffffff, 11}));
  EXPECT_EQ(wide->Draw(*Blank(), {5, 10}, *Text("AAA")), (cPoint{0x7fffffff, 8}));
}

TEST(SystemFont, MeasuresThroughThePlatformAndCountsItsChanges) {
  const ref<Wex::rcFont> face(new Wex::rcFont("", 14));
  const ref<Velto::rcSystemFont> font(new Velto::rcSystemFont(face, {200, 0, 0}));
  const Bitmap bitmap = Blank();
  EXPECT_EQ(font->Measure(*bitmap, {5, 20}, *Text("Hi"), false), bitmap->GetTextBounds({5, 20}, *face, "Hi"));
  EXPECT_FALSE(font->SetTextParameters({200, 0, 0}));
  EXPECT_EQ(font->GetChangeCount(), 0);
  EXPECT_TRUE(font->SetTextParameters({0, 0, 200}));
  EXPECT_FALSE(font->SetPlatformFont(face));
  EXPECT_EQ(font->GetChangeCount(), 1);
  EXPECT_TRUE(font->SetPlatformFont(ref<Wex::rcFont>(new Wex::rcFont("No Such Face Anywhere", 14))));
  EXPECT_EQ(font->GetChangeCount(), 2);
  EXPECT_EQ(ResourcesTest::Outcome([&] { return Metrics(*font); }), "Wex: Cannot find font");
  // Without a platform font: no metrics, an empty rectangle, nothing drawn.
  const ref<Velto::rcSystemFont> none(new Velto::rcSystemFont());
  EXPECT_EQ(Metrics(*none), "0/0");
  EXPECT_EQ(none->Measure(*bitmap, {5, 20}, *Text("Hi"), true), (cRect{5, 20, 5, 20}));
  EXPECT_EQ(none->Draw(*bitmap, {5, 20}, *Text("Hi")), (cPoint{5, 20}));
  EXPECT_TRUE(Pixels(*bitmap) == Pixels(*Blank()));
}

class FontResources : public testing::Test {
 protected:
  FontResources() {
    fBundle.WriteResource("strip", "png", GuiTest::ColorsPNG(12, 31));
    fBundle.WriteResource("rgba", "png", GuiTest::ColorsPNG(2, 2));
    fBundle.WriteResource("p", "png", ResourcesTest::kGreyPicture);
    fBundle.WriteResource("a.b", "png", ResourcesTest::kGreyPicture);
    fBundle.WriteResource("font", "fnt", kFont);
    fBundle.WriteResource("alpha", "fnt", "common lineHeight=1 base=1\npage id=0 file=rgba.png");
  }

  static constexpr std::string_view kFont =
      "common lineHeight=14 base=11\npage id=1 file=\"a.b.png\"\npage id=0 file=\"p.png\"\n"
      "char id=65 x=2 y=0 width=1 height=1 xoffset=0 yoffset=0 xadvance=3 page=1\n"
      "char id=191 x=0 y=0 width=3 height=1 xoffset=0 yoffset=0 xadvance=9 page=0\n";

  // What GetFont makes of the value: the kind, and but for a platform font its metrics and the
  // probe measured at (0, 0).
  std::string Describe(const char* value, const char* probe = "") {
    return ResourcesTest::Outcome([&] {
      const iref<iFont> font = fRegistry.GetFont(value);
      if (dynamic_cast<Velto::rcSystemFont*>(font.Get())) return std::string("system");
      return std::string(dynamic_cast<Velto::rcFilmFont*>(font.Get()) ? "film " : "bitmap ") + Metrics(*font) + " " +
             Edges(font->Measure(*Blank(), {0, 0}, *Text(probe), false));
    });
  }

  ResourcesTest::TemporaryBundle fBundle;
  Velto::rcResourceRegistry fRegistry{false, L"T V1.0"};
};

TEST_F(FontResources, ChoosesAndBuildsEachKindOrFails) {
  const char* const kNotFound = "FormatException: Replacement char not found in charset";
  const struct {
    const char *value, *probe, *outcome;
  } cases[] = {
      {"{ film: strip, chars: 2, first: 288 }", " !\"", "film 15/15 0,-15,24,0"},
      {"{ film: strip, chars: 2, first: 200, unknown: \"\xc9\" }", "\xc8\xca", "film 15/15 0,-15,24,0"},
      {"{ film: strip, fnt: font, charset: abc }", "cab?", "film 10/10 0,-10,36,0"},  // 31 rows: frames of 10
      {"{ film: strip, charset: abc, unknown: b }", "?", "film 10/10 0,-10,12,0"},
      {"{ film: strip, chars: 2, unknown: \"\" }", " ", "film 15/15 0,-15,12,0"},
      {"{ film: strip, ascent: $+1, advance: 5, chars: 2 }", "  ", "film 15/16 0,-16,17,-1"},
      {"{ film: strip, chars: 0 }", "", "FormatException: Invalid film font frame count: 0"},
      {"{ film: strip, charset: \"\" }", "", "FormatException: Invalid film font frame count: 0"},
      {"{ film: strip, chars: 2, first: 65, unknown: C }", "", kNotFound},
      {"{ film: strip, chars: 2, first: 65, unknown: 0 }", "", kNotFound},
      {"{ film: strip, charset: abc, unknown: z }", "", kNotFound},
      {"{ film: absent }", "", "Wex: Cannot get URL for resource: absent (type: png)"},
      {"{ fnt: font }", "A", "bitmap 15/11 0,-11,1,4"},
      {"{ fnt: font, unknown: \"\xbf\" }", "x", "bitmap 15/11 0,-11,3,4"},
      {"{ fnt: font, color: bad }", "", "FormatException: Invalid color: \"bad\""},
      {"{ fnt: alpha }", "", "PNG: Error reading PNG image : unsupported pixel model"},
      {"{ fnt: font, gamma: 1/0 }", "", "PNG: Error reading PNG image : invalid gamma"},
      {"{}", "", "system"},
  };
  for (const auto& c : cases) EXPECT_EQ(Describe(c.value, c.probe), c.outcome) << c.value;
}

TEST_F(FontResources, GlyphPagesBrightenWithTheFontsGammaWithoutALimit) {
  // The coverage of glyph 191's middle pixel, grey level 128 on its page, as the gamma grows.
  std::vector<std::uint32_t> coverage;
  for (const char* gamma : {"1", "4", "9", "30"}) {
    const Bitmap bitmap = Blank();
    fRegistry.GetFont(std::string("{ fnt: font, gamma: ") + gamma + " }")->Draw(*bitmap, {0, 11}, *Text("\xbf"));
    coverage.push_back(GuiTest::Pixel(*bitmap, 1, 0) >> 24);
  }
  EXPECT_EQ(std::adjacent_find(coverage.begin(), coverage.end(), std::greater_equal<>()), coverage.end())
      << ::testing::PrintToString(coverage);
}

TEST_F(FontResources, CachesFontsByTextAndParsedFontsByNameAndGamma) {
  const iref<iFont> font = fRegistry.GetFont("{ fnt: font }");
  EXPECT_EQ(fRegistry.GetFont("{ fnt: font }"), font);
  EXPECT_NE(fRegistry.GetFont("{fnt: font}"), font);
  const Bitmap bitmap = Blank();  // glyph A is the pixel of full coverage on the page "a.b"
  fRegistry.GetFont("{ fnt: font, color: red }")->Draw(*bitmap, {0, 11}, *Text("A"));
  EXPECT_TRUE(Pixels(*bitmap) == Expected({{0, 0, {0, 0, 1, 1}}}, [](int, int) { return 0xffff0000u; }));

  fBundle.WriteResource("font", "fnt", "info face=changed");
  const std::string kBroken = "AngelCode: Missing common tag in AngelCode Font File";
  EXPECT_EQ(Describe("{ fnt: font, color: blue }", "A"), "bitmap 15/11 0,-11,1,4");
  EXPECT_EQ(Describe("{ fnt: font, gamma: -1 }", "A"), "bitmap 15/11 0,-11,1,4");
  EXPECT_EQ(Describe("{ fnt: font, gamma: 2 }"), kBroken);
  EXPECT_EQ(Describe("{ fnt: later }"), "Wex: Cannot get URL for resource: later (type: fnt)");
  fBundle.WriteResource("later", "fnt", kFont);
  EXPECT_EQ(Describe("{ fnt: later }", "A"), "bitmap 15/11 0,-11,1,4");
  fRegistry.Clear();
  EXPECT_EQ(Describe("{ fnt: font }"), kBroken);
  EXPECT_EQ(font->Draw(*bitmap, {0, 11}, *Text("AA")), (cPoint{6, 11}));  // still usable

  // Platform fonts: the defaults of a font description, in black unless coloured.
  for (const auto& [value, size, color] : {std::tuple("{}", 11, Wex::cRGBColor{0, 0, 0}),
                                          std::tuple("{ size: 14, color: red }", 14, Wex::cRGBColor{255, 0, 0})}) {
    const Bitmap drawn = Blank(), expected = Blank();
    EXPECT_EQ(fRegistry.GetFont(value)->Draw(*drawn, {2, 20}, *Text("Ag")),
              expected->DrawText({2, 20}, color, Wex::rcFont("", size), "Ag"));
    EXPECT_TRUE(Pixels(*drawn) == Pixels(*expected) && Pixels(*drawn) != Pixels(*Blank())) << value;
  }
}

}  // namespace
