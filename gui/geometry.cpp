#include "gui/geometry.h"

#include <algorithm>
#include <cmath>

namespace Wex {

namespace {

// An integer pixel coordinate from a double: cut toward zero, clamped into the bounds of the
// infinite rectangle; NaN, which has no position, takes the given bound.
std::int32_t ToPixel(double v, std::int32_t forNaN) {
  if (std::isnan(v)) return forNaN;
  return static_cast<std::int32_t>(std::clamp(v, double(kInfiniteRectMin), double(kInfiniteRectMax)));
}

// A double rounded to single precision; values beyond the pixel range are clamped first, so the
// narrowing never overflows.
double ToSingle(double v) {
  if (std::isnan(v)) return v;
  constexpr double kLimit = 4.0 * kInfiniteRectMax;
  return static_cast<float>(std::clamp(v, -kLimit, kLimit));
}

}  // namespace

cRect Intersection(const cRect& a, const cRect& b) {
  if (!Overlaps(a, b)) return {};
  return {std::max(a.fLeft, b.fLeft), std::max(a.fTop, b.fTop), std::min(a.fRight, b.fRight),
          std::min(a.fBottom, b.fBottom)};
}

void ToCGRect(const cRect& r, Platform::Rect& out) {
  out.x = static_cast<float>(r.fLeft);
  out.y = static_cast<float>(r.fTop);
  out.width = static_cast<float>(r.Width());
  out.height = static_cast<float>(r.Height());
}

Platform::Rect ToCGRect(const cRect& r) {
  Platform::Rect out;
  ToCGRect(r, out);
  return out;
}

cRect ToEnclosingRect(const Platform::Rect& r) {
  if (Platform::IsNull(r)) return {};
  if (Platform::IsInfinite(r)) return {kInfiniteRectMin, kInfiniteRectMin, kInfiniteRectMax, kInfiniteRectMax};
  return {ToPixel(std::floor(r.x), kInfiniteRectMin), ToPixel(std::floor(r.y), kInfiniteRectMin),
          ToPixel(std::ceil(r.x + r.width), kInfiniteRectMax), ToPixel(std::ceil(r.y + r.height), kInfiniteRectMax)};
}

cRect ToRect(const Platform::Rect& r) {
  return {ToPixel(r.x, kInfiniteRectMin), ToPixel(r.y, kInfiniteRectMin),
          ToPixel(std::ceil(ToSingle(r.x + r.width)), kInfiniteRectMax),
          ToPixel(std::ceil(ToSingle(r.y + r.height)), kInfiniteRectMax)};
}

cPoint ToPoint(const Platform::Point& p) {
  return {ToPixel(ToSingle(p.x), kInfiniteRectMin), ToPixel(ToSingle(p.y), kInfiniteRectMin)};
}

std::int32_t RoundToPixel(double v) { return ToPixel(std::round(ToSingle(v)), 0); }

}  // namespace Wex
