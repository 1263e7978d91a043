#include "velto/views/gradient_view.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "velto/views/tests/view_fixture.h"

namespace VeltoTest {
namespace {

using GradientViewTest = ViewTest;

TEST_F(GradientViewTest, StopsComeFirstAndStartChoosesTheKindItsGeometryAndPalette) {
  const struct {
    const char* keys;
    const char* error;
    const char* kind;  // "linear" or "radial"
    std::array<double, 4> geometry;
    std::vector<std::pair<int, std::uint32_t>> entries;  // palette index, colour
  } cases[] = {
      {"frame: { color: nothing }", "No stops defined for gradient", "", {}, {}},
      {"stops: {}, frame: { color: nothing }", "No stops defined for gradient", "", {}, {}},
      {"stops: { { 0, red } }, frame: { color: nothing }", "Invalid color: \"nothing\"", "", {}, {}},
      {"stops: { { 1 / x, red } }", "Undefined symbol: \"x\"", "", {}, {}},
      // A single stop fills the palette; a stop of one item is transparent; items after the second
      // are ignored.
      {"stops: { { 0.5, red } }, start: { 1, 2 }, end: { 3, 4 }, center: { 9, 9 }, size: 5", "", "linear",
       {1, 2, 3, 4}, {{0, 0xFFFF0000}, {128, 0xFFFF0000}, {255, 0xFFFF0000}}},
      {"stops: { { 0.5 } }, start: { 1, 2 }", "", "linear", {1, 2, 0, 0}, {{0, 0}, {255, 0}}},
      {"stops: { {}, { 1, blue, 7, 8 } }, center: { 5, 6 }, size: 20, width: 30, height: 10, end: { 1, 1 }", "",
       "radial", {5, 6, 20, 20}, {{0, 0}, {255, 0xFF0000FF}}},
      {"stops: { { 0, red } }, center: { 5, 6 }, width: 30, height: 10", "", "radial", {5, 6, 30, 10}, {}},
      {"stops: { { 0, red } }", "", "radial", {0, 0, 0, 0}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.keys);
    ref<Wex::rcGUIElement> view;
    EXPECT_EQ(ErrorOf([&] { view = Make(std::string("type: gradient, bounds: { 0, 0, 100, 40 }, ") + c.keys); }),
              c.error);
    if (*c.error != 0) continue;
    const auto& gradient = dynamic_cast<Velto::rcGradientView&>(*view);
    const bool linear = dynamic_cast<Velto::rcLinearGradientView*>(view.Get()) != nullptr;
    EXPECT_EQ(linear ? "linear" : "radial", std::string(c.kind));
    EXPECT_EQ(gradient.GetGeometry(), c.geometry);
    for (const auto& [index, color] : c.entries) EXPECT_EQ(gradient.GetPalette().fEntries[index], color) << index;
  }
  EXPECT_EQ(fRoot->GetChildCount(), 5);  // nothing was added for the refused ones
}

TEST_F(GradientViewTest, PaintsThePaletteOverTheMaskWithinTheShape) {
  const struct {
    const char* keys;
    std::vector<Sample> samples;  // over grey; 0 for "not red" (inside an ellipse)
  } cases[] = {
      // One stop fills the whole shape, within the update rectangle.
      {"stops: { { 0.3, blue } }, start: { 0, 0 }, end: { 100, 0 }",
       {{0, 0, 0x0000FF}, {99, 39, 0x0000FF}, {100, 20, 0x808080}, {50, 40, 0x808080}}},
      // Ellipses about (50, 20): red (coverage 0) on and beyond the edge only.
      {"stops: { { 0, red }, { 1, blue } }, center: { 50, 20 }, width: 30, height: 10",
       {{50, 20, 0}, {78, 20, 0}, {21, 20, 0}, {50, 28, 0}, {50, 11, 0}, {81, 20, 0xFF0000}, {18, 20, 0xFF0000},
        {50, 31, 0xFF0000}, {50, 8, 0xFF0000}}},
      {"stops: { { 0, red }, { 1, blue } }, center: { 50, 20 }, size: 10, width: 30",
       {{58, 20, 0}, {50, 28, 0}, {61, 20, 0xFF0000}, {50, 31, 0xFF0000}, {39, 20, 0xFF0000}}},
      // The frame goes over the gradient; rounding and multiply leave the corners as they were.
      {"stops: { { 0, white } }, frame: { color: blue, stroke: 2 }, start: { 0, 0 }",
       {{0, 20, 0x0000FF}, {1, 20, 0x0000FF}, {2, 20, 0xFFFFFF}, {97, 20, 0xFFFFFF}, {98, 20, 0x0000FF}}},
      {"stops: { { 0, { 128, 128, 128 } } }, blend: multiply, rounded: 100, start: { 0, 0 }",
       {{50, 20, 0x404040}, {0, 0, 0x808080}, {99, 39, 0x808080}, {100, 20, 0x808080}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.keys);
    Remake<Wex::rcGUIElement>(std::string("type: gradient, bounds: { 0, 0, 100, 40 }, ") + c.keys);
    const ref<Wex::rcOffscreenContext32> bitmap = Draw({0, 0, 200, 100}, 0xFF808080);
    for (const Sample& s : c.samples) {
      if (s.rgb == 0) {
        EXPECT_NE(Rgb(*bitmap, s.x, s.y), 0xFF0000u) << s.x << "," << s.y;
      } else {
        EXPECT_EQ(Rgb(*bitmap, s.x, s.y), s.rgb) << s.x << "," << s.y;
      }
    }
  }
}

TEST_F(GradientViewTest, PixelsAreThePaletteEntriesOfTheirCoverageWhateverTheStops) {
  // A linear ramp over the width: the coverage rises from the start to the end. Stops out of
  // range and out of order draw cleanly, outside an ellipse entry 0, inside entries of it.
  const ref<Wex::rcGUIElement> ramp =
      Make("type: gradient, bounds: { 0, 0, 200, 10 }, stops: { { 0, black }, { 1, { 0, 0, 255 } } }, "
           "start: { 0, 0 }, end: { 200, 0 }");
  const auto CoverageAt = [](const QorRaster::Palette& palette, Wex::rcOffscreenContext32& bitmap, int x, int y) {
    const auto entry = std::find(palette.fEntries.begin(), palette.fEntries.end(), GuiTest::Pixel(bitmap, x, y));
    return entry == palette.fEntries.end() ? -1 : static_cast<int>(entry - palette.fEntries.begin());
  };
  const QorRaster::Palette& palette = dynamic_cast<Velto::rcGradientView&>(*ramp).GetPalette();
  ref<Wex::rcOffscreenContext32> bitmap = Draw({0, 0, 200, 10}, 0xFF808080);
  for (int x = 0, last = -1; x < 200; x += 10) {
    const int coverage = CoverageAt(palette, *bitmap, x, 5);
    EXPECT_NEAR(coverage, x * 255.0 / 200, 2) << x;
    EXPECT_GT(coverage, last) << x;
    last = coverage;
  }
  for (const char* stops : {"{ { 1.5, red }, { -1, blue }, { 0.5, lime } }", "{ { 1e300, red }, { -1e300, blue } }",
                            "{ { 0/0, red }, { 1/0, blue } }", "{ { 0.5, red }, { 0.5, blue } }"}) {
    SCOPED_TRACE(stops);
    fRoot->RemoveAllChildren();
    const ref<Wex::rcGUIElement> view =
        Make(std::string("type: gradient, bounds: { 0, 0, 100, 40 }, center: { 50, 20 }, size: 15, stops: ") + stops);
    const QorRaster::Palette& p = dynamic_cast<Velto::rcGradientView&>(*view).GetPalette();
    bitmap = Draw({0, 0, 100, 40}, 0xFF000000, false);
    EXPECT_EQ(GuiTest::Pixel(*bitmap, 0, 0), p.fEntries[0]);
    for (const int x : {40, 45, 50, 55, 60}) EXPECT_GE(CoverageAt(p, *bitmap, x, 20), 0) << x;
  }
}

}  // namespace
}  // namespace VeltoTest
