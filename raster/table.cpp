#include "raster/table.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "raster/geometry.h"

namespace QorRaster {
namespace {

// Walks the stops over the 256 entries: positions in 1/255 steps, the first and last stop
// extended to both ends, and per entry an interpolation fraction f of 0 to 256 between the
// values of the segment that holds it. Positions far outside 0..1 saturate; out-of-order stops
// give defined (if meaningless) fractions, because the walk runs in 64 bits.
template <typename Value, typename Interpolate>
bool BuildRamp(std::span<const Stop<Value>> stops, std::array<Value, 256>& entries, Interpolate interpolate) {
  const std::size_t n = stops.size();
  if (n == 0) {
    entries.fill(0);
    return false;
  }
  std::vector<std::int64_t> positions(n + 2);
  std::vector<Value> values(n + 2);
  positions[0] = 0;
  for (std::size_t k = 1; k <= n; ++k) {
    positions[k] = TruncateSaturated<std::int32_t>(std::floor(255.0 * stops[k - 1].position + 0.5));
    values[k] = stops[k - 1].value;
  }
  values[0] = values[1];
  values[n + 1] = values[n];
  positions[n + 1] = 256;

  bool full = true;
  std::size_t j = 0;
  std::int64_t slope = 0;
  for (std::int64_t e = 0; e < 256; ++e) {
    while (positions[j + 1] <= e) {
      // A segment of no length keeps the previous slope and is passed over at once.
      if (positions[j + 1] < positions[j + 2]) {
        slope = 0x40000000 / (positions[j + 2] - positions[j + 1]);
      }
      ++j;
    }
    const std::int64_t f = ((e - positions[j]) * slope) >> 22;
    const Value entry = interpolate(values[j], values[j + 1], f);
    entries[static_cast<std::size_t>(e)] = entry;
    full = full && ValueKind<Value>::IsOpaque(entry);
  }
  return full;
}

}  // namespace

GammaTable::GammaTable(double gamma) {
  const double exponent = 1.0 / gamma;
  for (int i = 0; i < 256; ++i) {
    const double v = std::floor(255.0 * std::pow(i * (1.0 / 255.0), exponent) + 0.5);
    fEntries[static_cast<std::size_t>(i)] = static_cast<Coverage>(std::clamp(TruncateSaturated<std::int32_t>(v), 0, 255));
  }
  fFlag = false;
}

void MaskTable::Build(std::span<const MaskStop> stops) {
  fFlag = false;
  fFlag = BuildRamp<Coverage>(stops, fEntries, [](Coverage v0, Coverage v1, std::int64_t f) {
    return static_cast<Coverage>(v0 + (((std::int64_t{v1} - v0) * f) >> 8));  // low 8 bits
  });
}

void Palette::Build(std::span<const PaletteStop> stops) {
  fFlag = false;
  fFlag = BuildRamp<Pixel>(stops, fEntries, [](Pixel p0, Pixel p1, std::int64_t fraction) {
    // Two channels per multiplication, in wrapping 32-bit arithmetic: whatever a shift brings
    // into the top byte of the red-blue word is masked off.
    const std::uint32_t f = static_cast<std::uint32_t>(fraction);
    const std::uint32_t rb0 = p0 & 0x00FF00FFu;
    const std::uint32_t rb1 = p1 & 0x00FF00FFu;
    const std::uint32_t ag0 = p0 & 0xFF00FF00u;
    const std::uint32_t ag1 = p1 & 0xFF00FF00u;
    const std::uint32_t rb = (rb0 + (((rb1 - rb0) * f) >> 8)) & 0x00FF00FFu;
    const std::uint32_t ag = (((ag1 >> 8) - (ag0 >> 8)) * f + ag0) & 0xFF00FF00u;
    return rb + ag;
  });
}

}  // namespace QorRaster
