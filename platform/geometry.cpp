#include "platform/geometry.h"

#include <limits>

namespace Platform {

namespace {
constexpr double kInfinity = std::numeric_limits<double>::infinity();
}

Rect NullRect() { return {kInfinity, kInfinity, 0.0, 0.0}; }

Rect InfiniteRect() { return {-kInfinity, -kInfinity, kInfinity, kInfinity}; }

bool IsNull(const Rect& r) { return r.x == kInfinity || r.y == kInfinity; }

bool IsInfinite(const Rect& r) {
  return r.x == -kInfinity && r.y == -kInfinity && r.width == kInfinity && r.height == kInfinity;
}

Rect RectFromExtents(double x1, double y1, double x2, double y2) {
  if (!(x2 > x1) || !(y2 > y1)) return NullRect();
  return {x1, y1, x2 - x1, y2 - y1};
}

}  // namespace Platform
