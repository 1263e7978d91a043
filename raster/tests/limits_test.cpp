#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

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

TEST(ScanWorkLimitTest, MasksBeyondTheWorkLimitThrow) {
  // Edges that each cross all rows of a clip one span wide (the last one closing the zigzag):
  // their rows add up to the work.
  const std::int32_t rows = 64;
  const std::size_t atLimit = static_cast<std::size_t>(kMaxScanWork / rows);
  Path within = Zigzag(atLimit, 15);
  within.Close();
  Path beyond = Zigzag(atLimit + 2, 15);
  beyond.Close();
  for (Path* p : {&within, &beyond}) {
    p->Transform(Transform().Scale(1, rows / 8.0));
  }
  const IntRect clip(0, 0, 16, rows);
  EXPECT_NO_THROW(PolygonMask(within, clip, &kNonZeroRule));
  EXPECT_THROW(PolygonMask(beyond, clip, &kNonZeroRule), LimitException);
  // Only rows inside the clip count: the same edges over a clip of one row are cheap.
  EXPECT_NO_THROW(PolygonMask(beyond, IntRect(0, 0, 16, 1), &kNonZeroRule));
  // Every span of 512 columns visits the edges again.
  within.Transform(Transform().Scale(40, 1));
  EXPECT_NO_THROW(PolygonMask(within, IntRect(0, 0, 512, rows), &kNonZeroRule));
  EXPECT_THROW(PolygonMask(within, IntRect(0, 0, 1024, rows), &kNonZeroRule), LimitException);
}

}  // namespace
}  // namespace QorRaster
