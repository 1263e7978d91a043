#pragma once

// Angles as the views turn and sweep them: in radians, 0 pointing up and positive turning
// clockwise; descriptions give them in degrees.

#include <cmath>
#include <numbers>

namespace Velto {

inline constexpr double kRadiansPerDegree = std::numbers::pi / 180;

// x mod 2 pi in [0, 2 pi).
inline double Modulo2Pi(double x) {
  constexpr double kTwoPi = 2 * std::numbers::pi;
  return std::fmod(std::fmod(x, kTwoPi) + kTwoPi, kTwoPi);
}

// The angle mapped into [-pi, pi).
inline double WrapAngle(double x) { return Modulo2Pi(x + std::numbers::pi) - std::numbers::pi; }

}  // namespace Velto
