// Curve flattening: quadratic and cubic Bezier curves by forward differencing, elliptical arcs by
// rotating with a fixed cosine and sine. The number of lines follows from the curve's second
// derivative (curves) or radius (arcs) and the caller's quality.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "raster/arc_step.h"
#include "raster/path.h"

namespace QorRaster {
namespace {

// Curves with more steps than this are flattened with this many; no display needs more.
constexpr double kMaxCurveSteps = 65536;
// A step count of n + 1 must stay a positive 32-bit number.
constexpr double kStepCountLimit = 2147483646;
// Arcs of very large sweeps stop rotating after this many vertices (over 300 full turns).
constexpr std::int32_t kMaxArcSteps = 65536;

// Line count of a curve whose second derivative has the squared length d2, or 0 when it is not
// a number or too large to count.
std::int32_t CurveSteps(double d2, double quality) {
  const double n = std::trunc(std::sqrt(std::sqrt(d2) * quality * 0.707) + 0.5);
  if (!(n >= 0.0 && n <= kStepCountLimit)) {
    return 0;
  }
  return static_cast<std::int32_t>(std::min(n + 1.0, kMaxCurveSteps));
}

double SquaredLength(double x, double y) { return x * x + y * y; }

}  // namespace

Path& Path::QuadTo(double cx, double cy, double x, double y, double quality) {
  const Point p0 = GetCurrentPoint();
  const double dx = 2.0 * (p0.x - 2.0 * cx + x);
  const double dy = 2.0 * (p0.y - 2.0 * cy + y);
  const std::int32_t steps = CurveSteps(SquaredLength(dx, dy), quality);
  if (steps < 1) {
    return *this;
  }
  const double h = 1.0 / steps;
  AppendDifferences(p0, Point(2.0 * h * (cx - p0.x) + 0.5 * h * h * dx, 2.0 * h * (cy - p0.y) + 0.5 * h * h * dy),
                    Point(h * h * dx, h * h * dy), Point(0, 0), steps);
  return *this;
}

Path& Path::CubicTo(double c1x, double c1y, double c2x, double c2y, double x, double y, double quality) {
  const Point p0 = GetCurrentPoint();
  const double ax = 6.0 * (p0.x - 2.0 * c1x + c2x);
  const double ay = 6.0 * (p0.y - 2.0 * c1y + c2y);
  const double bx = 6.0 * (c1x - 2.0 * c2x + x);
  const double by = 6.0 * (c1y - 2.0 * c2y + y);
  const double a2 = SquaredLength(ax, ay);
  const double b2 = SquaredLength(bx, by);
  // A NaN on either side makes the count NaN.
  const std::int32_t steps = CurveSteps(a2 < b2 || std::isnan(b2) ? b2 : a2, quality);
  if (steps < 1) {
    return *this;
  }
  const double h = 1.0 / steps;
  const double h2 = h * h;
  const double tx = 6.0 * h2 * h * (3.0 * (c1x - c2x) + x - p0.x);
  const double ty = 6.0 * h2 * h * (3.0 * (c1y - c2y) + y - p0.y);
  const Point first(3.0 * h * (c1x - p0.x) + 0.5 * h2 * ax + tx / 6.0,
                    3.0 * h * (c1y - p0.y) + 0.5 * h2 * ay + ty / 6.0);
  AppendDifferences(p0, first, Point(h2 * ax + tx, h2 * ay + ty), Point(tx, ty), steps);
  return *this;
}

void Path::AppendDifferences(Point start, Point first, Point second, Point third, std::int32_t steps) {
  Reserve(static_cast<std::size_t>(steps));
  Point p = start;
  for (std::int32_t i = 0; i < steps; ++i) {
    p.x += first.x;
    p.y += first.y;
    first.x += second.x;
    first.y += second.y;
    second.x += third.x;
    second.y += third.y;
    LineTo(p.x, p.y);
  }
}

Path& Path::ArcTo(double cx, double cy, double sweep, double aspect, double quality) {
  if (!std::isfinite(sweep) || !std::isfinite(aspect)) {
    return *this;
  }
  const Point start = GetCurrentPoint();
  // The start point in the frame where the ellipse is a circle.
  const double u0 = (start.x - cx) / aspect;
  const double v0 = start.y - cy;
  const double e = std::max(2.0 * std::fabs(aspect), 2.0) * std::sqrt(u0 * u0 + v0 * v0);
  const double step = e >= 1e-8 ? ArcStep(e * quality) : 2.0 * std::numbers::pi;
  const double c = std::cos(step);
  const double s = sweep >= 0.0 ? std::sin(step) : -std::sin(step);
  const double extent = std::fabs(sweep) - 1e-8;
  double u = u0;
  double v = v0;
  double angle = step;
  for (std::int32_t i = 0; angle < extent && i < kMaxArcSteps; ++i) {
    const double ru = c * u - s * v;
    v = s * u + c * v;
    u = ru;
    LineTo(cx + aspect * u, cy + v);
    angle += step;
  }
  // The end point is computed exactly rather than accumulated.
  const double ec = std::cos(sweep);
  const double es = std::sin(sweep);
  return LineTo(cx + aspect * (u0 * ec - v0 * es), cy + v0 * ec + u0 * es);
}

}  // namespace QorRaster
