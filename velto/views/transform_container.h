#pragma once

// A container whose children are shown through an affine transform and an opacity.

#include "gui/container.h"
#include "gui/geometry.h"
#include "raster/transform.h"

namespace Velto {

class rcTransformContainer : public Wex::rcGUIContainer {
 public:
  // Untransformed and opaque: a plain container.
  explicit rcTransformContainer(const Wex::cRect& r);

  // The one way to change the opacity (1 is opaque) and the transform from the children's space
  // to the window.
  void SetTransform(double opacity, const QorRaster::Transform& transform);
};

}  // namespace Velto
