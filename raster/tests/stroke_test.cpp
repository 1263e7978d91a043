#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "raster/image.h"
#include "raster/path.h"
#include "raster/polygon_mask.h"
#include "raster/stroke.h"
#include "raster/tests/vertex_list.h"

namespace QorRaster {
namespace {

using namespace Testing;

Path Stroked(Path p, CapStyle caps, JointStyle joints, double width, double miterLimit = 4, double quality = 1) {
  p.Stroke(caps, joints, width, miterLimit, quality);
  return p;
}

Path Corner() {
  Path p;
  p.MoveTo(0, 0).LineTo(10, 0).LineTo(10, 10);
  return p;
}

Path ClosedSquare() {
  Path p;
  p.AddRect(0, 0, 10, 10);
  return p;
}

// Coverage of a stroke outline at one pixel, filled with the non-zero rule.
Coverage CoverageAt(const Path& outline, std::int32_t x, std::int32_t y) {
  PolygonMask mask(outline, IntRect(x, y, 1, 1), &kNonZeroRule);
  MaskImage image(IntRect(x, y, 1, 1));
  image.Render(mask);
  return *image.At(x, y);
}

TEST(StrokeTest, CapsOfASingleSegment) {
  Path line;
  line.MoveTo(0, 0).LineTo(10, 0);
  const Path butt = Stroked(line, CapStyle::kButt, JointStyle::kBevel, 2);
  EXPECT_EQ(butt.GetVertices(), (std::vector<V>{Move(0, -1), Line(10, -1), Line(10, 1), Line(0, 1), Close(0, -1)}));
  EXPECT_EQ(butt.GetOpenSubpathIndex(), -1);
  EXPECT_EQ(Stroked(line, CapStyle::kSquare, JointStyle::kBevel, 2).GetVertices(),
            (std::vector<V>{Move(-1, -1), Line(11, -1), Line(11, 1), Line(-1, 1), Close(-1, -1)}));

  // Round caps: a half circle through the tip in steps of 1 / sqrt(quality * width) radians.
  const Path round = Stroked(line, CapStyle::kRound, JointStyle::kBevel, 2);
  const double step = 1 / std::sqrt(2.0);
  std::vector<V> expected{Move(0, -1), Line(10, -1)};
  for (int k = 1; k * step < std::numbers::pi; ++k) {
    expected.push_back(Line(10 + std::sin(k * step), -std::cos(k * step)));
  }
  expected.push_back(Line(10, 1));
  expected.push_back(Line(0, 1));
  for (int k = 1; k * step < std::numbers::pi; ++k) {
    expected.push_back(Line(-std::sin(k * step), std::cos(k * step)));
  }
  expected.push_back(Close(0, -1));
  ExpectNear(round.GetVertices(), expected);
}

TEST(StrokeTest, JointsAtARightAngle) {
  // The outer corner lies at (11, -1); the inner one, at (9, 1), is where the offset lines cross.
  const std::vector<V> bevel{Move(0, -1), Line(10, -1), Line(11, 0), Line(11, 10), Line(9, 10), Line(9, 1),
                             Line(0, 1),  Close(0, -1)};
  EXPECT_EQ(Stroked(Corner(), CapStyle::kButt, JointStyle::kBevel, 2).GetVertices(), bevel);
  EXPECT_EQ(Stroked(Corner(), CapStyle::kButt, JointStyle::kMiter, 2, 2).GetVertices(),
            (std::vector<V>{Move(0, -1), Line(11, -1), Line(11, 10), Line(9, 10), Line(9, 1), Line(0, 1), Close(0, -1)}));
  // A limit of 1.2 cuts the miter sqrt(0.44) half widths past the ends of the offset lines.
  const double cut = std::sqrt(1.2 * 1.2 - 1);
  ExpectNear(Stroked(Corner(), CapStyle::kButt, JointStyle::kMiter, 2, 1.2).GetVertices(),
             {Move(0, -1), Line(10 + cut, -1), Line(11, -cut), Line(11, 10), Line(9, 10), Line(9, 1), Line(0, 1),
              Close(0, -1)});
  // Limits below 1 count as 1: the miter is cut right at the ends, like a bevel.
  EXPECT_EQ(Stroked(Corner(), CapStyle::kButt, JointStyle::kMiter, 2, 0.5).GetVertices(), bevel);
  EXPECT_EQ(Stroked(Corner(), CapStyle::kButt, JointStyle::kMiter, 2, kNaN).GetVertices(), bevel);

  const double step = 1 / std::sqrt(2.0);
  ExpectNear(Stroked(Corner(), CapStyle::kButt, JointStyle::kCurve, 2).GetVertices(),
             {Move(0, -1), Line(10, -1), Line(10 + std::sin(step), -std::cos(step)),
              Line(10 + std::sin(2 * step), -std::cos(2 * step)), Line(11, 0), Line(11, 10), Line(9, 10), Line(9, 1),
              Line(0, 1), Close(0, -1)});

  // Unknown joint styles draw nothing on the outer side.
  EXPECT_EQ(Stroked(Corner(), CapStyle::kButt, static_cast<JointStyle>(7), 2).GetVertices(),
            (std::vector<V>{Move(0, -1), Line(11, 10), Line(9, 10), Line(9, 1), Line(0, 1), Close(0, -1)}));
}

TEST(StrokeTest, CollinearSegments) {
  Path straight;
  straight.MoveTo(0, 0).LineTo(5, 0).LineTo(10, 0);
  EXPECT_EQ(Stroked(straight, CapStyle::kButt, JointStyle::kMiter, 2, 2).GetVertices(),
            (std::vector<V>{Move(0, -1), Line(5, -1), Line(10, -1), Line(10, 1), Line(5, 1), Line(0, 1), Close(0, -1)}));
  EXPECT_EQ(Stroked(straight, CapStyle::kButt, JointStyle::kMiter, 2, 1).GetVertices(),
            (std::vector<V>{Move(0, -1), Line(5, -1), Line(5, -1), Line(10, -1), Line(10, 1), Line(5, 1), Line(5, 1),
                            Line(0, 1), Close(0, -1)}));
  EXPECT_EQ(Stroked(straight, CapStyle::kButt, JointStyle::kBevel, 2).GetVertices(),
            Stroked(straight, CapStyle::kButt, JointStyle::kMiter, 2, 1).GetVertices());
}

TEST(StrokeTest, ClosedSubpathsGiveTwoOppositeContours) {
  const Path outline = Stroked(ClosedSquare(), CapStyle::kRound, JointStyle::kMiter, 2);
  EXPECT_EQ(outline.GetVertices(), (std::vector<V>{Move(-1, -1), Line(11, -1), Line(11, 11), Line(-1, 11), Close(-1, -1),
                                                   Move(1, 1), Line(1, 9), Line(9, 9), Line(9, 1), Close(1, 1)}));
  // Filled with the non-zero rule only the band between them is covered.
  EXPECT_EQ(CoverageAt(outline, 5, 5), 0);
  EXPECT_EQ(CoverageAt(outline, 5, 0), 255);
  EXPECT_EQ(CoverageAt(outline, -1, 5), 255);
  EXPECT_EQ(CoverageAt(outline, 12, 5), 0);
  for (const JointStyle joints : {JointStyle::kBevel, JointStyle::kCurve}) {
    const Path other = Stroked(ClosedSquare(), CapStyle::kButt, joints, 2);
    EXPECT_EQ(CoverageAt(other, 5, 5), 0);
    EXPECT_EQ(CoverageAt(other, 9, 5), 255);
    EXPECT_EQ(CoverageAt(other, 9, 9), 255);
  }
  // The outer corner pixel: half covered under a bevel, more under the flattened round joint.
  EXPECT_EQ(CoverageAt(Stroked(ClosedSquare(), CapStyle::kButt, JointStyle::kBevel, 2), 10, 10), 128);
  const Coverage round = CoverageAt(Stroked(ClosedSquare(), CapStyle::kButt, JointStyle::kCurve, 2), 10, 10);
  EXPECT_GT(round, 128);
  EXPECT_LT(round, 201);
}

TEST(StrokeTest, LonePointsBecomeDots) {
  Path point;
  point.MoveTo(5, 5);
  EXPECT_EQ(Stroked(point, CapStyle::kSquare, JointStyle::kBevel, 4).GetVertices(),
            (std::vector<V>{Move(3, 3), Line(7, 3), Line(7, 7), Line(3, 7), Close(3, 3)}));
  // Butt caps: a contour without area.
  EXPECT_EQ(Stroked(point, CapStyle::kButt, JointStyle::kBevel, 4).GetVertices(),
            (std::vector<V>{Move(5, 3), Line(5, 3), Line(5, 7), Line(5, 7), Close(5, 3)}));
  // Round caps: a circle of the stroke's diameter.
  const Path dot = Stroked(point, CapStyle::kRound, JointStyle::kBevel, 4);
  for (const V& v : dot.GetVertices()) {
    EXPECT_NEAR(std::hypot(v.x - 5, v.y - 5), 2, 1e-9);
  }
  EXPECT_GT(dot.GetVertices().size(), 8u);

  // Segments shorter than 1e-4 count as a point, and a trailing move makes another dot.
  Path tiny;
  tiny.MoveTo(5, 5).LineTo(5.00001, 5).LineTo(5, 5.00001);
  EXPECT_EQ(Stroked(tiny, CapStyle::kSquare, JointStyle::kBevel, 4).GetVertices(),
            Stroked(point, CapStyle::kSquare, JointStyle::kBevel, 4).GetVertices());
  // Closed, such a subpath is a dot all the same, not two contours without area.
  Path closedPoint;
  closedPoint.MoveTo(5, 5).LineTo(5.00001, 5).Close();
  EXPECT_EQ(Stroked(closedPoint, CapStyle::kSquare, JointStyle::kBevel, 4).GetVertices(),
            Stroked(point, CapStyle::kSquare, JointStyle::kBevel, 4).GetVertices());
  Path trailing;
  trailing.MoveTo(0, 0).LineTo(10, 0).MoveTo(5, 5);
  const Path both = Stroked(trailing, CapStyle::kSquare, JointStyle::kBevel, 4);
  ASSERT_EQ(both.GetVertices().size(), 10u);
  EXPECT_EQ(std::vector<V>(both.GetVertices().begin() + 5, both.GetVertices().end()),
            Stroked(point, CapStyle::kSquare, JointStyle::kBevel, 4).GetVertices());
}

TEST(StrokeTest, SubpathRulesFollowThePathModel) {
  // Several moves before a line: the last one starts the subpath; a close is a line that ends it.
  Path p;
  p.MoveTo(50, 50).MoveTo(0, 0).LineTo(10, 0).Close();
  const Path outline = Stroked(p, CapStyle::kButt, JointStyle::kBevel, 2);
  Path closedTwice;
  closedTwice.MoveTo(0, 0).LineTo(10, 0).LineTo(0, 0).Close();
  EXPECT_EQ(outline.GetVertices(), Stroked(closedTwice, CapStyle::kButt, JointStyle::kBevel, 2).GetVertices());
  EXPECT_EQ(outline.GetVertices().front().kind, Path::kMove);

  // Width 0 strokes as 1e-8.
  Path line;
  line.MoveTo(0, 0).LineTo(10, 0);
  const Rect box = Stroked(line, CapStyle::kButt, JointStyle::kBevel, 0).GetBounds();
  EXPECT_NEAR(box.height, 1e-8, 1e-12);
  Path empty;
  EXPECT_TRUE(Stroked(empty, CapStyle::kRound, JointStyle::kCurve, 3).IsEmpty());
}

TEST(StrokeTest, SegmentsThatAreNotFiniteAreSkipped) {
  Path reference;
  reference.MoveTo(0, 0).LineTo(10, 0).LineTo(10, 10);
  Path p;
  p.MoveTo(0, 0).LineTo(kInf, 0).LineTo(10, 0).LineTo(kNaN, 3).LineTo(10, 10);
  EXPECT_EQ(Stroked(p, CapStyle::kRound, JointStyle::kCurve, 3).GetVertices(),
            Stroked(reference, CapStyle::kRound, JointStyle::kCurve, 3).GetVertices());
  // Widths without a finite value make points that are no numbers; the arcs still end.
  Path line;
  line.MoveTo(0, 0).LineTo(10, 0).LineTo(10, 10);
  EXPECT_LT(Stroked(line, CapStyle::kRound, JointStyle::kCurve, kInf).GetVertices().size(), 2000u);
  EXPECT_LT(Stroked(line, CapStyle::kRound, JointStyle::kCurve, 5, 4, kNaN).GetVertices().size(), 2000u);
}

TEST(StrokeTest, StrokesCoverEveryPointWithinHalfTheWidth) {
  Path zigzag;
  zigzag.MoveTo(5, 5).LineTo(40, 12).LineTo(10, 30).LineTo(45, 44);
  const double width = 5;
  for (const JointStyle joints : {JointStyle::kBevel, JointStyle::kCurve, JointStyle::kMiter}) {
    const Path outline = Stroked(zigzag, CapStyle::kRound, joints, width);
    PolygonMask mask(outline, IntRect(0, 0, 50, 50), &kNonZeroRule);
    MaskImage image(IntRect(0, 0, 50, 50));
    image.Render(mask);
    for (std::int32_t y = 0; y < 50; ++y) {
      for (std::int32_t x = 0; x < 50; ++x) {
        // Distance from the pixel centre to the polyline.
        double distance = kInf;
        const auto& v = zigzag.GetVertices();
        for (std::size_t i = 1; i < v.size(); ++i) {
          const double dx = v[i].x - v[i - 1].x;
          const double dy = v[i].y - v[i - 1].y;
          const double t = std::clamp(((x + 0.5 - v[i - 1].x) * dx + (y + 0.5 - v[i - 1].y) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
          distance = std::min(distance, std::hypot(x + 0.5 - v[i - 1].x - t * dx, y + 0.5 - v[i - 1].y - t * dy));
        }
        // Bevels cut the outer corners, miters reach beyond the rounded ones.
        if (distance < width / 2 - 0.75 && joints != JointStyle::kBevel) {
          ASSERT_EQ(*image.At(x, y), 255) << x << "," << y;
        } else if (distance > width / 2 + 0.75 && joints != JointStyle::kMiter) {
          ASSERT_EQ(*image.At(x, y), 0) << x << "," << y;
        }
      }
    }
  }
}

}  // namespace
}  // namespace QorRaster
