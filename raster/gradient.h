// Gradient masks: a position along a gradient as a coverage value per pixel, linear between two
// points or radial over an ellipse. A table (palette or mask table) then maps it to the result.
#pragma once

#include <array>

#include "raster/source.h"

namespace QorRaster {

// 0 at the start point rising to 255 at the end point along the line through them, constant
// across it; 0 everywhere when the points coincide.
class LinearMask : public Mask {
 public:
  LinearMask(double x0, double y0, double x1, double y1);
  IntRect GetBounds() const override { return WholePlaneRect; }
  void Render(std::int32_t x, std::int32_t y, std::int32_t count, MaskSpanList& list) override;

 private:
  double fX0;
  double fY0;
  double fDx;  // direction scaled so that the end point is at 65536 (16.16 fixed point)
  double fDy;
};

// 255 at the centre falling to 0 on the ellipse with the radii rx, ry; empty when a radius is
// below 1e-8.
class RadialMask : public Mask {
 public:
  RadialMask(double cx, double cy, double rx, double ry);
  IntRect GetBounds() const override;
  void Render(std::int32_t x, std::int32_t y, std::int32_t count, MaskSpanList& list) override;

 private:
  // x is the column of the first inside pixel, which a wrapped request may put past the 32-bit range.
  void RenderInside(std::int64_t x, double dy, std::int32_t count, Coverage* values) const;

  double fCx;
  double fCy;
  double fRx;  // absolute radii
  double fRy;
  double fKy;  // 2^30 / ry^2: squared elliptical distances in units of 2^-30
  double fKx;
  bool fEmpty;
};

// Coverage by squared distance from the centre, in 4096 steps from the centre (255) to the
// ellipse (0); shared by all radial masks and built once.
const std::array<Coverage, 4096>& RadialRamp();

}  // namespace QorRaster
