#include "raster/geometry.h"

#include <algorithm>

namespace QorRaster {

// Rectangles built from coordinates within plus or minus 2^30 keep every sum in range; wider
// results (from rectangles outside that range) are clamped instead of wrapping.
IntRect IntRect::Unite(const IntRect& other) const {
  if (width == 0 && height == 0) {
    return other;
  }
  if (other.width == 0 && other.height == 0) {
    return *this;
  }
  const std::int64_t left = std::min(x, other.x);
  const std::int64_t top = std::min(y, other.y);
  const std::int64_t right = std::max(std::int64_t{x} + width, std::int64_t{other.x} + other.width);
  const std::int64_t bottom = std::max(std::int64_t{y} + height, std::int64_t{other.y} + other.height);
  return IntRect(static_cast<std::int32_t>(left), static_cast<std::int32_t>(top), SaturateToInt32(right - left),
                 SaturateToInt32(bottom - top));
}

IntRect IntRect::Intersect(const IntRect& other) const {
  const std::int64_t left = std::max(x, other.x);
  const std::int64_t top = std::max(y, other.y);
  const std::int64_t right = std::min(std::int64_t{x} + width, std::int64_t{other.x} + other.width);
  const std::int64_t bottom = std::min(std::int64_t{y} + height, std::int64_t{other.y} + other.height);
  if (right - left < 1 || bottom - top < 1) {
    return EmptyRect;
  }
  return IntRect(static_cast<std::int32_t>(left), static_cast<std::int32_t>(top), SaturateToInt32(right - left),
                 SaturateToInt32(bottom - top));
}

}  // namespace QorRaster
