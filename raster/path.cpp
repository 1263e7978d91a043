#include "raster/path.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace QorRaster {
namespace {

// Pixel bounds are kept within the whole-plane rectangle's coordinate range.
constexpr double kPlaneMin = -0x40000000;
constexpr double kPlaneMax = 0x3FFFFFFF;

std::int32_t ToPlaneCoordinate(double v) { return static_cast<std::int32_t>(std::clamp(v, kPlaneMin, kPlaneMax)); }

// The largest x or y of the vertices, for boxes whose left or top edge lies at minus infinity,
// where x + width gives no number.
double Largest(const std::vector<Path::Vertex>& vertices, double Path::Vertex::*coordinate) {
  double largest = -std::numeric_limits<double>::infinity();
  for (const Path::Vertex& v : vertices) {
    largest = std::max(largest, v.*coordinate);
  }
  return largest;
}

}  // namespace

Point Path::GetCurrentPoint() const {
  if (fVertices.empty()) {
    return Point();
  }
  return Point(fVertices.back().x, fVertices.back().y);
}

Path& Path::MoveTo(double x, double y) {
  Push(kMove, x, y);
  fOpenSubpath = static_cast<std::int64_t>(fVertices.size()) - 1;
  return *this;
}

Path& Path::LineTo(double x, double y) {
  Push(kLine, x, y);
  return *this;
}

Path& Path::Close() {
  if (fOpenSubpath < 0) {
    Push(kClose, 0.0, 0.0);
  } else {
    const Vertex& start = fVertices[static_cast<std::size_t>(fOpenSubpath)];
    Push(kClose, start.x, start.y);
  }
  return *this;
}

Path& Path::Append(const Path& other) {
  if (&other == this) {
    const Path copy = other;
    return Append(copy);
  }
  const std::int64_t base = static_cast<std::int64_t>(fVertices.size());
  PushRange(other.fVertices.data(), other.fVertices.data() + other.fVertices.size());
  if (other.fOpenSubpath != -1) {
    fOpenSubpath = base + other.fOpenSubpath;
  }
  return *this;
}

Path& Path::CloseAll() {
  Path closed;
  closed.Reserve(fVertices.size() + fVertices.size() / 2 + 1);
  const std::size_t count = fVertices.size();
  std::size_t start = 0;
  while (start < count) {
    // A range ends before a move that directly follows a line; moves after moves or closes stay
    // inside it. Its close goes back to the last move or close in it ((0, 0) when there is none).
    Point closePoint;
    std::size_t end = start;
    while (end < count) {
      const Vertex& v = fVertices[end];
      if (v.kind != kLine) {
        closePoint = Point(v.x, v.y);
      }
      ++end;
      if (end < count && fVertices[end].kind == kMove && v.kind == kLine) {
        break;
      }
    }
    closed.PushRange(fVertices.data() + start, fVertices.data() + end);
    if (closed.fVertices.back().kind != kClose) {
      closed.Push(kClose, closePoint.x, closePoint.y);
    }
    start = end;
  }
  const std::int64_t last = static_cast<std::int64_t>(closed.fVertices.size()) - 1;
  Replace(std::move(closed.fVertices), last);
  return *this;
}

Rect Path::GetBounds() const {
  if (fVertices.empty()) {
    return Rect();
  }
  double minX = fVertices.front().x;
  double maxX = minX;
  double minY = fVertices.front().y;
  double maxY = minY;
  for (const Vertex& v : fVertices) {
    minX = std::min(minX, v.x);
    maxX = std::max(maxX, v.x);
    minY = std::min(minY, v.y);
    maxY = std::max(maxY, v.y);
  }
  return Rect(minX, minY, maxX - minX, maxY - minY);
}

IntRect Path::GetIntBounds() const {
  // The box passes over coordinates that are no numbers unless they come first; any one of them
  // leaves no box to cover.
  if (std::any_of(fVertices.begin(), fVertices.end(),
                  [](const Vertex& v) { return std::isnan(v.x) || std::isnan(v.y); })) {
    return EmptyRect;
  }
  const Rect box = GetBounds();
  const double left = std::floor(box.x);
  const double top = std::floor(box.y);
  const double right = std::ceil(std::isinf(box.x) ? Largest(fVertices, &Vertex::x) : box.x + box.width);
  const double bottom = std::ceil(std::isinf(box.y) ? Largest(fVertices, &Vertex::y) : box.y + box.height);
  const std::int32_t l = ToPlaneCoordinate(left);
  const std::int32_t t = ToPlaneCoordinate(top);
  return IntRect(l, t, ToPlaneCoordinate(right) - l, ToPlaneCoordinate(bottom) - t);
}

Path& Path::Transform(const QorRaster::Transform& t) {
  if (t == QorRaster::Transform()) {
    return *this;
  }
  for (Vertex& v : fVertices) {
    const double x = v.x;
    const double y = v.y;
    v.x = t.a * x + t.b * y + t.c;
    v.y = t.d * x + t.e * y + t.f;
  }
  return *this;
}

void Path::PushRange(const Vertex* first, const Vertex* last) {
  if (static_cast<std::size_t>(last - first) > kMaxPathVertices - fVertices.size()) {
    ThrowLimit();
  }
  fVertices.insert(fVertices.end(), first, last);
}

void Path::Reserve(std::size_t count) {
  fVertices.reserve(fVertices.size() + std::min(count, kMaxPathVertices - fVertices.size()));
}

void Path::ThrowLimit() { throw LimitException("Too many path vertices"); }

void Path::Replace(std::vector<Vertex>&& vertices, std::int64_t openSubpath) {
  fVertices = std::move(vertices);
  fOpenSubpath = openSubpath;
}

}  // namespace QorRaster
