#include "raster/transform.h"

#include <cmath>

namespace QorRaster {

void Transform::Set(double na, double nb, double nc, double nd, double ne, double nf) {
  a = na;
  b = nb;
  c = nc;
  d = nd;
  e = ne;
  f = nf;
}

Transform Transform::Multiply(const Transform& first, const Transform& second) {
  const Transform& p = first;
  const Transform& s = second;
  Transform r;
  r.Set(s.a * p.a + s.b * p.d, s.a * p.b + s.b * p.e, s.a * p.c + s.b * p.f + s.c,
        s.d * p.a + s.e * p.d, s.d * p.b + s.e * p.e, s.d * p.c + s.e * p.f + s.f);
  return r;
}

Transform Transform::Translate(double dx, double dy) const {
  Transform r = *this;
  r.c += dx;
  r.f += dy;
  return r;
}

Transform Transform::Scale(double fx, double fy) const {
  Transform r;
  r.Set(a * fx, b * fx, c * fx, d * fy, e * fy, f * fy);
  return r;
}

Transform Transform::ScaleUniform(double s) const { return Scale(s, s); }

Transform Transform::Rotate(double angle) const {
  const double cs = std::cos(angle);
  const double sn = std::sin(angle);
  Transform r;
  r.Set(a * cs - d * sn, b * cs - e * sn, c * cs - f * sn, d * cs + a * sn, e * cs + b * sn, f * cs + c * sn);
  return r;
}

Transform Transform::RotateAround(double angle, double cx, double cy) const {
  const double cs = std::cos(angle);
  const double sn = std::sin(angle);
  Transform r = Rotate(angle);
  r.c += cx + cy * sn - cx * cs;
  r.f += cy - cx * sn - cy * cs;
  return r;
}

Transform Transform::Shear(double kx, double ky) const {
  Transform r;
  r.Set(a + kx * d, b + kx * e, c + kx * f, d + ky * a, e + ky * b, f + ky * c);
  return r;
}

bool Transform::Invert() {
  const double det = e * a - d * b;
  if (!(std::fabs(det) >= 1e-8)) {
    return false;
  }
  const double r = 1.0 / det;
  Set(e * r, -b * r, (f * b - c * e) * r, -d * r, a * r, (c * d - f * a) * r);
  return true;
}

}  // namespace QorRaster
