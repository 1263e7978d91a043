#pragma once

// The stroke settings that a view hands to the raster stroker.

#include <cstdint>

namespace Velto {

class cStroke {
 public:
  cStroke() = default;

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
