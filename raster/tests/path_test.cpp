#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

#include "raster/path.h"
#include "raster/tests/vertex_list.h"

namespace QorRaster {
namespace {

using namespace Testing;
constexpr double kPi = std::numbers::pi;

TEST(PathModelTest, CloseReturnsToTheOpenSubpathAndKeepsIt) {
  Path p;
  p.Close();
  EXPECT_EQ(p.GetVertices(), (std::vector<V>{Close(0, 0)}));
  EXPECT_EQ(p.GetOpenSubpathIndex(), -1);

  Path q;
  q.MoveTo(1, 2).LineTo(3, 4).Close().Close();
  EXPECT_EQ(q.GetVertices(), (std::vector<V>{Move(1, 2), Line(3, 4), Close(1, 2), Close(1, 2)}));
  EXPECT_EQ(q.GetOpenSubpathIndex(), 0);
  q.MoveTo(5, 6).LineTo(7, 7).Close();
  EXPECT_EQ(q.GetVertices().back(), Close(5, 6));
  EXPECT_EQ(q.GetOpenSubpathIndex(), 4);
}

TEST(PathModelTest, AppendMovesTheOpenSubpathOnlyWhenTheOtherHasOne) {
  Path p;
  p.MoveTo(0, 0).LineTo(1, 0).LineTo(1, 1).MoveTo(5, 5).LineTo(6, 6);
  Path noSubpath;
  noSubpath.LineTo(9, 9);
  p.Append(noSubpath);
  EXPECT_EQ(p.GetOpenSubpathIndex(), 3);
  EXPECT_EQ(p.GetVertices().size(), 6u);

  Path q;
  q.MoveTo(0, 0).LineTo(1, 1).LineTo(2, 2).LineTo(3, 3).LineTo(4, 4);
  Path r;
  r.LineTo(7, 7).LineTo(8, 8).MoveTo(10, 10).LineTo(11, 11);
  q.Append(r);
  EXPECT_EQ(q.GetOpenSubpathIndex(), 7);
  q.Close();
  EXPECT_EQ(q.GetVertices().back(), Close(10, 10));

  Path self;
  self.MoveTo(1, 1).LineTo(2, 2);
  self.Append(self);
  EXPECT_EQ(self.GetVertices(), (std::vector<V>{Move(1, 1), Line(2, 2), Move(1, 1), Line(2, 2)}));
  EXPECT_EQ(self.GetOpenSubpathIndex(), 2);
}

TEST(PathModelTest, CloseAllEndsEveryRange) {
  Path p;
  p.MoveTo(0, 0).LineTo(5, 0).MoveTo(10, 10).LineTo(20, 10).Close();
  p.CloseAll();
  EXPECT_EQ(p.GetVertices(), (std::vector<V>{Move(0, 0), Line(5, 0), Close(0, 0), Move(10, 10), Line(20, 10),
                                             Close(10, 10)}));
  EXPECT_EQ(p.GetOpenSubpathIndex(), 5);

  // A move after a close stays in the range; the close goes to that later move.
  Path q;
  q.MoveTo(0, 0).LineTo(5, 0).Close().MoveTo(7, 7).LineTo(8, 9);
  q.CloseAll();
  EXPECT_EQ(q.GetVertices(), (std::vector<V>{Move(0, 0), Line(5, 0), Close(0, 0), Move(7, 7), Line(8, 9),
                                             Close(7, 7)}));

  // Leading lines have no move: they close to (0, 0).
  Path r;
  r.LineTo(3, 3).LineTo(4, 0);
  r.CloseAll();
  EXPECT_EQ(r.GetVertices(), (std::vector<V>{Line(3, 3), Line(4, 0), Close(0, 0)}));

  Path empty;
  empty.MoveTo(1, 1).CloseAll();
  EXPECT_EQ(empty.GetVertices(), (std::vector<V>{Move(1, 1), Close(1, 1)}));
  Path none;
  none.CloseAll();
  EXPECT_TRUE(none.IsEmpty());
  EXPECT_EQ(none.GetOpenSubpathIndex(), -1);
}

TEST(PathModelTest, BoundsIncludeCloseVertices) {
  Path p;
  EXPECT_EQ(p.GetBounds().width, 0.0);
  EXPECT_EQ(p.GetIntBounds(), IntRect(0, 0, 0, 0));
  p.MoveTo(3, -2).LineTo(-1, 4);
  p.Close();
  const Rect box = p.GetBounds();
  EXPECT_EQ(box.x, -1);
  EXPECT_EQ(box.y, -2);
  EXPECT_EQ(box.width, 4);
  EXPECT_EQ(box.height, 6);

  Path single;
  single.MoveTo(1.5, -0.5);
  EXPECT_EQ(single.GetIntBounds(), IntRect(1, -1, 1, 1));
  Path whole;
  whole.MoveTo(2, 3);
  EXPECT_EQ(whole.GetIntBounds(), IntRect(2, 3, 0, 0));
}

TEST(PathModelTest, IntBoundsSaturateAndRejectNaN) {
  Path far;
  far.MoveTo(-1e20, 5).LineTo(1e20, 6.5);
  EXPECT_EQ(far.GetIntBounds(), IntRect(-0x40000000, 5, 0x7FFFFFFF, 2));
  Path infinite;
  infinite.MoveTo(0, 0).LineTo(kInf, 1);
  EXPECT_EQ(infinite.GetIntBounds(), IntRect(0, 0, 0x3FFFFFFF, 1));
  // Minus infinity saturates like plus infinity, on either axis and together with it.
  Path negative;
  negative.MoveTo(-kInf, 0).LineTo(5, 1);
  EXPECT_EQ(negative.GetIntBounds(), IntRect(-0x40000000, 0, 0x40000005, 1));
  Path upward;
  upward.MoveTo(2, -kInf).LineTo(3, 4);
  EXPECT_EQ(upward.GetIntBounds(), IntRect(2, -0x40000000, 1, 0x40000004));
  Path both;
  both.MoveTo(-kInf, 7).LineTo(kInf, 7);
  EXPECT_EQ(both.GetIntBounds(), IntRect(-0x40000000, 7, 0x7FFFFFFF, 0));
  Path nan;
  nan.MoveTo(kNaN, 1).LineTo(2, 3);
  EXPECT_EQ(nan.GetIntBounds(), EmptyRect);
  // A coordinate that is no number gives no box wherever it stands.
  Path laterNaN;
  laterNaN.MoveTo(2, 3).LineTo(5, 6).LineTo(4, kNaN);
  EXPECT_EQ(laterNaN.GetIntBounds(), EmptyRect);
}

TEST(PathModelTest, TransformMapsEveryVertexButIdentityTouchesNothing) {
  Path p;
  p.MoveTo(-0.0, 1).LineTo(2, 3).Close();
  p.Transform(Transform());
  EXPECT_TRUE(std::signbit(p.GetVertices()[0].x)) << "identity must not add +0.0";

  Transform t;
  t.Set(2, 1, 10, -1, 3, 20);
  p.Transform(t);
  EXPECT_EQ(p.GetVertices(), (std::vector<V>{Move(11, 23), Line(17, 27), Close(11, 23)}));
}

TEST(CurveTest, QuadraticCurvesFollowTheForwardDifferences) {
  Path straight;
  straight.MoveTo(0, 0).QuadTo(5, 5, 10, 10, 1.0);
  EXPECT_EQ(straight.GetVertices().size(), 2u);
  EXPECT_EQ(straight.GetVertices()[1], Line(10, 10));

  Path p;
  p.MoveTo(0, 0).QuadTo(50, 100, 100, 0, 1.0);
  ASSERT_EQ(p.GetVertices().size(), 19u);  // |D| = 400: n = 17, 18 lines
  for (std::size_t k = 1; k < 19; ++k) {
    const double t = k / 18.0;
    const V& v = p.GetVertices()[k];
    EXPECT_EQ(v.kind, Path::kLine);
    EXPECT_NEAR(v.x, 2 * t * (1 - t) * 50 + t * t * 100, 1e-9);
    EXPECT_NEAR(v.y, 2 * t * (1 - t) * 100, 1e-9);
  }
  EXPECT_EQ(p.GetOpenSubpathIndex(), 0);

  Path fine;
  fine.MoveTo(0, 0).QuadTo(50, 100, 100, 0, 4.0);
  EXPECT_EQ(fine.GetVertices().size(), 1u + 35u);  // trunc(sqrt(1131.2) + 0.5) = 34
}

TEST(CurveTest, CubicCurvesFollowTheForwardDifferences) {
  Path p;
  p.MoveTo(10, 10).CubicTo(10, 60, 90, -40, 90, 10, 1.0);
  // |A| = |B| = 6 * 170: n = trunc(sqrt(1020 * 0.707) + 0.5) = 27, 28 lines.
  ASSERT_EQ(p.GetVertices().size(), 29u);
  for (std::size_t k = 1; k < 29; ++k) {
    const double t = k / 28.0;
    const double s = 1 - t;
    const V& v = p.GetVertices()[k];
    EXPECT_NEAR(v.x, s * s * s * 10 + 3 * s * s * t * 10 + 3 * s * t * t * 90 + t * t * t * 90, 1e-9);
    EXPECT_NEAR(v.y, s * s * s * 10 + 3 * s * s * t * 60 + 3 * s * t * t * -40 + t * t * t * 10, 1e-9);
  }
}

TEST(CurveTest, CurveStepCountsThatAreNoNumbersAddNothingAndLargeOnesAreCapped) {
  Path p;
  p.MoveTo(0, 0);
  p.QuadTo(kNaN, 0, 1, 1, 1.0).QuadTo(1e300, 0, 1, 1, 1.0).QuadTo(1, 0, 1, 1, -1.0);
  p.CubicTo(0, kInf, 1, 1, 2, 2, 1.0).CubicTo(0, 0, 1, 1, 2, kNaN, 1.0);
  EXPECT_EQ(p.GetVertices().size(), 1u);

  Path big;
  big.MoveTo(0, 0).QuadTo(1e12, 1e12, 2e12, 0, 1.0);
  ASSERT_EQ(big.GetVertices().size(), 1u + 65536u);
  EXPECT_NEAR(big.GetVertices().back().x, 2e12, 1.0);
  EXPECT_NEAR(big.GetVertices().back().y, 0.0, 1.0);

  Path bigCubic;
  bigCubic.MoveTo(0, 0).CubicTo(0, 1e12, 1e12, 1e12, 1e12, 0, 1.0);
  EXPECT_EQ(bigCubic.GetVertices().size(), 1u + 65536u);
}

TEST(CurveTest, FullCircleArcRotatesByTheQualityStepAndLandsExactly) {
  Path p;
  p.MoveTo(10, 0).ArcTo(0, 0, 2 * kPi, 1.0, 1.0);
  const auto& v = p.GetVertices();
  ASSERT_EQ(v.size(), 1u + 28u + 1u);
  const double step = 1 / std::sqrt(20.0);
  for (std::size_t k = 1; k <= 28; ++k) {
    EXPECT_NEAR(v[k].x, 10 * std::cos(k * step), 1e-9);
    EXPECT_NEAR(v[k].y, 10 * std::sin(k * step), 1e-9);  // clockwise on the y-down grid
  }
  EXPECT_NEAR(v.back().x, 10, 1e-12);
  EXPECT_NEAR(v.back().y, 0, 1e-12);
}

TEST(CurveTest, ArcSpecialCases) {
  Path centre;
  centre.MoveTo(3, 4).ArcTo(3, 4, 2 * kPi, 1.0, 1.0);
  EXPECT_EQ(centre.GetVertices(), (std::vector<V>{Move(3, 4), Line(3, 4)}));

  Path none;
  none.MoveTo(10, 0).ArcTo(0, 0, 0, 1.0, 1.0);
  ExpectNear(none.GetVertices(), {Move(10, 0), Line(10, 0)});

  Path back;
  back.MoveTo(10, 0).ArcTo(0, 0, -kPi / 2, 1.0, 1.0);
  EXPECT_NEAR(back.GetVertices().back().x, 0, 1e-12);
  EXPECT_NEAR(back.GetVertices().back().y, -10, 1e-12);
  EXPECT_LT(back.GetVertices()[1].y, 0) << "negative sweeps turn counter-clockwise";

  // The x radius is the aspect times the y radius.
  Path ellipse;
  ellipse.MoveTo(6, 0).ArcTo(0, 0, kPi, 3.0, 1.0);
  for (const V& vertex : ellipse.GetVertices()) {
    EXPECT_NEAR(vertex.x * vertex.x / 36 + vertex.y * vertex.y / 4, 1.0, 1e-9);
  }
  // e = 2 * 3 * 2 = 12: step 1 / sqrt(12), so trunc(pi * sqrt(12)) = 10 rotated points before the end.
  EXPECT_EQ(ellipse.GetVertices().size(), 1u + 10u + 1u);

  // Tiny qualities take the coarsest step (1 radian), huge ones the finest (pi / 100).
  Path coarse;
  coarse.MoveTo(1, 0).ArcTo(0, 0, 2 * kPi, 1.0, 1e-9);
  EXPECT_EQ(coarse.GetVertices().size(), 1u + 6u + 1u);
  Path finest;
  finest.MoveTo(1, 0).ArcTo(0, 0, 2 * kPi, 1.0, 1e9);
  EXPECT_EQ(finest.GetVertices().size(), 1u + 199u + 1u);
}

TEST(CurveTest, ArcsWithoutFiniteSweepOrAspectAddNothingAndHugeSweepsAreBounded) {
  Path p;
  p.MoveTo(10, 0).ArcTo(0, 0, kNaN, 1, 1).ArcTo(0, 0, kInf, 1, 1).ArcTo(0, 0, 1, kInf, 1).ArcTo(0, 0, 1, kNaN, 1);
  EXPECT_EQ(p.GetVertices().size(), 1u);

  Path huge;
  huge.MoveTo(10, 0).ArcTo(0, 0, 1e300, 1.0, 1.0);
  EXPECT_LE(huge.GetVertices().size(), 1u + 65536u + 1u);
  EXPECT_GT(huge.GetVertices().size(), 60000u);
}

TEST(ShapeTest, LineAndRectangles) {
  Path p;
  p.AddLine(1, 2, 3, 4);
  EXPECT_EQ(p.GetVertices(), (std::vector<V>{Move(1, 2), Line(3, 4)}));
  EXPECT_EQ(p.GetOpenSubpathIndex(), 0);

  Path r;
  r.AddRect(10, 20, -4, 3);
  EXPECT_EQ(r.GetVertices(),
            (std::vector<V>{Move(10, 20), Line(6, 20), Line(6, 23), Line(10, 23), Close(10, 20)}));

  for (const auto& [rx, ry] : {std::pair{0.0, 2.0}, {2.0, 0.0}, {-1.0, 2.0}, {2.0, kNaN}}) {
    Path rounded;
    rounded.AddRoundedRect(10, 20, -4, 3, rx, ry, 1.0);
    EXPECT_EQ(rounded.GetVertices(), r.GetVertices()) << rx << " " << ry;
  }
}

TEST(ShapeTest, RoundedRectangleRunsClockwiseWithQuarterArcs) {
  Path p;
  p.MoveTo(-5, -5);
  p.AddRoundedRect(0, 0, 100, 50, 10, 5, 1.0);
  EXPECT_EQ(p.GetOpenSubpathIndex(), 1);
  const auto& v = p.GetVertices();
  EXPECT_EQ(v[1], Move(10, 0));
  // Straight edges between four arcs; each arc ends on the point where the next edge starts, and
  // its vertices lie on the corner's ellipse (radii 10 across, 5 down).
  struct Corner {
    V edgeStart;
    V edgeEnd;
    double cx;
    double cy;
  };
  const Corner corners[4] = {{Move(10, 0), Line(90, 0), 90, 5},
                             {Line(100, 5), Line(100, 45), 90, 45},
                             {Line(90, 50), Line(10, 50), 10, 45},
                             {Line(0, 45), Line(0, 5), 10, 5}};
  std::size_t i = 2;
  for (std::size_t c = 0; c < 4; ++c) {
    if (c > 0) {
      EXPECT_NEAR(v[i - 1].x, corners[c].edgeStart.x, 1e-9);
      EXPECT_NEAR(v[i - 1].y, corners[c].edgeStart.y, 1e-9);
      ASSERT_EQ(v[i], corners[c].edgeStart) << "corner " << c;
      ++i;
    }
    ASSERT_EQ(v[i], corners[c].edgeEnd) << "corner " << c;
    ++i;
    const std::size_t arcStart = i;
    for (; i < v.size() && v[i].kind == Path::kLine && !(c < 3 && v[i] == corners[c + 1].edgeStart && v[i + 1] == corners[c + 1].edgeEnd);
         ++i) {
      const double dx = (v[i].x - corners[c].cx) / 10;
      const double dy = (v[i].y - corners[c].cy) / 5;
      EXPECT_NEAR(dx * dx + dy * dy, 1.0, 1e-9) << "vertex " << i;
    }
    EXPECT_GT(i - arcStart, 1u);
  }
  EXPECT_NEAR(v[v.size() - 2].x, 10, 1e-9);
  EXPECT_NEAR(v[v.size() - 2].y, 0, 1e-9);
  EXPECT_EQ(v.back(), Close(10, 0));
  EXPECT_EQ(i, v.size() - 1);
}

TEST(ShapeTest, CircleAndEllipses) {
  Path circle;
  circle.AddCircle(0, 0, 10, 1.0);
  ASSERT_EQ(circle.GetVertices().size(), 1u + 28u + 1u + 1u);
  EXPECT_EQ(circle.GetVertices().front(), Move(10, 0));
  EXPECT_EQ(circle.GetVertices().back(), Close(10, 0));

  Path e;
  e.AddEllipse(100, 50, 5, -3, 1.0);
  const auto& v = e.GetVertices();
  EXPECT_EQ(v.front(), Move(105, 50));
  EXPECT_LT(v[1].y, 50) << "opposite signs run counter-clockwise";
  for (std::size_t k = 1; k + 1 < v.size(); ++k) {
    const double dx = v[k].x - 100;
    const double dy = v[k].y - 50;
    EXPECT_NEAR(dx * dx / 25 + dy * dy / 9, 1.0, 1e-9);
  }
  EXPECT_EQ(v.back(), Close(105, 50));

  Path mirrored;
  mirrored.AddEllipse(0, 0, -5, -3, 1.0);
  EXPECT_EQ(mirrored.GetVertices().front(), Move(-5, 0));
  EXPECT_LT(mirrored.GetVertices()[1].y, 0) << "both negative runs clockwise from the left";

  Path vertical;
  vertical.AddEllipse(1, 2, 0, 4, 1.0);
  EXPECT_EQ(vertical.GetVertices(), (std::vector<V>{Move(1, -2), Line(1, 6), Close(1, -2)}));
  Path horizontal;
  horizontal.AddEllipse(1, 2, 4, 1e-9, 1.0);
  EXPECT_EQ(horizontal.GetVertices(), (std::vector<V>{Move(-3, 2), Line(5, 2), Close(-3, 2)}));
}

TEST(ShapeTest, StarsAlternateRadiiFromTheTopClockwise) {
  Path square;
  square.AddStar(4, 0, 0, 10, 10, 0);
  ExpectNear(square.GetVertices(), {Move(0, -10), Line(10, 0), Line(0, 10), Line(-10, 0), Close(0, -10)});

  Path star;
  star.AddStar(10, 50, 50, 20, 8, kPi / 10);
  const auto& v = star.GetVertices();
  ASSERT_EQ(v.size(), 11u);
  for (std::size_t k = 0; k < 10; ++k) {
    const double a = kPi / 10 + k * 2 * kPi / 10;
    const double r = k % 2 == 0 ? 20 : 8;
    EXPECT_NEAR(v[k].x, 50 + r * std::sin(a), 1e-9);
    EXPECT_NEAR(v[k].y, 50 - r * std::cos(a), 1e-9);
  }

  Path odd;
  odd.AddStar(3, 0, 0, 10, 5, 0);
  ASSERT_EQ(odd.GetVertices().size(), 4u);
  EXPECT_NEAR(std::hypot(odd.GetVertices()[2].x, odd.GetVertices()[2].y), 10, 1e-9) << "last vertex is outer";

  for (const std::int32_t count : {0, 1, -1, -7, std::numeric_limits<std::int32_t>::min()}) {
    Path degenerate;
    degenerate.AddStar(count, 1, 2, 3, 4, 0);
    EXPECT_EQ(degenerate.GetVertices(), (std::vector<V>{Move(1, -1), Close(1, -1)})) << count;
  }
}

}  // namespace
}  // namespace QorRaster
