#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <random>
#include <vector>

#include "raster/image.h"
#include "raster/path.h"
#include "raster/polygon_mask.h"
#include "raster/tests/span_probe.h"

namespace QorRaster {
namespace {

using Testing::Collect;
using Testing::Expand;
using Testing::Literal;
using Testing::Repeated;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

std::vector<Coverage> Row(const Path& path, std::int32_t x, std::int32_t y, std::int32_t count,
                          const FillRule& rule = kNonZeroRule, IntRect clip = IntRect(-100, -100, 1000, 1000)) {
  PolygonMask mask(path, clip, &rule);
  return Expand(Collect<Coverage>(mask, x, y, count));
}

// Coverage of every pixel of the area, rendered row by row through the mask image driver.
std::vector<Coverage> Render(const Path& path, const IntRect& area, const FillRule& rule = kNonZeroRule) {
  PolygonMask mask(path, area, &rule);
  MaskImage image(area);
  image.Render(mask);
  std::vector<Coverage> out;
  for (std::int32_t y = area.y; y < area.GetBottom(); ++y) {
    out.insert(out.end(), image.At(area.x, y), image.At(area.x, y) + area.width);
  }
  return out;
}

// Area of a convex polygon clipped to the pixel (px, py) by Sutherland-Hodgman, in pixels.
double PixelArea(const std::vector<Point>& polygon, double px, double py) {
  std::vector<Point> poly = polygon;
  const auto clip = [&poly](auto inside, auto cross) {
    std::vector<Point> out;
    for (std::size_t i = 0; i < poly.size(); ++i) {
      const Point& a = poly[i];
      const Point& b = poly[(i + 1) % poly.size()];
      if (inside(a)) {
        out.push_back(a);
      }
      if (inside(a) != inside(b)) {
        out.push_back(cross(a, b));
      }
    }
    poly = out;
  };
  const auto atX = [](double x) {
    return [x](const Point& a, const Point& b) { return Point(x, a.y + (x - a.x) / (b.x - a.x) * (b.y - a.y)); };
  };
  const auto atY = [](double y) {
    return [y](const Point& a, const Point& b) { return Point(a.x + (y - a.y) / (b.y - a.y) * (b.x - a.x), y); };
  };
  clip([px](const Point& p) { return p.x >= px; }, atX(px));
  clip([px](const Point& p) { return p.x <= px + 1; }, atX(px + 1));
  clip([py](const Point& p) { return p.y >= py; }, atY(py));
  clip([py](const Point& p) { return p.y <= py + 1; }, atY(py + 1));
  double area = 0;
  for (std::size_t i = 0; i < poly.size(); ++i) {
    const Point& a = poly[i];
    const Point& b = poly[(i + 1) % poly.size()];
    area += a.x * b.y - b.x * a.y;
  }
  return std::fabs(area) / 2;
}

Path Polygon(const std::vector<Point>& points) {
  Path p;
  p.MoveTo(points[0].x, points[0].y);
  for (std::size_t i = 1; i < points.size(); ++i) {
    p.LineTo(points[i].x, points[i].y);
  }
  return p.Close();
}

TEST(FillRuleTest, ConvertAccumulatedAreas) {
  const std::int32_t values[] = {0, 0x8000, 0x10000, -0x10000, -0x8000, 0x18000, 0x20000, 0x30000, 0x28000,
                                 std::numeric_limits<std::int32_t>::min(), 0xFF, 0x7FFFFFFF};
  Coverage nonZero[std::size(values)];
  Coverage evenOdd[std::size(values)];
  kNonZeroRule.Convert(std::size(values), values, nonZero);
  kEvenOddRule.Convert(std::size(values), values, evenOdd);
  EXPECT_EQ(std::vector<Coverage>(nonZero, nonZero + std::size(values)),
            (std::vector<Coverage>{0, 128, 255, 255, 128, 255, 255, 255, 255, 255, 0, 255}));
  EXPECT_EQ(std::vector<Coverage>(evenOdd, evenOdd + std::size(values)),
            (std::vector<Coverage>{0, 128, 255, 255, 128, 128, 0, 255, 128, 0, 0, 0}));
}

TEST(PolygonMaskTest, UnitSquaresCoverByExactArea) {
  Path square;
  square.AddRect(0, 0, 1, 1);
  EXPECT_EQ(Row(square, 0, 0, 2), (std::vector<Coverage>{255, 0}));

  Path shifted;
  shifted.AddRect(0.5, 0, 1, 1);
  EXPECT_EQ(Row(shifted, 0, 0, 2), (std::vector<Coverage>{128, 128}));

  // A quarter pixel inset on every side: 3/4 of the edge pixels, 9/16 of the corners.
  Path inset;
  inset.AddRect(0.25, 0.25, 2.5, 2.5);
  const IntRect area(0, 0, 3, 3);
  EXPECT_EQ(Render(inset, area), (std::vector<Coverage>{144, 192, 144, 192, 255, 192, 144, 192, 144}));

  // Both orientations give the same coverage.
  Path reversed;
  reversed.MoveTo(0.25, 0.25).LineTo(0.25, 2.75).LineTo(2.75, 2.75).LineTo(2.75, 0.25).Close();
  EXPECT_EQ(Render(reversed, area), Render(inset, area));
}

TEST(PolygonMaskTest, RowsAreRunsWithConstantStretchesBetweenEdges) {
  Path rect;
  rect.AddRect(10.5, 0, 100, 4);
  PolygonMask mask(rect, IntRect(0, 0, 200, 10), &kNonZeroRule);
  EXPECT_EQ(mask.GetBounds(), IntRect(10, 0, 101, 4));
  EXPECT_EQ(Collect<Coverage>(mask, 0, 0, 200),
            (std::vector<Testing::RunRecord<Coverage>>{Repeated<Coverage>(10, 0), Literal<Coverage>({128}),
                                                       Repeated<Coverage>(99, 255, kRunOpaque),
                                                       Literal<Coverage>({128}), Repeated<Coverage>(89, 0)}));
}

TEST(PolygonMaskTest, ExactAreaOfRandomConvexPolygons) {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> radius(3, 20);
  std::uniform_real_distribution<double> angle(0, 2 * std::numbers::pi);
  for (int shape = 0; shape < 40; ++shape) {
    // Vertices on the 1/256 grid, so that the only differences are the fixed-point roundings.
    std::vector<double> angles(3 + shape % 8);
    for (double& a : angles) {
      a = angle(random);
    }
    std::sort(angles.begin(), angles.end());
    const double r = radius(random);
    std::vector<Point> points;
    for (const double a : angles) {
      points.emplace_back(std::round((24 + r * std::cos(a)) * 256) / 256, std::round((24 + r * std::sin(a)) * 256) / 256);
    }
    const IntRect area(0, 0, 48, 48);
    const std::vector<Coverage> coverage = Render(Polygon(points), area, shape % 2 ? static_cast<const FillRule&>(kNonZeroRule) : kEvenOddRule);
    for (std::int32_t y = 0; y < 48; ++y) {
      for (std::int32_t x = 0; x < 48; ++x) {
        const double exact = std::min(PixelArea(points, x, y) * 256, 255.0);
        ASSERT_NEAR(coverage[y * 48 + x], exact, 2.0) << "shape " << shape << " pixel " << x << "," << y;
      }
    }
  }
}

TEST(PolygonMaskTest, FillRulesOnSelfIntersectingPaths) {
  // Two overlapping squares of the same orientation.
  Path overlap;
  overlap.AddRect(0, 0, 4, 4).AddRect(2, 0, 4, 4);
  EXPECT_EQ(Row(overlap, 0, 1, 6), (std::vector<Coverage>{255, 255, 255, 255, 255, 255}));
  EXPECT_EQ(Row(overlap, 0, 1, 6, kEvenOddRule), (std::vector<Coverage>{255, 255, 0, 0, 255, 255}));

  // Opposite orientations cancel under the non-zero rule too.
  Path cancel;
  cancel.AddRect(0, 0, 4, 4).AddRect(6, 0, -4, 4);
  EXPECT_EQ(Row(cancel, 0, 1, 6), (std::vector<Coverage>{255, 255, 0, 0, 255, 255}));

  // A pentagram: the centre winds twice.
  Path star;
  const double pi = std::numbers::pi;
  for (int k = 0; k < 5; ++k) {
    const double a = k * 4 * pi / 5;
    k == 0 ? star.MoveTo(50 + 40 * std::sin(a), 50 - 40 * std::cos(a)) : star.LineTo(50 + 40 * std::sin(a), 50 - 40 * std::cos(a));
  }
  star.Close();
  EXPECT_EQ(Row(star, 45, 52, 10), std::vector<Coverage>(10, 255));
  EXPECT_EQ(Row(star, 45, 52, 10, kEvenOddRule), std::vector<Coverage>(10, 0));
  EXPECT_EQ(Row(star, 20, 38, 5, kEvenOddRule), std::vector<Coverage>(5, 255)) << "a point of the star";
}

TEST(PolygonMaskTest, ChunksAndWindowsGiveTheSameCoverage) {
  Path p;
  p.MoveTo(3.3, 1.2).LineTo(140.7, 9.9).LineTo(60.1, 30.4).LineTo(2.2, 27.5).Close();
  p.AddCircle(70, 16, 9.5, 1.0);
  const IntRect area(0, 0, 150, 32);
  const std::vector<Coverage> whole = Render(p, area, kEvenOddRule);
  PolygonMask mask(p, area, &kEvenOddRule);
  for (std::int32_t y = 0; y < 32; ++y) {
    std::vector<Coverage> row;
    for (std::int32_t x = 0; x < 150; x += 7) {
      const std::vector<Coverage> part = Expand(Collect<Coverage>(mask, x, y, std::min(7, 150 - x)));
      row.insert(row.end(), part.begin(), part.end());
    }
    ASSERT_EQ(row, std::vector<Coverage>(whole.begin() + y * 150, whole.begin() + (y + 1) * 150)) << "row " << y;
  }
}

TEST(PolygonMaskTest, ManyActiveEdgesInAnyOrder) {
  // Two hundred squares in shuffled order, each three columns apart and of its own height, so
  // that hundreds of edges are active at once and start and end on different rows.
  std::mt19937 random(11);
  std::vector<std::int32_t> columns(200);
  for (std::int32_t i = 0; i < 200; ++i) {
    columns[i] = 3 * i;
  }
  std::shuffle(columns.begin(), columns.end(), random);
  Path p;
  std::vector<std::int32_t> heights;
  for (const std::int32_t c : columns) {
    heights.push_back(1 + static_cast<std::int32_t>(random() % 6));
    p.AddRect(c, static_cast<double>(random() % 3), 2, heights.back());
  }
  const IntRect area(0, 0, 600, 10);
  PolygonMask mask(p, area, &kNonZeroRule);
  std::vector<Coverage> expected(600 * 10, 0);
  for (std::size_t i = 0; i < columns.size(); ++i) {
    const double top = p.GetVertices()[i * 5].y;
    for (std::int32_t y = static_cast<std::int32_t>(top); y < top + heights[i]; ++y) {
      expected[y * 600 + columns[i]] = expected[y * 600 + columns[i] + 1] = 255;
    }
  }
  EXPECT_EQ(Render(p, area), expected);
}

TEST(PolygonMaskTest, EdgesLeftOfTheWindowCarryTheirWinding) {
  Path rect;
  rect.AddRect(0.5, 0, 100, 1);
  EXPECT_EQ(Row(rect, 50, 0, 4), (std::vector<Coverage>{255, 255, 255, 255}));
  // A slanted edge that starts left of the window and ends inside it.
  Path slant;
  slant.MoveTo(0, 0).LineTo(20, 1).LineTo(40, 1).LineTo(40, 0).Close();
  const std::vector<Coverage> whole = Row(slant, 0, 0, 40);
  EXPECT_EQ(Row(slant, 12, 0, 10), std::vector<Coverage>(whole.begin() + 12, whole.begin() + 22));
}

TEST(PolygonMaskTest, OpenPathsAreNotClosed) {
  // Without its closing edge the triangle's coverage runs on to the right side of the bounds.
  Path open;
  open.MoveTo(2, 0).LineTo(6, 4).LineTo(2, 4);
  PolygonMask mask(open, IntRect(0, 0, 20, 10), &kNonZeroRule);
  EXPECT_EQ(mask.GetBounds(), IntRect(2, 0, 4, 4));
  EXPECT_EQ(Expand(Collect<Coverage>(mask, 0, 1, 10)), (std::vector<Coverage>{0, 0, 0, 128, 255, 255, 0, 0, 0, 0}));
  Path closed = open;
  closed.Close();
  EXPECT_EQ(Row(closed, 0, 1, 10), (std::vector<Coverage>{0, 0, 255, 128, 0, 0, 0, 0, 0, 0}));
}

TEST(PolygonMaskTest, DegenerateAndClippedEdges) {
  Path empty;
  empty.MoveTo(5, 5).MoveTo(6, 6);
  PolygonMask none(empty, IntRect(0, 0, 10, 10), &kNonZeroRule);
  EXPECT_EQ(none.GetBounds(), IntRect(0, 0, 0, 0));
  EXPECT_EQ(Collect<Coverage>(none, 0, 5, 10), (std::vector<Testing::RunRecord<Coverage>>{Repeated<Coverage>(10, 0)}));

  Path flat;
  flat.MoveTo(0, 3).LineTo(10, 3).LineTo(0, 3).Close();
  EXPECT_EQ(Row(flat, 0, 2, 10), std::vector<Coverage>(10, 0));
  EXPECT_EQ(Row(flat, 0, 3, 10), std::vector<Coverage>(10, 0));

  // Above the clip: the rectangle touches the clip's top row only from above.
  Path above;
  above.AddRect(0, -5, 10, 5);
  PolygonMask clipped(above, IntRect(0, 0, 10, 10), &kNonZeroRule);
  EXPECT_EQ(clipped.GetBounds(), IntRect(0, 0, 0, 0));

  // A path that begins with a line starts from (0, 0).
  Path fromOrigin;
  fromOrigin.LineTo(4, 0).LineTo(4, 2).LineTo(0, 2).Close();
  EXPECT_EQ(Row(fromOrigin, 0, 1, 5), (std::vector<Coverage>{255, 255, 255, 255, 0}));

  // Clipping at the top keeps the part inside.
  Path tall;
  tall.AddRect(1, -50, 2, 100);
  PolygonMask tallMask(tall, IntRect(0, 0, 5, 5), &kNonZeroRule);
  EXPECT_EQ(tallMask.GetBounds(), IntRect(1, 0, 2, 5));
  EXPECT_EQ(Expand(Collect<Coverage>(tallMask, 0, 0, 5)), (std::vector<Coverage>{0, 255, 255, 0, 0}));
}

TEST(PolygonMaskTest, RequestsOutsideTheBoundsYieldZeroWithoutTouchingTheBuffer) {
  Path p;
  p.AddRect(10, 10, 5, 5);
  PolygonMask mask(p, IntRect(0, 0, 40, 40), &kNonZeroRule);
  EXPECT_EQ(mask.GetBounds(), IntRect(10, 10, 5, 5));
  EXPECT_EQ(Expand(Collect<Coverage>(mask, -1000000, 5, 300)), std::vector<Coverage>(300, 0));
  EXPECT_EQ(Expand(Collect<Coverage>(mask, 0, 12, 512)).size(), 512u);
  EXPECT_EQ(Expand(Collect<Coverage>(mask, 2000000000, 12, 512)), std::vector<Coverage>(512, 0));
  std::vector<Coverage> row = Expand(Collect<Coverage>(mask, 8, 13, 12));
  EXPECT_EQ(row, (std::vector<Coverage>{0, 0, 255, 255, 255, 255, 255, 0, 0, 0, 0, 0}));
  // Rows behind the current one are past: zero rather than stale edges.
  EXPECT_EQ(Expand(Collect<Coverage>(mask, 8, 11, 12)), std::vector<Coverage>(12, 0));
  EXPECT_EQ(Expand(Collect<Coverage>(mask, 8, 14, 12)), row);
  EXPECT_EQ(Expand(Collect<Coverage>(mask, 8, 60, 12)), std::vector<Coverage>(12, 0));
}

TEST(PolygonMaskTest, NonFiniteSegmentsAreDropped) {
  Path reference;
  reference.AddRect(1, 1, 3, 3);
  Path p = reference;
  p.MoveTo(kInf, 2).LineTo(5, kNaN).LineTo(2, 2).LineTo(kNaN, kNaN).Close();
  p.MoveTo(-kInf, 0).LineTo(kInf, 0).LineTo(0, kInf).Close();
  const IntRect area(0, 0, 6, 6);
  PolygonMask mask(p, area, &kNonZeroRule);
  EXPECT_EQ(mask.GetBounds(), IntRect(1, 1, 3, 3));
  EXPECT_EQ(Render(p, area), Render(reference, area));
}

TEST(PolygonMaskTest, FarCoordinatesKeepTheirWindingInsideTheClip) {
  const IntRect area(0, 0, 16, 16);
  // A wedge whose tip lies inside the clip and whose other corners lie far away covers the clip
  // like the same wedge cut 1000 pixels left of its tip.
  for (const double far : {1e7, 1e12, 1e30, 1e300}) {
    Path huge;
    huge.MoveTo(-far, -far).LineTo(8.5, 5.25).LineTo(-far, far).Close();
    const double slopeUp = (5.25 + far) / (8.5 + far);
    const double slopeDown = (far - 5.25) / (8.5 + far);
    Path near;
    near.MoveTo(-1000, 5.25 - 1008.5 * slopeUp).LineTo(8.5, 5.25).LineTo(-1000, 5.25 + 1008.5 * slopeDown).Close();
    const std::vector<Coverage> coverage = Render(huge, area);
    const std::vector<Coverage> expected = Render(near, area);
    for (std::size_t i = 0; i < coverage.size(); ++i) {
      ASSERT_NEAR(coverage[i], expected[i], 1) << far << " pixel " << i;
    }
    EXPECT_EQ(coverage[5 * 16 + 3], 255) << far;
    EXPECT_EQ(coverage[5 * 16 + 12], 0) << far;
  }
  // A rectangle reaching far to the left covers like one that ends just left of the clip.
  Path wide;
  wide.AddRect(-1e15, 2.5, 1e15 + 9.75, 7);
  Path narrow;
  narrow.AddRect(-3, 2.5, 12.75, 7);
  EXPECT_EQ(Render(wide, area), Render(narrow, area));
  // The whole plane as clip: nothing overflows and the bounds stay those of the shape.
  Path small;
  small.AddRect(3, 4, 5, 6);
  PolygonMask everywhere(small, WholePlaneRect, &kNonZeroRule);
  EXPECT_EQ(everywhere.GetBounds(), IntRect(3, 4, 5, 6));
  EXPECT_EQ(Expand(Collect<Coverage>(everywhere, 0, 4, 10)),
            (std::vector<Coverage>{0, 0, 0, 255, 255, 255, 255, 255, 0, 0}));
}

TEST(PolygonMaskTest, EdgesTooFlatForAnAreaPerColumnKeepTheirDirection) {
  // A sliver one pixel high with its tip at x = 100, reaching 300000 pixels to the left: its
  // slanted edges rise less than 2^-16 per column. Both orientations cover alike, and nothing
  // between the tip and the square to its right.
  Path downward;
  downward.MoveTo(-300000, 10).LineTo(100, 10.5).LineTo(-300000, 11).Close().AddRect(180, 5, 10, 10);
  Path upward;
  upward.MoveTo(-300000, 10).LineTo(-300000, 11).LineTo(100, 10.5).Close().AddRect(180, 5, 10, 10);
  const IntRect area(0, 8, 200, 5);
  const std::vector<Coverage> coverage = Render(upward, area);
  EXPECT_EQ(coverage, Render(downward, area));
  const auto at = [&](std::int32_t x, std::int32_t y) { return coverage[(y - 8) * 200 + x]; };
  for (std::int32_t x = 101; x < 180; ++x) {
    ASSERT_EQ(at(x, 10), 0) << x;
  }
  EXPECT_EQ(at(185, 10), 255);
  EXPECT_EQ(at(185, 9), 255);
}

TEST(PolygonMaskTest, WindingBeyondThirtyTwoBitsDoesNotOverflow) {
  // Forty thousand copies of one square: the accumulated area exceeds 2^31 and wraps.
  Path p;
  for (int i = 0; i < 40000; ++i) {
    p.AddRect(0, 0, 2, 1);
  }
  EXPECT_EQ(Row(p, 0, 0, 3), (std::vector<Coverage>{255, 255, 0}));
  EXPECT_EQ(Row(p, 0, 0, 3, kEvenOddRule), (std::vector<Coverage>{0, 0, 0}));
}

}  // namespace
}  // namespace QorRaster
