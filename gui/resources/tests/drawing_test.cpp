#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "base/exceptions.h"
#include "gui/resources/canvas.h"
#include "gui/resources/shapes.h"
#include "gui/resources/stroke.h"
#include "gui/resources/tests/outcome.h"
#include "gui/tests/pixels.h"
#include "raster/limits.h"
#include "raster/polygon_mask.h"
#include "raster/solid.h"

namespace {

using QorRaster::IntRect;

constexpr std::uint32_t kInk = 0xff204060;

struct CanvasCase {
  const char* name;
  bool translate;   // moves the drawing origin so that GetOffset is (-5, -5)
  Wex::cRect clip;  // none when empty
  IntRect expectedBounds;
  IntRect drawn;           // the rectangle filled through the canvas, in drawing coordinates
  Wex::cRect expectedInk;  // where the ink lands in the bitmap
};

TEST(ContextCanvas, PresentsTheClippedBitmapInDrawingCoordinates) {
  const CanvasCase cases[] = {
      {"clipped", false, {10, 20, 110, 70}, {10, 20, 100, 50}, {0, 0, 200, 100}, {10, 20, 110, 70}},
      {"translated", true, {}, {-5, -5, 200, 100}, {0, 0, 1, 1}, {5, 5, 6, 6}},
      {"translated and clipped", true, {-20, 90, 300, 300}, {-5, 90, 200, 5}, {-10, 80, 20, 30}, {0, 95, 15, 100}},
  };
  for (const CanvasCase& c : cases) {
    SCOPED_TRACE(c.name);
    ref<Wex::rcOffscreenContext32> bitmap(new Wex::rcOffscreenContext32(200, 100, false));
    Wex::cTranslationScope translation(*bitmap);
    if (c.translate) translation.Set({-5, -5});
    std::optional<Wex::cClipScope> clip;
    if (c.clip.Width() > 0) clip.emplace(*bitmap, c.clip);
    {
      Velto::cContextCanvas canvas(*bitmap);
      EXPECT_EQ(canvas.GetBounds(), c.expectedBounds);
      QorRaster::SolidRectPaint ink(kInk, c.drawn);
      canvas.Draw(ink);
    }
    const Wex::cRect& ink = c.expectedInk;
    EXPECT_EQ(GuiTest::CountOther(*bitmap, ink, kInk), 0);
    EXPECT_EQ(GuiTest::CountOther(*bitmap, {0, 0, 200, 100}, 0), ink.Width() * ink.Height());
  }
  // Without a 32-bit bitmap there is nothing to draw into.
  ref<Wex::rcOffscreenContext16> bitmap16(new Wex::rcOffscreenContext16(8, 8));
  Velto::cContextCanvas canvas(*bitmap16);
  EXPECT_TRUE(canvas.GetBounds().IsEmpty());
  QorRaster::SolidPaint ink(kInk);
  canvas.Draw(ink);
}

// The outline's subpaths, "empty" for an empty path, or "limit" when stroking was refused.
std::string Contours(const Velto::cStroke& stroke, QorRaster::Path path) {
  try {
    stroke.StrokePath(path);
  } catch (const QorRaster::LimitException&) {
    return "limit";
  }
  if (path.IsEmpty()) return path.GetOpenSubpathIndex() == -1 ? "empty" : "open";
  int contours = 0;
  for (const auto& vertex : path.GetVertices()) contours += vertex.kind == QorRaster::Path::kMove;
  // Filling the outline must be safe whatever its coordinates.
  QorRaster::MaskImage coverage(IntRect(0, 0, 40, 40));
  try {
    QorRaster::PolygonMask fill(path, coverage.GetBounds(), &QorRaster::kNonZeroRule);
    coverage.Render(fill);
  } catch (const QorRaster::LimitException&) {
    return std::to_string(contours) + " unfilled";
  }
  return std::to_string(contours) + (*coverage.At(10, 5) != 0 ? " covering" : " clear");
}

TEST(Stroke, OutlinesDashesAndRefusesNothingItCannotDraw) {
  constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
  constexpr double kInf = std::numeric_limits<double>::infinity();
  struct Case {
    const char* name;
    Velto::cStroke stroke;
    const char* expected;
    bool corner = false;  // the 20-pixel line turns down at its end
  };
  const auto with = [](auto change) {
    Velto::cStroke s;
    s.fColor = 0xff000000;
    s.fWidth = 2;
    change(s);
    return s;
  };
  const Case cases[] = {
      {"solid", with([](auto&) {}), "1 covering"},
      {"width 0", with([](auto& s) { s.fWidth = 0; }), "empty"},
      {"width NaN", with([](auto& s) { s.fWidth = kNaN; }), "empty"},
      {"dash 4 gap 4", with([](auto& s) { s.fDash = s.fGap = 4; }), "3 covering"},
      {"dash 4 gap 4 offset 6", with([](auto& s) { s.fDash = s.fGap = 4, s.fDashOffset = 6; }), "3 clear"},
      {"dash NaN", with([](auto& s) { s.fDash = kNaN; }), "1 covering"},
      {"round, curve, quality NaN", with([](auto& s) { s.fCaps = 1, s.fJoints = 1, s.fQuality = kNaN; }), "1 covering",
       true},
      {"round, curve, quality inf", with([](auto& s) { s.fCaps = 1, s.fJoints = 1, s.fQuality = kInf; }), "1 covering",
       true},
      {"miter limit NaN", with([](auto& s) { s.fJoints = 2, s.fMiterLimit = kNaN; }), "1 covering", true},
      {"miter limit inf", with([](auto& s) { s.fJoints = 2, s.fMiterLimit = kInf; }), "1 covering", true},
      {"width inf", with([](auto& s) { s.fCaps = 1, s.fJoints = 2, s.fWidth = kInf; }), "1 clear", true},
      {"width 1e300", with([](auto& s) { s.fCaps = 1, s.fJoints = 1, s.fWidth = 1e300; }), "1 covering", true},
      {"unknown caps", with([](auto& s) { s.fCaps = -7; }), "1 covering"},
  };
  QorRaster::Path line;
  line.MoveTo(2, 5.5).LineTo(22, 5.5);
  QorRaster::Path corner = line;
  corner.LineTo(22, 30);
  for (const Case& c : cases) EXPECT_EQ(Contours(c.stroke, c.corner ? corner : line), c.expected) << c.name;

  const auto visible = [](std::uint32_t color, double width) {
    Velto::cStroke s;
    s.fColor = color;
    s.fWidth = width;
    return s.IsVisible();
  };
  EXPECT_FALSE(visible(0, 3));
  EXPECT_FALSE(visible(0xff000000, 0));
  EXPECT_FALSE(visible(0xff000000, kNaN));
  EXPECT_TRUE(visible(0x01000000, 0.1));
}

TEST(Geometry, HitTestsConvertEdgesAndReadCornerRadii) {
  QorRaster::Path square;
  square.AddRect(0, 0, 10, 10);
  EXPECT_TRUE(Velto::HitTestPath(square, 0, 0));
  EXPECT_TRUE(Velto::HitTestPath(square, 9, 9));
  EXPECT_FALSE(Velto::HitTestPath(square, 10, 5));
  EXPECT_FALSE(Velto::HitTestPath(square, -1, 5));
  QorRaster::Path ring;
  ring.AddRect(0, 0, 30, 30).AddRect(10, 20, 10, -10);  // the inner square winds the other way
  EXPECT_TRUE(Velto::HitTestPath(ring, 5, 15));
  EXPECT_FALSE(Velto::HitTestPath(ring, 15, 15));
  QorRaster::Path broken;
  broken.MoveTo(0, 0).LineTo(std::nan(""), 5).LineTo(5, 5);
  EXPECT_FALSE(Velto::HitTestPath(broken, 1, 1));

  EXPECT_EQ(Velto::EdgesToRect({10, 20, 110, 70}), IntRect(10, 20, 100, 50));
  EXPECT_EQ(Velto::EdgesToRect({-0x7fffffff, 0, 0x7fffffff, 1}).width, -2);  // wraps
  const QorRaster::Rect wide = Velto::EdgesToRealRect({-0x7fffffff, 0, 0x7fffffff, 1});
  EXPECT_EQ(wide.width, 4294967294.0);

  const QorRaster::Rect r(3, 4, 40, 20);
  const auto radii = [&](const char* text) {
    return ResourcesTest::Outcome([&] {
      bool relative = false;
      const QorRaster::Point p = Velto::ReadCornerRadii(text, r, relative);
      return std::to_string(p.x) + " " + std::to_string(p.y) + (relative ? " relative" : "");
    });
  };
  EXPECT_EQ(radii("25"), "5.000000 2.500000 relative");
  EXPECT_EQ(radii("150"), "20.000000 10.000000 relative");
  EXPECT_EQ(radii("-5"), "0.000000 0.000000 relative");
  EXPECT_EQ(radii(""), "0.000000 0.000000 relative");
  EXPECT_EQ(radii("0/0"), "0.000000 0.000000 relative");
  EXPECT_EQ(radii("{ 3, 4 }"), "3.000000 4.000000");
  EXPECT_EQ(radii("{ $ + 1 }"), "1.000000 0.000000");
  EXPECT_EQ(radii("q"), "Exception: Undefined symbol: \"q\"");
}

}  // namespace
