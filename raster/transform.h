// Affine transforms: a 2x3 matrix of doubles mapping (x, y) to
// (a*x + b*y + c, d*x + e*y + f).
#pragma once

#include "raster/geometry.h"

namespace QorRaster {

struct Transform {
  double a = 1.0;
  double b = 0.0;
  double c = 0.0;
  double d = 0.0;
  double e = 1.0;
  double f = 0.0;

  constexpr Transform() = default;  // identity

  void Set(double na, double nb, double nc, double nd, double ne, double nf);
  Point Apply(const Point& p) const { return Point(a * p.x + b * p.y + c, d * p.x + e * p.y + f); }

  // second applied after first.
  static Transform Multiply(const Transform& first, const Transform& second);

  // Each returns a new transform in which the change is applied after this one.
  Transform Translate(double dx, double dy) const;
  Transform Scale(double fx, double fy) const;
  Transform ScaleUniform(double s) const;
  Transform Rotate(double angle) const;  // radians
  Transform RotateAround(double angle, double cx, double cy) const;
  Transform Shear(double kx, double ky) const;  // x gains kx * y, y gains ky * x

  // Replaces the transform by its inverse; false (and no change) when it is degenerate.
  bool Invert();

  constexpr bool operator==(const Transform&) const = default;
};

}  // namespace QorRaster
