#pragma once

// The stroke settings that a view hands to the raster stroker.

#include <cstdint>

#include "raster/path.h"

namespace Velto {

class cStroke {
 public:
  cStroke() = default;

  // Whether the stroke shows anything: a colour other than 0 and a width above 0.
  bool IsVisible() const;
  // Turns the path in place into the outline of this stroke (to be filled with the stroke colour
  // under the non-zero rule) and returns it: a dash other than 0 first cuts it into dashes. A
  // width of 0 (or one that is no number above 0) empties the path. Throws
  // QorRaster::LimitException when the outline would exceed the raster library's path limit.
  QorRaster::Path& StrokePath(QorRaster::Path& path) const;

  std::uint32_t fColor = 0;  // premultiplied ARGB
  double fWidth = 1.0;       // 0 draws nothing
  std::int32_t fCaps = 0;    // 0 butt, 1 round, 2 square
  std::int32_t fJoints = 0;  // 0 bevel, 1 curve, 2 miter
  double fMiterLimit = 2.0;  // of miter joints
  double fQuality = 1.0;     // curve flattening, greater than 0
  double fDash = 0.0;        // 0 draws a solid line
  double fGap = 0.0;
  double fDashOffset = 0.0;  // into the dash pattern
};

}  // namespace Velto
