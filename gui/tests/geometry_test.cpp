#include "gui/geometry.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

using Wex::cPoint;
using Wex::cRect;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
const cRect kPlane{Wex::kInfiniteRectMin, Wex::kInfiniteRectMin, Wex::kInfiniteRectMax, Wex::kInfiniteRectMax};

TEST(Geometry, OverlapAndIntersectionIgnoreTouchingEdges) {
  const cRect a{0, 0, 10, 10};
  EXPECT_TRUE(Wex::Overlaps(a, {9, 9, 20, 20}));
  EXPECT_FALSE(Wex::Overlaps(a, {10, 0, 20, 10}));
  EXPECT_FALSE(Wex::Overlaps(a, {0, 10, 10, 20}));
  // A zero-width rectangle inside counts by the edge comparisons alone; its common part stays empty.
  EXPECT_EQ(Wex::Intersection(a, {3, 3, 3, 8}).Width(), 0);
  EXPECT_EQ(Wex::Intersection(a, {5, -5, 30, 7}), (cRect{5, 0, 10, 7}));
  EXPECT_EQ(Wex::Intersection(a, {10, 0, 20, 10}), cRect{});
}

TEST(Geometry, ContainsHasExclusiveRightAndBottom) {
  const cRect r{2, 3, 5, 7};
  EXPECT_TRUE(r.Contains({2, 3}));
  EXPECT_TRUE(r.Contains({4, 6}));
  EXPECT_FALSE(r.Contains({5, 3}));
  EXPECT_FALSE(r.Contains({2, 7}));
  EXPECT_FALSE(r.Contains({1, 4}));
}

TEST(Geometry, ToCGRectPassesThroughSinglePrecision) {
  const Platform::Rect r = Wex::ToCGRect(cRect{-3, 4, 17, 10});
  EXPECT_EQ(r.x, -3.0);
  EXPECT_EQ(r.y, 4.0);
  EXPECT_EQ(r.width, 20.0);
  EXPECT_EQ(r.height, 6.0);

  Platform::Rect big;
  Wex::ToCGRect(cRect{(1 << 24) + 1, 0, (1 << 24) + 2, 1}, big);
  EXPECT_EQ(big.x, double(1 << 24));
  EXPECT_EQ(big.width, 1.0);

  // The width of the widest rectangle wraps like the machine's subtraction.
  const Platform::Rect wide = Wex::ToCGRect(cRect{std::numeric_limits<std::int32_t>::min(), 0,
                                                  std::numeric_limits<std::int32_t>::max(), 0});
  EXPECT_EQ(wide.width, -1.0);
}

TEST(Geometry, ToEnclosingRectRoundsOutward) {
  EXPECT_EQ(Wex::ToEnclosingRect({0.5, 0.5, 1, 1}), (cRect{0, 0, 2, 2}));
  EXPECT_EQ(Wex::ToEnclosingRect({-0.5, -0.5, 1, 1}), (cRect{-1, -1, 1, 1}));
  EXPECT_EQ(Wex::ToEnclosingRect({3, 4, 5, 6}), (cRect{3, 4, 8, 10}));
  EXPECT_EQ(Wex::ToEnclosingRect(Platform::NullRect()), cRect{});
  EXPECT_EQ(Wex::ToEnclosingRect(Platform::InfiniteRect()), kPlane);
}

TEST(Geometry, ToRectCutsTheOriginTowardZero) {
  EXPECT_EQ(Wex::ToRect({-0.5, -0.5, 1, 1}), (cRect{0, 0, 1, 1}));
  EXPECT_EQ(Wex::ToRect({1.7, 2.2, 1.0, 1.0}), (cRect{1, 2, 3, 4}));
  // The far edge is rounded to single precision before it is rounded up: 2^24 + 1 - 2^-10 is
  // 2^24 in single precision.
  EXPECT_EQ(Wex::ToRect({16777216.0, 0.0, 0.999, 1.0}).fRight, 16777216);
}

TEST(Geometry, ToPointRoundsToSingleThenCuts) {
  EXPECT_EQ(Wex::ToPoint({-0.7, 2.9}), (cPoint{0, 2}));
  EXPECT_EQ(Wex::ToPoint({-1.5, 1.0}), (cPoint{-1, 1}));
  EXPECT_EQ(Wex::ToPoint({16777217.0, 0.0}).fX, 16777216);
}

TEST(Geometry, UnrepresentableValuesClampToThePlane) {
  EXPECT_EQ(Wex::ToEnclosingRect({kNaN, kNaN, 5, 5}), kPlane);
  EXPECT_EQ(Wex::ToEnclosingRect({0, 0, kNaN, 1e300}), (cRect{0, 0, Wex::kInfiniteRectMax, Wex::kInfiniteRectMax}));
  EXPECT_EQ(Wex::ToEnclosingRect({-1e300, -kInf, 1, 1}).fLeft, Wex::kInfiniteRectMin);
  EXPECT_EQ(Wex::ToEnclosingRect({4e9, 0, 1, 1}).fLeft, Wex::kInfiniteRectMax);
  EXPECT_EQ(Wex::ToRect({kNaN, -1e20, 1e20, kInf}),
            (cRect{Wex::kInfiniteRectMin, Wex::kInfiniteRectMin, Wex::kInfiniteRectMax, Wex::kInfiniteRectMax}));
  EXPECT_EQ(Wex::ToPoint({1e39, -1e39}), (cPoint{Wex::kInfiniteRectMax, Wex::kInfiniteRectMin}));
  EXPECT_EQ(Wex::ToPoint({kNaN, kInf}), (cPoint{Wex::kInfiniteRectMin, Wex::kInfiniteRectMax}));
}

TEST(Geometry, ExtentsOfAnEmptySpanAreNull) {
  EXPECT_TRUE(Platform::IsNull(Platform::RectFromExtents(0, 0, 0, 0)));
  EXPECT_TRUE(Platform::IsNull(Platform::RectFromExtents(5, 5, 5, 9)));
  const Platform::Rect r = Platform::RectFromExtents(1, 2, 4, 8);
  EXPECT_FALSE(Platform::IsNull(r));
  EXPECT_EQ(Wex::ToEnclosingRect(r), (cRect{1, 2, 4, 8}));
  EXPECT_FALSE(Platform::IsInfinite(r));
  EXPECT_FALSE(Platform::IsNull(Platform::InfiniteRect()));
}

}  // namespace
