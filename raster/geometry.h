// Geometry values of the raster library: points and rectangles in doubles, pixel rectangles in
// 32-bit integers, and the checked conversion from doubles to integers.
#pragma once

#include <algorithm>
#include <concepts>
#include <cstdint>
#include <limits>

namespace QorRaster {

// Truncates toward zero like a plain cast, but saturates where a cast would be undefined:
// values beyond the type's range give its minimum or maximum, and NaN gives the minimum (the
// "integer indefinite" value of the hardware conversion).
template <std::signed_integral Integer>
constexpr Integer TruncateSaturated(double value) {
  constexpr double kLimit = -static_cast<double>(std::numeric_limits<Integer>::min());  // 2^(bits-1)
  if (!(value > -kLimit - 1.0)) {  // also NaN
    return std::numeric_limits<Integer>::min();
  }
  if (value >= kLimit) {
    return std::numeric_limits<Integer>::max();
  }
  return static_cast<Integer>(value);
}

// A 64-bit value clamped into the 32-bit range.
constexpr std::int32_t SaturateToInt32(std::int64_t v) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, std::numeric_limits<std::int32_t>::min(),
                                                            std::numeric_limits<std::int32_t>::max()));
}

// Coordinates move with wrap-around instead of overflowing: the low 32 bits of a 64-bit sum.
// Within the whole-plane range the result is exact.
constexpr std::int32_t Wrapped(std::int64_t v) { return static_cast<std::int32_t>(v); }

struct Point {
  double x = 0.0;
  double y = 0.0;

  constexpr Point() = default;
  constexpr Point(double px, double py) : x(px), y(py) {}
  void Clear() { *this = Point(); }
};

struct Rect {
  double x = 0.0;
  double y = 0.0;
  double width = 0.0;
  double height = 0.0;

  constexpr Rect() = default;
  constexpr Rect(double rx, double ry, double w, double h) : x(rx), y(ry), width(w), height(h) {}
  void Clear() { *this = Rect(); }
  double GetRight() const { return x + width; }
  double GetBottom() const { return y + height; }
  Rect Offset(double dx, double dy) const { return Rect(x + dx, y + dy, width, height); }
};

// Covers the columns x to x + width - 1 and the rows y to y + height - 1.
struct IntRect {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;

  constexpr IntRect() = default;
  constexpr IntRect(std::int32_t rx, std::int32_t ry, std::int32_t w, std::int32_t h)
      : x(rx), y(ry), width(w), height(h) {}
  void Clear() { *this = IntRect(); }
  constexpr std::int32_t GetRight() const { return Wrapped(std::int64_t{x} + width); }
  constexpr std::int32_t GetBottom() const { return Wrapped(std::int64_t{y} + height); }
  constexpr bool IsEmpty() const { return width <= 0 || height <= 0; }
  constexpr bool operator==(const IntRect&) const = default;

  // Smallest rectangle holding both; a rectangle counts as empty here only when both of its
  // sides are zero.
  IntRect Unite(const IntRect& other) const;
  // Common part, or the all-zero rectangle when they do not overlap.
  IntRect Intersect(const IntRect& other) const;
};

inline constexpr IntRect EmptyRect{0, 0, 0, 0};
// Reported as bounds by unlimited sources; x + width and y + height are 0x3FFFFFFF, so sums of
// its fields never overflow.
inline constexpr IntRect WholePlaneRect{-0x40000000, -0x40000000, 0x7FFFFFFF, 0x7FFFFFFF};

}  // namespace QorRaster
