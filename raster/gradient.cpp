#include "raster/gradient.h"

#include <algorithm>
#include <cmath>

#include "raster/geometry.h"

namespace QorRaster {
namespace {

// Fixed-point quantities of the gradients are 64-bit and kept within plus or minus 2^61, so
// that the walks below can add two of them, or a step times a span length, without overflow.
constexpr std::int64_t kFixedLimit = std::int64_t{1} << 61;

std::int64_t ToFixed(double v) {
  return std::clamp(TruncateSaturated<std::int64_t>(v), -kFixedLimit, kFixedLimit);
}

std::int64_t AddFixed(std::int64_t a, std::int64_t b) { return std::clamp(a + b, -kFixedLimit, kFixedLimit); }

}  // namespace

LinearMask::LinearMask(double x0, double y0, double x1, double y1) : fX0(x0), fY0(y0) {
  const double dx = x1 - x0;
  const double dy = y1 - y0;
  const double length = std::sqrt(dx * dx + dy * dy);
  const double k = length == 0.0 ? 0.0 : 65536.0 / (length * length);
  fDx = dx * k;
  fDy = dy * k;
}

// t is the 16.16 position of a column (65536 at the end point) and grows by step per column;
// the value is t >> 8 limited to 0..255. Stretches where t lies outside 1..65535 are constant
// and become repeated runs; the rest is a literal ramp.
void LinearMask::Render(std::int32_t x, std::int32_t y, std::int32_t count, MaskSpanList& list) {
  std::int64_t t = ToFixed((x - fX0) * fDx + (y - fY0) * fDy);
  const std::int64_t step = ToFixed(fDx);
  std::int64_t left = count;
  while (left > 0) {
    std::int64_t n = left;
    if (step == 0 || t < 1 || t > 65535) {
      if (t < 1 && step > 0) {
        n = (-t) / step + 1;  // until t reaches 1
      } else if (t > 65535 && step < 0) {
        n = (65536 - t) / step + 1;  // until t drops below 65536
      }
      n = std::min(n, left);
      list.AppendValue(static_cast<std::int32_t>(n), static_cast<Coverage>(std::clamp<std::int64_t>(t >> 8, 0, 255)));
    } else {
      n = std::min(step > 0 ? (65535 - t + step) / step : (t - 1 - step) / (-step), left);
      Coverage* values = list.fStorageCursor;
      std::int64_t ti = t;
      for (std::int64_t i = 0; i < n; ++i, ti += step) {
        values[i] = static_cast<Coverage>(ti >> 8);
      }
      list.AppendLiteral(static_cast<std::int32_t>(n), values, false);
    }
    left -= n;
    if (left > 0) {
      t += n * step;
    }
  }
}

const std::array<Coverage, 4096>& RadialRamp() {
  static const std::array<Coverage, 4096> ramp = [] {
    std::array<Coverage, 4096> r{};
    r[0] = 255;
    for (int i = 1; i < 4096; ++i) {
      r[static_cast<std::size_t>(i)] =
          static_cast<Coverage>(255 - static_cast<int>(std::floor(255.0 * std::sqrt(i / 4095.0) + 0.5)));
    }
    return r;
  }();
  return ramp;
}

RadialMask::RadialMask(double cx, double cy, double rx, double ry)
    : fCx(cx), fCy(cy), fRx(std::fabs(rx)), fRy(std::fabs(ry)) {
  fEmpty = !(fRx >= 1e-8 && fRy >= 1e-8);
  fKy = fEmpty ? 0.0 : 1073741824.0 / (fRy * fRy);
  fKx = fEmpty ? 0.0 : 1073741824.0 / (fRx * fRx);
  RadialRamp();
}

IntRect RadialMask::GetBounds() const {
  if (fEmpty) {
    return EmptyRect;
  }
  const auto edge = [](double v) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(TruncateSaturated<std::int64_t>(v), WholePlaneRect.x,
                                                              WholePlaneRect.GetRight()));
  };
  const std::int32_t left = edge(std::floor(fCx - fRx));
  const std::int32_t top = edge(std::floor(fCy - fRy));
  return IntRect(left, top, edge(std::ceil(fCx + fRx)) - left, edge(std::ceil(fCy + fRy)) - top);
}

// Each row has one inside stretch, found with one square root; the rest is transparent.
void RadialMask::Render(std::int32_t x, std::int32_t y, std::int32_t count, MaskSpanList& list) {
  if (fEmpty) {
    list.AppendTransparent(count);
    return;
  }
  const double dy = y + 0.5 - fCy;
  const double w = 1.0 - dy * dy / (fRy * fRy);
  const double half = w > 1e-8 ? std::sqrt(w) * fRx : 0.0;
  const double c = fCx + 0.5 - x;
  const std::int64_t start = std::clamp<std::int64_t>(TruncateSaturated<std::int64_t>(std::floor(c - half)), 0, count);
  const std::int64_t end = std::min<std::int64_t>(TruncateSaturated<std::int64_t>(std::floor(c + half)), count);
  if (start >= end) {
    list.AppendTransparent(count);
    return;
  }
  if (start > 0) {
    list.AppendTransparent(static_cast<std::int32_t>(start));
  }
  const std::int32_t n = static_cast<std::int32_t>(end - start);
  Coverage* values = list.fStorageCursor;
  RenderInside(std::int64_t{x} + start, dy, n, values);
  list.AppendLiteral(n, values, false);
  if (end < count) {
    list.AppendTransparent(static_cast<std::int32_t>(count - end));
  }
}

// Q is the squared elliptical distance of the pixel centre in units of 2^-30 (less Kx / 4),
// advanced by second differences: no square root per pixel. Groups of four pixels inside the
// innermost sixteenth of the radius use a finer ramp index.
void RadialMask::RenderInside(std::int64_t x, double dy, std::int32_t count, Coverage* values) const {
  const std::array<Coverage, 4096>& ramp = RadialRamp();
  const double px = static_cast<double>(x) - fCx;
  std::int64_t q = ToFixed(std::floor(dy * dy * fKy + px * px * fKx + px * fKx + 0.5));
  std::int64_t d = ToFixed(std::floor(2.0 * px * fKx + 0.5));
  const std::int64_t s2 = ToFixed(std::floor(2.0 * fKx + 0.5));
  constexpr std::int64_t kFine = 0x400000;
  const auto next = [&] {
    const std::int64_t current = std::clamp<std::int64_t>(q, 0, 0x3FFFFFFF);
    d = AddFixed(d, s2);
    q = AddFixed(q, d);
    return current;
  };
  const auto fine = [&](std::int64_t v) { return static_cast<Coverage>((ramp[static_cast<std::size_t>(v >> 10)] + 3825) >> 4); };
  const auto coarse = [&](std::int64_t v) { return ramp[static_cast<std::size_t>(v >> 18)]; };
  std::int32_t i = 0;
  for (; count - i >= 4; i += 4) {
    const std::int64_t g[4] = {next(), next(), next(), next()};
    const bool allFine = g[0] < kFine && g[1] < kFine && g[2] < kFine && g[3] < kFine;
    for (int k = 0; k < 4; ++k) {
      values[i + k] = allFine ? fine(g[k]) : coarse(g[k]);
    }
  }
  for (; i < count; ++i) {
    const std::int64_t v = next();
    values[i] = v < kFine ? fine(v) : coarse(v);
  }
}

}  // namespace QorRaster
