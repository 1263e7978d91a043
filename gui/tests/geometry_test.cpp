#include "gui/geometry.h"

#include <gtest/gtest.h>

#include <limits>
#include <tuple>
#include <utility>

namespace {

using Wex::cPoint;
using Wex::cRect;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
const cRect kPlane{Wex::kInfiniteRectMin, Wex::kInfiniteRectMin, Wex::kInfiniteRectMax, Wex::kInfiniteRectMax};

TEST(Geometry, OverlapIntersectionAndContainsLeaveOutTheRightAndBottomEdges) {
  const cRect a{0, 0, 10, 10};
  const std::pair<cRect, bool> overlaps[] = {
      {{9, 9, 20, 20}, true}, {{10, 0, 20, 10}, false}, {{0, 10, 10, 20}, false}};
  for (const auto& [b, overlap] : overlaps) EXPECT_EQ(Wex::Overlaps(a, b), overlap) << b.fLeft << "," << b.fTop;
  // A zero-width rectangle inside counts by the edge comparisons alone; its common part stays empty.
  EXPECT_EQ(Wex::Intersection(a, {3, 3, 3, 8}).Width(), 0);
  EXPECT_EQ(Wex::Intersection(a, {5, -5, 30, 7}), (cRect{5, 0, 10, 7}));
  EXPECT_EQ(Wex::Intersection(a, {10, 0, 20, 10}), cRect{});
  const cRect r{2, 3, 5, 7};
  const std::pair<cPoint, bool> points[] = {
      {{2, 3}, true}, {{4, 6}, true}, {{5, 3}, false}, {{2, 7}, false}, {{1, 4}, false}};
  for (const auto& [p, inside] : points) EXPECT_EQ(r.Contains(p), inside) << p.fX << "," << p.fY;
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

// ToEnclosingRect rounds outward, ToRect cuts the origin toward zero, ToPoint rounds to single
// precision and then cuts; values beyond the plane clamp to it.
TEST(Geometry, ConversionsRoundAndClampToThePlane) {
  const auto enclosing = &Wex::ToEnclosingRect;
  const std::tuple<cRect (*)(const Platform::Rect&), Platform::Rect, cRect> rects[] = {
      {enclosing, {0.5, 0.5, 1, 1}, {0, 0, 2, 2}},
      {enclosing, {-0.5, -0.5, 1, 1}, {-1, -1, 1, 1}},
      {enclosing, {3, 4, 5, 6}, {3, 4, 8, 10}},
      {enclosing, Platform::NullRect(), {}},
      {enclosing, Platform::InfiniteRect(), kPlane},
      {enclosing, {kNaN, kNaN, 5, 5}, kPlane},
      {enclosing, {0, 0, kNaN, 1e300}, {0, 0, Wex::kInfiniteRectMax, Wex::kInfiniteRectMax}},
      {&Wex::ToRect, {-0.5, -0.5, 1, 1}, {0, 0, 1, 1}},
      {&Wex::ToRect, {1.7, 2.2, 1.0, 1.0}, {1, 2, 3, 4}},
      {&Wex::ToRect, {kNaN, -1e20, 1e20, kInf}, kPlane},
  };
  for (const auto& [convert, r, expected] : rects) EXPECT_EQ(convert(r), expected) << r.x << "," << r.y;
  EXPECT_EQ(Wex::ToEnclosingRect({-1e300, -kInf, 1, 1}).fLeft, Wex::kInfiniteRectMin);
  EXPECT_EQ(Wex::ToEnclosingRect({4e9, 0, 1, 1}).fLeft, Wex::kInfiniteRectMax);
  // The far edge is rounded to single precision before it is rounded up: 2^24 + 1 - 2^-10 is
  // 2^24 in single precision.
  EXPECT_EQ(Wex::ToRect({16777216.0, 0.0, 0.999, 1.0}).fRight, 16777216);
  const std::pair<Platform::Point, cPoint> points[] = {
      {{-0.7, 2.9}, {0, 2}},
      {{-1.5, 1.0}, {-1, 1}},
      {{1e39, -1e39}, {Wex::kInfiniteRectMax, Wex::kInfiniteRectMin}},
      {{kNaN, kInf}, {Wex::kInfiniteRectMin, Wex::kInfiniteRectMax}}};
  for (const auto& [p, expected] : points) EXPECT_EQ(Wex::ToPoint(p), expected) << p.x << "," << p.y;
  EXPECT_EQ(Wex::ToPoint({16777217.0, 0.0}).fX, 16777216);
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
