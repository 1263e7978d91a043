// Ready-made subpaths. Each opens its own subpath with a move; all but the line end with a close.
// The vertex order matters to strokes and dashes, which start at the first vertex.
#include <cmath>
#include <numbers>

#include "raster/path.h"

namespace QorRaster {
namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr double kQuarterTurn = std::numbers::pi / 2.0;
// A full turn less 1e-8, which absorbs the rounding of summed angle steps.
constexpr double kFullTurnLimit = 6.283185297179586;

}  // namespace

Path& Path::AddLine(double x1, double y1, double x2, double y2) { return MoveTo(x1, y1).LineTo(x2, y2); }

Path& Path::AddRect(double x, double y, double width, double height) {
  return MoveTo(x, y).LineTo(x + width, y).LineTo(x + width, y + height).LineTo(x, y + height).Close();
}

Path& Path::AddRoundedRect(double x, double y, double width, double height, double rx, double ry,
                           double quality) {
  if (!(rx >= 1e-8 && ry >= 1e-8)) {
    return AddRect(x, y, width, height);
  }
  const double k = rx / ry;
  const double right = x + width;
  const double bottom = y + height;
  MoveTo(x + rx, y).LineTo(right - rx, y).ArcTo(right - rx, y + ry, kQuarterTurn, k, quality);
  LineTo(right, y + ry).LineTo(right, bottom - ry).ArcTo(right - rx, bottom - ry, kQuarterTurn, k, quality);
  LineTo(right - rx, bottom).LineTo(x + rx, bottom).ArcTo(x + rx, bottom - ry, kQuarterTurn, k, quality);
  LineTo(x, bottom - ry).LineTo(x, y + ry).ArcTo(x + rx, y + ry, kQuarterTurn, k, quality);
  return Close();
}

Path& Path::AddCircle(double cx, double cy, double r, double quality) {
  return MoveTo(cx + r, cy).ArcTo(cx, cy, kTwoPi, 1.0, quality).Close();
}

Path& Path::AddEllipse(double cx, double cy, double rx, double ry, double quality) {
  if (std::fabs(rx) >= 1e-8 && std::fabs(ry) >= 1e-8) {
    // The signs of the radii choose the start side and the direction; the aspect is |rx / ry|.
    const double direction = (rx < 0.0) != (ry < 0.0) ? -1.0 : 1.0;
    return MoveTo(cx + rx, cy).ArcTo(cx, cy, direction * kTwoPi, direction * rx / ry, quality).Close();
  }
  if (std::fabs(rx) >= 1e-8) {
    return MoveTo(cx - rx, cy).LineTo(cx + rx, cy).Close();
  }
  return MoveTo(cx, cy - ry).LineTo(cx, cy + ry).Close();
}

Path& Path::AddStar(std::int32_t count, double cx, double cy, double r1, double r2, double rotation) {
  double dx = std::sin(rotation);
  double dy = -std::cos(rotation);
  MoveTo(cx + r1 * dx, cy + r1 * dy);
  // A count below 2 has no vertices besides the first (a negative one included).
  const double step = count > 0 ? kTwoPi / count : kTwoPi;
  if (step < kFullTurnLimit) {
    const double cs = std::cos(step);
    const double sn = std::sin(step);
    Reserve(static_cast<std::size_t>(count));
    double angle = step;
    for (std::int32_t k = 1;; ++k) {
      const double rx = dx * cs - dy * sn;
      dy = dx * sn + dy * cs;
      dx = rx;
      angle += step;
      const double r = (k & 1) != 0 ? r2 : r1;
      LineTo(cx + r * dx, cy + r * dy);
      if (angle >= kFullTurnLimit) {
        break;
      }
    }
  }
  return Close();
}

}  // namespace QorRaster
