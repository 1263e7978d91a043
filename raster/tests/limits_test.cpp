#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "raster/image.h"
#include "raster/limits.h"
#include "raster/path.h"
#include "raster/polygon_mask.h"
#include "raster/stroke.h"

namespace QorRaster {
namespace {

// A path of count vertices: a move, then lines zigzagging down and up between rows 0 and 8.
Path Zigzag(std::size_t count, double width = 16) {
  Path p;
  p.MoveTo(0, 0);
  for (std::size_t i = 1; i < count; ++i) {
    p.LineTo(width * static_cast<double>(i) / static_cast<double>(count), (i & 1) != 0 ? 8 : 0);
  }
  return p;
}

TEST(PathLimitTest, AppendsStopAtTheLimitAndLeaveThePathAsItWas) {
  Path full = Zigzag(kMaxPathVertices);
  ASSERT_EQ(full.GetVertices().size(), kMaxPathVertices);
  const Path before = full;
  EXPECT_THROW(full.LineTo(1, 1), LimitException);
  EXPECT_THROW(full.MoveTo(1, 1), LimitException);
  EXPECT_THROW(full.Close(), LimitException);
  EXPECT_EQ(full.GetVertices(), before.GetVertices());
  EXPECT_EQ(full.GetOpenSubpathIndex(), before.GetOpenSubpathIndex());

  // Appending a path that does not fit appends nothing.
  Path head = Zigzag(10);
  EXPECT_THROW(head.Append(full), LimitException);
  EXPECT_EQ(head.GetVertices(), Zigzag(10).GetVertices());
  Path room = Zigzag(kMaxPathVertices - 10);
  EXPECT_NO_THROW(room.Append(Zigzag(10)));
  EXPECT_EQ(room.GetVertices().size(), kMaxPathVertices);
}

TEST(PathLimitTest, ShapesAndCurvesBeyondTheLimitThrowWithoutReservingMore) {
  // The largest star that fits: a move, count - 1 lines and the close.
  Path star;
  star.AddStar(static_cast<std::int32_t>(kMaxPathVertices - 1), 0, 0, 5, 5, 0);
  EXPECT_EQ(star.GetVertices().size(), kMaxPathVertices);
  for (const std::int32_t count : {static_cast<std::int32_t>(kMaxPathVertices), INT32_MAX}) {
    Path huge;
    EXPECT_THROW(huge.AddStar(count, 0, 0, 5, 5, 0), LimitException) << count;
    EXPECT_LE(huge.GetVertices().capacity(), kMaxPathVertices) << count;
  }
  // Each curve may flatten into 65536 lines; a few such curves fill a path.
  Path curves;
  curves.MoveTo(0, 0);
  EXPECT_THROW(
      for (int i = 0; i < 5; ++i) curves.CubicTo(1e9, 1e9, -1e9, 1e9, 0, 0, 1), LimitException);
  EXPECT_LE(curves.GetVertices().capacity(), kMaxPathVertices);
}

TEST(PathLimitTest, RebuildingOperationsBeyondTheLimitLeaveThePathUnchanged) {
  // Dashes: a long line cut into 10^12 dashes fails after the first quarter million.
  Path line;
  line.MoveTo(0, 0).LineTo(1e12, 0);
  EXPECT_THROW(line.Dash(0.5, 0.5, 0), LimitException);
  EXPECT_EQ(line.GetVertices(), (std::vector<Path::Vertex>{{Path::kMove, 0, 0}, {Path::kLine, 1e12, 0}}));
  // Within the limit the same line is dashed as usual.
  Path shorter;
  shorter.MoveTo(0, 0).LineTo(100000, 0).Dash(0.5, 0.5, 0);
  EXPECT_EQ(shorter.GetVertices().size(), 200001u);

  // A stroke outline: each joint of a zigzag adds a point on either side.
  Path zigzag = Zigzag(kMaxPathVertices / 2);
  const Path before = zigzag;
  EXPECT_THROW(zigzag.Stroke(CapStyle::kButt, JointStyle::kBevel, 1, 2, 1), LimitException);
  EXPECT_EQ(zigzag.GetVertices(), before.GetVertices());
  EXPECT_NO_THROW(Zigzag(kMaxPathVertices / 8).Stroke(CapStyle::kButt, JointStyle::kBevel, 1, 2, 1));

  // Closing every subpath of a path of lone lines doubles its size.
  Path segments;
  for (std::size_t i = 0; i < kMaxPathVertices / 2; ++i) {
    segments.AddLine(0, static_cast<double>(i), 1, static_cast<double>(i));
  }
  const Path open = segments;
  EXPECT_THROW(segments.CloseAll(), LimitException);
  EXPECT_EQ(segments.GetVertices(), open.GetVertices());
}

// count bars half a pixel wide, one on the other at x, from row 0 to row height: two vertical
// edges each.
Path Bars(std::int64_t count, double x, double height) {
  Path p;
  for (std::int64_t i = 0; i < count; ++i) {
    p.AddRect(x, 0, 0.5, height);
  }
  return p;
}

// count slivers inside row 0, each with two edges that run from x = -1 to x = width + 1 and
// two short vertical ones at either end.
Path Slivers(std::int64_t count, double width) {
  Path p;
  for (std::int64_t i = 0; i < count; ++i) {
    p.MoveTo(-1, 0.1).LineTo(width + 1, 0.8).LineTo(width + 1, 0.9).LineTo(-1, 0.2).Close();
  }
  return p;
}

TEST(ScanWorkLimitTest, WorkCountsEdgeVisitsPerChunkAndCrossedColumns) {
  // 2048 bars over 16384 rows make 2^26 visits when their bounds meet one chunk of a row.
  constexpr std::int32_t kRows = 1 << 14;
  const std::int64_t bars = kMaxScanWork / (2 * kRows);
  // In a clip of one row 16384 wide, a sliver's two long edges cross 16384 columns, 1024 steps
  // each, and the row's 33 chunks visit them and the short edge at x = -1 (the one at the right
  // lies beyond the clip): 2147 steps a sliver.
  const std::int64_t slivers = kMaxScanWork / 2147;
  const struct {
    const char* what;
    Path path;
    IntRect clip;
    bool fits;
  } cases[] = {
      {"bars at the limit", Bars(bars, 0.25, kRows), IntRect(0, 0, 1, kRows), true},
      {"one bar more", Bars(bars + 1, 0.25, kRows), IntRect(0, 0, 1, kRows), false},
      {"only rows inside the clip count", Bars(2 * bars, 0.25, kRows), IntRect(0, 0, 1, kRows / 2), true},
      {"bounds 2 wide may meet two chunks", Bars(bars, 511.75, kRows), IntRect(0, 0, 1024, kRows), false},
      {"two chunks of half the rows", Bars(bars, 511.75, kRows / 2), IntRect(0, 0, 1024, kRows), true},
      {"slivers at the limit", Slivers(slivers, 16384), IntRect(0, 0, 16384, 1), true},
      {"one sliver more", Slivers(slivers + 1, 16384), IntRect(0, 0, 16384, 1), false},
  };
  for (const auto& c : cases) {
    if (c.fits) {
      EXPECT_NO_THROW(PolygonMask(c.path, c.clip, &kNonZeroRule)) << c.what;
    } else {
      EXPECT_THROW(PolygonMask(c.path, c.clip, &kNonZeroRule), LimitException) << c.what;
    }
  }
}

// Thin bars that fill a whole clip, as in a grid or a hatching: well within the limit.
TEST(ScanWorkLimitTest, DenseDrawingsRender) {
  Path bars;
  constexpr int kBars = 1100;
  for (int i = 0; i < kBars; ++i) {
    bars.AddRect(i * 1000.0 / kBars, -10, 0.5, 1020);
  }
  const IntRect clip(0, 0, 1000, 1000);
  PolygonMask mask(bars, clip, &kNonZeroRule);
  MaskImage image(clip);
  image.Render(mask);
  for (const std::int32_t y : {0, 500, 999}) {
    std::int64_t total = 0;
    for (std::int32_t x = 0; x < clip.width; ++x) {
      total += *image.At(x, y);
    }
    // Every bar covers half a pixel of each row: 1100 * 128, give or take a rounding per pixel.
    EXPECT_NEAR(static_cast<double>(total), kBars * 128.0, 1000.0) << y;
    EXPECT_EQ(std::vector<Coverage>(image.At(0, y), image.At(0, y) + clip.width),
              std::vector<Coverage>(image.At(0, 0), image.At(0, 0) + clip.width))
        << y;
  }
  EXPECT_EQ(*image.At(0, 500), 128 + 23);  // bar 0 covers 0 to 0.5, bar 1 starts at 0.909
}

}  // namespace
}  // namespace QorRaster
