// The angle step with which arcs, round caps and curve joints are flattened.
#pragma once

#include <algorithm>
#include <cmath>
#include <numbers>

namespace QorRaster {

inline constexpr double kMinArcStep = std::numbers::pi / 100;

// Step in radians for an arc of the given size (twice the radius times the quality, or the
// stroke width times the quality): 1 / sqrt(size), within pi/100 and 1; pi/100 when the size
// gives no number.
inline double ArcStep(double size) {
  const double step = 1.0 / std::sqrt(size);
  if (!(step >= kMinArcStep)) {
    return kMinArcStep;
  }
  return std::min(step, 1.0);
}

}  // namespace QorRaster
