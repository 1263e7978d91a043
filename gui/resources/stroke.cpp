#include "gui/resources/stroke.h"

#include "raster/stroke.h"

namespace Velto {

bool cStroke::IsVisible() const { return fColor != 0 && fWidth > 0; }

QorRaster::Path& cStroke::StrokePath(QorRaster::Path& path) const {
  if (!(fWidth > 0)) {
    path = QorRaster::Path();
    return path;
  }
  if (fDash != 0) path.Dash(fDash, fGap, fDashOffset);
  // The codes pass as they are: the stroker draws butt caps for unknown cap codes and nothing at
  // the outer side of joints for unknown joint codes.
  return path.Stroke(static_cast<QorRaster::CapStyle>(fCaps), static_cast<QorRaster::JointStyle>(fJoints), fWidth,
                     fMiterLimit, fQuality);
}

}  // namespace Velto
