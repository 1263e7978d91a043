#include "raster/color.h"

#include "raster/geometry.h"

namespace QorRaster {
namespace {

constexpr double kM = 255.99999999;

// Truncated toward zero; out-of-range inputs keep only the low 8 bits, so a channel never
// spills into its neighbours.
std::uint32_t Channel(double v) { return static_cast<std::uint32_t>(TruncateSaturated<std::int32_t>(v)) & 0xFFu; }

Pixel Opaque(std::uint32_t r, std::uint32_t g, std::uint32_t b) { return 0xFF000000u | r << 16 | g << 8 | b; }

}  // namespace

Pixel HSVToARGB(double h, double s, double v, double a) {
  const std::uint32_t alpha = Channel(a * kM);
  if (v == 0.0) {
    return alpha << 24;
  }
  if (s == 0.0) {
    const std::uint32_t g = Channel(v * kM);
    return ScalePixel(Opaque(g, g, g), alpha);
  }
  const double h6 = 6.0 * h;
  std::int32_t i = TruncateSaturated<std::int32_t>(h6);
  const double f = h6 - i;
  if (i == 6 && f == 0.0) {  // h = 1 is the same hue as h = 0
    i = 0;
  }
  const std::uint32_t vv = Channel(v * kM);
  const std::uint32_t p = Channel(v * (1.0 - s) * kM);
  const std::uint32_t q = Channel((1.0 - f * s) * v * kM);
  const std::uint32_t t = Channel((1.0 - (1.0 - f) * s) * v * kM);
  Pixel colour = 0;
  switch (i) {
    case 0: colour = Opaque(vv, t, p); break;
    case 1: colour = Opaque(q, vv, p); break;
    case 2: colour = Opaque(p, vv, t); break;
    case 3: colour = Opaque(p, q, vv); break;
    case 4: colour = Opaque(t, p, vv); break;
    case 5: colour = Opaque(vv, p, q); break;
    default: return 0;
  }
  return ScalePixel(colour, alpha);
}

}  // namespace QorRaster
