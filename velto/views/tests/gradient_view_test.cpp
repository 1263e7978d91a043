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

TEST_F(GradientViewTest, StopsComeFirstAndStartChoosesTheKindAndItsGeometry) {
  const struct {
    const char* keys;
    const char* error;
    const char* kind;  // "linear" or "radial"
    std::array<double, 4> geometry;
  } cases[] = {
      {"frame: { color: nothing }", "No stops defined for gradient", "", {}},
      {"stops: {}, frame: { color: nothing }", "No stops defined for gradient", "", {}},
      {"stops: { { 0, red } }, frame: { color: nothing }", "Invalid color: \"nothing\"", "", {}},
      {"stops: { { 1 / x, red } }", "Undefined symbol: \"x\"", "", {}},
      {"stops: { { 0, red } }, start: { 1, 2 }, end: { 3, 4 }, center: { 9, 9 }, size: 5", "", "linear", {1, 2, 3, 4}},
      {"stops: { { 0, red } }, start: { 1, 2 }", "", "linear", {1, 2, 0, 0}},
      {"stops: { { 0, red } }, center: { 5, 6 }, size: 20, width: 30, height: 10, end: { 1, 1 }", "", "radial",
       {5, 6, 20, 20}},
      {"stops: { { 0, red } }, center: { 5, 6 }, width: 30, height: 10", "", "radial", {5, 6, 30, 10}},
      {"stops: { { 0, red } }", "", "radial", {0, 0, 0, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.keys);
    ref<Wex::rcGUIElement> view;
    EXPECT_EQ(ErrorOf([&] { view = Make(std::string("type: gradient, bounds: { 0, 0, 100, 40 }, ") + c.keys); }),
              c.error);
    if (*c.error != 0) continue;
    const bool linear = dynamic_cast<Velto::rcLinearGradientView*>(view.Get()) != nullptr;
    const bool radial = dynamic_cast<Velto::rcRadialGradientView*>(view.Get()) != nullptr;
    EXPECT_EQ(linear ? "linear" : radial ? "radial" : "", std::string(c.kind));
    EXPECT_EQ(dynamic_cast<Velto::rcGradientView&>(*view).GetGeometry(), c.geometry);
  }
  // Nothing was added for the refused ones.
  EXPECT_EQ(fRoot->GetChildCount(), 5);
}

TEST_F(GradientViewTest, ThePaletteComesFromTheStopsInTheirOrder) {
  const struct {
    const char* stops;
    std::vector<std::pair<int, std::uint32_t>> entries;  // index, colour
  } cases[] = {
      {"{ { 0.5, red } }", {{0, 0xFFFF0000}, {128, 0xFFFF0000}, {255, 0xFFFF0000}}},
      {"{ { 0.5 } }", {{0, 0}, {255, 0}}},
      {"{ {}, { 1, blue, 7, 8 } }", {{0, 0}, {255, 0xFF0000FF}}},
      {"{ { 0, black }, { 1, white } }", {{0, 0xFF000000}, {255, 0xFFFFFFFF}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stops);
    const ref<Wex::rcGUIElement> view = Make(std::string("type: gradient, stops: ") + c.stops);
    const QorRaster::Palette& palette = dynamic_cast<Velto::rcGradientView&>(*view).GetPalette();
    for (const auto& [index, color] : c.entries) EXPECT_EQ(palette.fEntries[index], color) << index;
  }
}

TEST_F(GradientViewTest, PaintsThePaletteOverTheMaskWithinTheShape) {
  struct Sample {
    int x, y;
    std::uint32_t rgb;
  };
  const struct {
    const char* keys;
    std::vector<Sample> samples;  // over grey
  } cases[] = {
      // One stop fills the whole shape; the update rectangle limits it.
      {"stops: { { 0.3, blue } }, start: { 0, 0 }, end: { 100, 0 }",
       {{0, 0, 0x0000FF}, {99, 39, 0x0000FF}, {100, 20, 0x808080}, {50, 40, 0x808080}}},
      // The frame goes over the gradient, the rounding and multiply leave the corners as they were.
      {"stops: { { 0, white } }, frame: { color: blue, stroke: 2 }, start: { 0, 0 }",
       {{0, 20, 0x0000FF}, {1, 20, 0x0000FF}, {2, 20, 0xFFFFFF}, {97, 20, 0xFFFFFF}, {98, 20, 0x0000FF}}},
      {"stops: { { 0, { 128, 128, 128 } } }, blend: multiply, rounded: 100, start: { 0, 0 }",
       {{50, 20, 0x404040}, {0, 0, 0x808080}, {99, 39, 0x808080}, {100, 20, 0x808080}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.keys);
    fRoot->RemoveAllChildren();
    Make(std::string("type: gradient, bounds: { 0, 0, 100, 40 }, ") + c.keys);
    const ref<Wex::rcOffscreenContext32> bitmap = Draw({0, 0, 200, 100}, 0xFF808080);
    for (const Sample& s : c.samples) EXPECT_EQ(Rgb(*bitmap, s.x, s.y), s.rgb) << s.x << "," << s.y;
  }
  // Radial ellipses about (50, 20): red (coverage 0) on and beyond the edge only.
  const struct {
    const char* keys;
    std::vector<Wex::cPoint> inside, outside;
  } ellipses[] = {
      {"width: 30, height: 10", {{50, 20}, {78, 20}, {21, 20}, {50, 28}, {50, 11}}, {{81, 20}, {18, 20}, {50, 31}, {50, 8}}},
      {"size: 10, width: 30", {{50, 20}, {58, 20}, {50, 28}}, {{61, 20}, {50, 31}, {39, 20}}},
  };
  for (const auto& c : ellipses) {
    SCOPED_TRACE(c.keys);
    fRoot->RemoveAllChildren();
    Make(std::string("type: gradient, bounds: { 0, 0, 100, 40 }, stops: { { 0, red }, { 1, blue } }, "
                     "center: { 50, 20 }, ") + c.keys);
    const ref<Wex::rcOffscreenContext32> bitmap = Draw({0, 0, 100, 40}, 0xFF808080);
    for (const Wex::cPoint& p : c.inside) EXPECT_NE(Rgb(*bitmap, p.fX, p.fY), 0xFF0000u) << p.fX << "," << p.fY;
    for (const Wex::cPoint& p : c.outside) EXPECT_EQ(Rgb(*bitmap, p.fX, p.fY), 0xFF0000u) << p.fX << "," << p.fY;
    EXPECT_GE(Rgb(*bitmap, 50, 20) & 0xFF, 0xF0u);  // blue at the centre
  }
  // A linear ramp over the view's width: each pixel is the palette entry of its coverage, which
  // rises from the start to the end.
  fRoot->RemoveAllChildren();
  const ref<Wex::rcGUIElement> ramp =
      Make("type: gradient, bounds: { 0, 0, 200, 10 }, stops: { { 0, black }, { 1, { 0, 0, 255 } } }, "
           "start: { 0, 0 }, end: { 200, 0 }");
  const QorRaster::Palette& palette = dynamic_cast<Velto::rcGradientView&>(*ramp).GetPalette();
  const ref<Wex::rcOffscreenContext32> bitmap = Draw({0, 0, 200, 10}, 0xFF808080);
  std::ptrdiff_t last = 0;
  for (int x = 0; x < 200; x += 10) {
    const auto entry = std::find(palette.fEntries.begin(), palette.fEntries.end(), GuiTest::Pixel(*bitmap, x, 5));
    ASSERT_NE(entry, palette.fEntries.end()) << x;
    const std::ptrdiff_t coverage = entry - palette.fEntries.begin();
    EXPECT_NEAR(coverage, x * 255.0 / 200, 2) << x;
    EXPECT_GT(coverage, x == 0 ? -1 : last) << x;
    last = coverage;
  }
}

TEST_F(GradientViewTest, StopsOutOfRangeAndOutOfOrderDrawCleanly) {
  for (const char* stops : {"{ { 1.5, red }, { -1, blue }, { 0.5, lime } }", "{ { 1e300, red }, { -1e300, blue } }",
                            "{ { 0/0, red }, { 1/0, blue } }", "{ { 0.5, red }, { 0.5, blue } }"}) {
    SCOPED_TRACE(stops);
    fRoot->RemoveAllChildren();
    const ref<Wex::rcGUIElement> view =
        Make(std::string("type: gradient, bounds: { 0, 0, 100, 40 }, center: { 50, 20 }, size: 15, stops: ") + stops);
    const QorRaster::Palette& palette = dynamic_cast<Velto::rcGradientView&>(*view).GetPalette();
    const ref<Wex::rcOffscreenContext32> bitmap = Draw({0, 0, 100, 40}, 0xFF000000, false);
    // Outside the ellipse coverage 0; inside, entries of the palette.
    EXPECT_EQ(GuiTest::Pixel(*bitmap, 0, 0), palette.fEntries[0]);
    for (const int x : {40, 45, 50, 55, 60}) {
      EXPECT_NE(std::find(palette.fEntries.begin(), palette.fEntries.end(), GuiTest::Pixel(*bitmap, x, 20)),
                palette.fEntries.end())
          << x;
    }
  }
}

}  // namespace
}  // namespace VeltoTest
