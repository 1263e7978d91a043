#pragma once

// Integer pixel geometry of the GUI layer and its conversions to and from the platform's
// geometry in doubles. Rectangles are left, top, right, bottom with right and bottom just outside.

#include "platform/geometry.h"

#include <cstdint>

namespace Wex {

// Coordinate arithmetic wraps in 32 bits, as the machine does, instead of overflowing.
constexpr std::int32_t WrapAdd(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}
constexpr std::int32_t WrapSub(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}

struct cPoint {
  std::int32_t fX = 0;
  std::int32_t fY = 0;

  friend bool operator==(const cPoint&, const cPoint&) = default;
  friend cPoint operator+(const cPoint& a, const cPoint& b) { return {WrapAdd(a.fX, b.fX), WrapAdd(a.fY, b.fY)}; }
  friend cPoint operator-(const cPoint& a, const cPoint& b) { return {WrapSub(a.fX, b.fX), WrapSub(a.fY, b.fY)}; }
  cPoint operator-() const { return {WrapSub(0, fX), WrapSub(0, fY)}; }
};

struct cRect {
  std::int32_t fLeft = 0;
  std::int32_t fTop = 0;
  std::int32_t fRight = 0;
  std::int32_t fBottom = 0;

  friend bool operator==(const cRect&, const cRect&) = default;

  std::int32_t Width() const { return WrapSub(fRight, fLeft); }
  std::int32_t Height() const { return WrapSub(fBottom, fTop); }
  cPoint TopLeft() const { return {fLeft, fTop}; }
  cRect Moved(const cPoint& d) const {
    return {WrapAdd(fLeft, d.fX), WrapAdd(fTop, d.fY), WrapAdd(fRight, d.fX), WrapAdd(fBottom, d.fY)};
  }
  bool Contains(const cPoint& p) const { return fLeft <= p.fX && p.fX < fRight && fTop <= p.fY && p.fY < fBottom; }
};

// Rectangles overlap when they share at least one pixel; rectangles that only touch do not.
inline bool Overlaps(const cRect& a, const cRect& b) {
  return a.fTop < b.fBottom && a.fLeft < b.fRight && b.fTop < a.fBottom && b.fLeft < a.fRight;
}

// The common part of two rectangles, (0, 0, 0, 0) when they do not overlap.
cRect Intersection(const cRect& a, const cRect& b);

// The bounds that stand for the whole plane; conversions clamp into them.
inline constexpr std::int32_t kInfiniteRectMin = -1073741824;
inline constexpr std::int32_t kInfiniteRectMax = 1073741823;

// Each integer passes through single precision, so values beyond 2^24 arrive rounded.
void ToCGRect(const cRect& r, Platform::Rect& out);
Platform::Rect ToCGRect(const cRect& r);

// The smallest integer rectangle covering r: the null rectangle gives (0, 0, 0, 0), the infinite
// one (kInfiniteRectMin, kInfiniteRectMin, kInfiniteRectMax, kInfiniteRectMax).
cRect ToEnclosingRect(const Platform::Rect& r);

// The origin cut toward zero; right and bottom rounded up in single precision.
cRect ToRect(const Platform::Rect& r);

// Each coordinate rounded to single precision, then cut toward zero.
cPoint ToPoint(const Platform::Point& p);

// A coordinate rounded to single precision, then to the nearest integer with halves away from
// zero; clamped like the conversions above (NaN gives 0).
std::int32_t RoundToPixel(double v);

}  // namespace Wex
