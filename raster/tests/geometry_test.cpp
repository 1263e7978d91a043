#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

#include "raster/geometry.h"
#include "raster/transform.h"

namespace QorRaster {
namespace {

void ExpectRect(const IntRect& r, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) {
  EXPECT_EQ(r, IntRect(x, y, w, h)) << r.x << "," << r.y << "," << r.width << "," << r.height;
}

TEST(IntRectTest, UniteTreatsOnlyBothSidesZeroAsEmpty) {
  ExpectRect(IntRect(5, 5, 0, 3).Unite(IntRect(0, 0, 2, 2)), 0, 0, 5, 8);
  ExpectRect(IntRect(7, 9, 0, 0).Unite(IntRect(1, 2, 3, 4)), 1, 2, 3, 4);
  ExpectRect(IntRect(1, 2, 3, 4).Unite(IntRect(-7, 9, 0, 0)), 1, 2, 3, 4);
  ExpectRect(IntRect(0, 0, 10, 10).Unite(IntRect(20, -5, 5, 5)), 0, -5, 25, 15);
}

TEST(IntRectTest, IntersectGivesCommonPartOrAllZero) {
  ExpectRect(IntRect(0, 0, 10, 10).Intersect(IntRect(5, -5, 10, 10)), 5, 0, 5, 5);
  ExpectRect(IntRect(0, 0, 10, 10).Intersect(IntRect(10, 0, 5, 5)), 0, 0, 0, 0);  // touching edge
  ExpectRect(IntRect(3, 3, 10, 10).Intersect(IntRect(0, 13, 5, 5)), 0, 0, 0, 0);
  ExpectRect(IntRect(-100, 40, 7, 3).Intersect(WholePlaneRect), -100, 40, 7, 3);
  ExpectRect(IntRect(-0x40000000, 0x3FFFFFFE, 1, 1).Intersect(WholePlaneRect), -0x40000000, 0x3FFFFFFE, 1, 1);
}

TEST(IntRectTest, ExtremeRectanglesNeitherOverflowNorWrapIntoOverlap) {
  const IntRect far(0x7FFFFFF0, 0, 0x7FFFFFFF, 10);
  ExpectRect(far.Intersect(IntRect(0, 0, 10, 10)), 0, 0, 0, 0);
  ExpectRect(far.Intersect(IntRect(0x7FFFFFF8, 2, 100, 1)), 0x7FFFFFF8, 2, 100, 1);
  const IntRect u = IntRect(std::numeric_limits<std::int32_t>::min(), 0, 1, 1).Unite(far);
  EXPECT_EQ(u.width, std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(WholePlaneRect.GetRight(), 0x3FFFFFFF);
  EXPECT_EQ(WholePlaneRect.GetBottom(), 0x3FFFFFFF);
}

TEST(TruncateSaturatedTest, TruncatesInRangeAndSaturatesOutside) {
  EXPECT_EQ(TruncateSaturated<std::int32_t>(2.9), 2);
  EXPECT_EQ(TruncateSaturated<std::int32_t>(-2.9), -2);
  EXPECT_EQ(TruncateSaturated<std::int32_t>(2147483647.9), 2147483647);
  EXPECT_EQ(TruncateSaturated<std::int32_t>(-2147483648.9), -2147483647 - 1);
  EXPECT_EQ(TruncateSaturated<std::int32_t>(2147483648.0), 2147483647);
  EXPECT_EQ(TruncateSaturated<std::int32_t>(-2147483649.0), -2147483647 - 1);
  EXPECT_EQ(TruncateSaturated<std::int32_t>(1e300), 2147483647);
  EXPECT_EQ(TruncateSaturated<std::int32_t>(-INFINITY), -2147483647 - 1);
  EXPECT_EQ(TruncateSaturated<std::int32_t>(NAN), -2147483647 - 1);
  EXPECT_EQ(TruncateSaturated<std::int64_t>(9.3e18), std::numeric_limits<std::int64_t>::max());
  EXPECT_EQ(TruncateSaturated<std::int64_t>(-9.3e18), std::numeric_limits<std::int64_t>::min());
  EXPECT_EQ(TruncateSaturated<std::int64_t>(4294967296.5), 4294967296);
}

void ExpectPoint(const Point& p, double x, double y) {
  EXPECT_NEAR(p.x, x, 1e-12);
  EXPECT_NEAR(p.y, y, 1e-12);
}

TEST(TransformTest, DefaultIsIdentityAndApplyUsesAllSixElements) {
  Transform t;
  ExpectPoint(t.Apply(Point(3, -4)), 3, -4);
  t.Set(2, 3, 5, 7, 11, 13);
  ExpectPoint(t.Apply(Point(1, 10)), 2 + 30 + 5, 7 + 110 + 13);
}

TEST(TransformTest, MultiplyAppliesSecondAfterFirst) {
  Transform first;
  first.Set(1.5, -0.25, 3, 0.5, 2, -7);
  Transform second;
  second.Set(-1, 4, 0.5, 2.5, 0.75, 9);
  const Transform both = Transform::Multiply(first, second);
  for (const Point p : {Point(0, 0), Point(1, 0), Point(0, 1), Point(-3.5, 8.25)}) {
    const Point expected = second.Apply(first.Apply(p));
    ExpectPoint(both.Apply(p), expected.x, expected.y);
  }
}

TEST(TransformTest, OperationsApplyTheirChangeAfterTheTransform) {
  Transform t;
  t.Set(1.5, -0.25, 3, 0.5, 2, -7);
  const Point p(2, -3);
  const Point q = t.Apply(p);
  ExpectPoint(t.Translate(4, -5).Apply(p), q.x + 4, q.y - 5);
  ExpectPoint(t.Scale(2, 3).Apply(p), q.x * 2, q.y * 3);
  ExpectPoint(t.ScaleUniform(-0.5).Apply(p), q.x * -0.5, q.y * -0.5);
  const double angle = 0.3;
  ExpectPoint(t.Rotate(angle).Apply(p), q.x * std::cos(angle) - q.y * std::sin(angle),
              q.y * std::cos(angle) + q.x * std::sin(angle));
  ExpectPoint(t.Shear(0.5, -2).Apply(p), q.x + 0.5 * q.y, q.y - 2 * q.x);
  Transform unchanged;
  unchanged.Set(1.5, -0.25, 3, 0.5, 2, -7);
  EXPECT_EQ(t, unchanged);
}

TEST(TransformTest, RotateAroundKeepsTheCentreFixed) {
  const Transform t = Transform().RotateAround(std::numbers::pi / 2, 1, 1);
  ExpectPoint(t.Apply(Point(2, 1)), 1, 2);
  ExpectPoint(t.Apply(Point(1, 1)), 1, 1);
  const Transform moved = Transform().Translate(5, 0).RotateAround(std::numbers::pi, 0, 0);
  ExpectPoint(moved.Apply(Point(1, 0)), -6, 0);
}

TEST(TransformTest, InvertRefusesDegenerateMatrices) {
  Transform t;
  t.Set(1e-9, 0, 4, 0, 1, 5);
  Transform copy = t;
  EXPECT_FALSE(t.Invert());
  EXPECT_EQ(t, copy);
  t.Set(NAN, 0, 0, 0, 1, 0);
  EXPECT_FALSE(t.Invert());
  Transform identity;
  EXPECT_TRUE(identity.Invert());
  EXPECT_EQ(identity, Transform());
}

TEST(TransformTest, InvertUndoesTheTransform) {
  Transform t;
  t.Set(2, 1, -3, -0.5, 4, 7);
  Transform inverse = t;
  ASSERT_TRUE(inverse.Invert());
  for (const Point p : {Point(0, 0), Point(10, -4), Point(-2.5, 0.125)}) {
    ExpectPoint(inverse.Apply(t.Apply(p)), p.x, p.y);
  }
}

TEST(RectTest, RightBottomAndOffset) {
  Rect r(1.5, -2, 3, 4.25);
  EXPECT_DOUBLE_EQ(r.GetRight(), 4.5);
  EXPECT_DOUBLE_EQ(r.GetBottom(), 2.25);
  const Rect moved = r.Offset(-1, 2);
  EXPECT_DOUBLE_EQ(moved.x, 0.5);
  EXPECT_DOUBLE_EQ(moved.y, 0);
  EXPECT_DOUBLE_EQ(moved.width, 3);
  EXPECT_DOUBLE_EQ(moved.height, 4.25);
  r.Clear();
  EXPECT_DOUBLE_EQ(r.GetRight() + r.GetBottom(), 0);
}

}  // namespace
}  // namespace QorRaster
