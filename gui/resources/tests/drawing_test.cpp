#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <tuple>

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

TEST(ContextCanvas, PresentsTheClippedBitmapInDrawingCoordinates) {
  struct Case {
    bool translate;  // so that GetOffset is (-5, -5)
    Wex::cRect clip;
    IntRect bounds;
    IntRect drawn;   // in drawing coordinates
    Wex::cRect ink;  // where the drawing lands in the bitmap
  };
  const Case cases[] = {
      {false, {10, 20, 110, 70}, {10, 20, 100, 50}, {0, 0, 200, 100}, {10, 20, 110, 70}},
      {true, {}, {-5, -5, 200, 100}, {0, 0, 1, 1}, {5, 5, 6, 6}},
      {true, {-20, 90, 300, 300}, {-5, 90, 200, 5}, {-10, 80, 20, 30}, {0, 95, 15, 100}},
  };
  for (const Case& c : cases) {
    ref<Wex::rcOffscreenContext32> bitmap(new Wex::rcOffscreenContext32(200, 100, false));
    Wex::cTranslationScope translation(*bitmap);
    if (c.translate) translation.Set({-5, -5});
    std::optional<Wex::cClipScope> clip;
    if (c.clip.Width() > 0) clip.emplace(*bitmap, c.clip);
    {
      Velto::cContextCanvas canvas(*bitmap);
      EXPECT_EQ(canvas.GetBounds(), c.bounds);
      QorRaster::SolidRectPaint ink(0xff204060, c.drawn);
      canvas.Draw(ink);
    }
    EXPECT_EQ(GuiTest::CountOther(*bitmap, c.ink, 0xff204060), 0);
    EXPECT_EQ(GuiTest::CountOther(*bitmap, {0, 0, 200, 100}, 0), c.ink.Width() * c.ink.Height());
  }
  ref<Wex::rcOffscreenContext16> bitmap16(new Wex::rcOffscreenContext16(8, 8));
  Velto::cContextCanvas canvas(*bitmap16);  // no 32-bit pixels: nothing to draw into
  EXPECT_TRUE(canvas.GetBounds().IsEmpty());
  QorRaster::SolidPaint ink(0xff204060);
  canvas.Draw(ink);
}

TEST(Stroke, OutlinesDashesAndStaysSafeWithAnyNumbers) {
  constexpr double kNaN = std::numeric_limits<double>::quiet_NaN(), kInf = std::numeric_limits<double>::infinity();
  const struct {
    double width, dash, quality, miterLimit;
    std::int32_t caps, joints;
    const char* outline;  // subpaths, and whether pixel (10, 5) on the line is covered
  } cases[] = {
      {2, 0, 1, 2, 0, 0, "1 covering"},       {0, 0, 1, 2, 0, 0, "empty"},          {kNaN, 0, 1, 2, 0, 0, "empty"},
      {2, 4, 1, 2, 0, 0, "3 covering"},       {2, kNaN, 1, 2, 0, 0, "1 covering"},  {2, 0, kNaN, 2, 1, 1, "1 covering"},
      {2, 0, kInf, kNaN, 1, 2, "1 covering"}, {2, 0, 1, kInf, -7, 2, "1 covering"}, {kInf, 0, 1, 2, 1, 2, "1 clear"},
  };
  for (const auto& c : cases) {
    Velto::cStroke stroke;
    stroke.fWidth = c.width, stroke.fDash = stroke.fGap = c.dash, stroke.fQuality = c.quality;
    stroke.fMiterLimit = c.miterLimit, stroke.fCaps = c.caps, stroke.fJoints = c.joints;
    QorRaster::Path path;
    path.MoveTo(2, 5.5).LineTo(22, 5.5);  // 20 pixels long, turning down unless dashed
    if (c.dash == 0) path.LineTo(22, 30);
    stroke.StrokePath(path);
    int subpaths = 0;
    for (const auto& vertex : path.GetVertices()) subpaths += vertex.kind == QorRaster::Path::kMove;
    QorRaster::MaskImage coverage(IntRect(0, 0, 40, 40));
    QorRaster::PolygonMask fill(path, coverage.GetBounds(), &QorRaster::kNonZeroRule);
    coverage.Render(fill);
    EXPECT_EQ(path.IsEmpty() && path.GetOpenSubpathIndex() == -1
                  ? "empty"
                  : std::to_string(subpaths) + (*coverage.At(10, 5) != 0 ? " covering" : " clear"),
              c.outline)
        << "width " << c.width << " dash " << c.dash << " quality " << c.quality << " limit " << c.miterLimit;
    EXPECT_FALSE(stroke.IsVisible());  // transparent
    stroke.fColor = 0xff000000;
    EXPECT_EQ(stroke.IsVisible(), c.width > 0);
  }
}

TEST(Geometry, HitTestsConversionsAndCornerRadii) {
  QorRaster::Path square, broken;
  square.AddRect(0, 0, 10, 10);
  broken.MoveTo(0, 0).LineTo(std::nan(""), 5).LineTo(5, 5);
  const std::tuple<const QorRaster::Path*, int, int, bool> hits[] = {
      {&square, 0, 0, true}, {&square, 9, 9, true}, {&square, 10, 5, false}, {&square, -1, 5, false},
      {&broken, 1, 1, false}};
  for (const auto& [path, x, y, hit] : hits) EXPECT_EQ(Velto::HitTestPath(*path, x, y), hit) << x << "," << y;

  EXPECT_EQ(Velto::EdgesToRect({10, 20, 110, 70}), IntRect(10, 20, 100, 50));
  EXPECT_EQ(Velto::EdgesToRect({-0x7fffffff, 0, 0x7fffffff, 1}).width, -2);  // wraps
  EXPECT_EQ(Velto::EdgesToRealRect({-0x7fffffff, 0, 0x7fffffff, 1}).width, 4294967294.0);

  const auto radii = [](const char* text) {
    return ResourcesTest::Outcome([&] {
      bool relative = false;
      const QorRaster::Point p = Velto::ReadCornerRadii(text, {3, 4, 40, 20}, relative);
      return std::to_string(p.x) + " " + std::to_string(p.y) + (relative ? " relative" : "");
    });
  };
  EXPECT_EQ(radii("25"), "5.000000 2.500000 relative");
  EXPECT_EQ(radii("150"), "20.000000 10.000000 relative");
  EXPECT_EQ(radii("-5"), "0.000000 0.000000 relative");
  EXPECT_EQ(radii("{ 3, 4 }"), "3.000000 4.000000");
  EXPECT_EQ(radii("q"), "Exception: Undefined symbol: \"q\"");
}

}  // namespace
