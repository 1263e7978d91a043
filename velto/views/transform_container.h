#pragma once

// A container whose children are shown through an affine transform and an opacity. Untransformed
// and opaque it is a plain container; otherwise it draws its children into a bitmap of its own
// and composites that through the transform, scaled by the opacity, and it maps invalidations
// and mouse movements accordingly.

#include <cstdint>

#include "gui/bitmap_context.h"
#include "gui/container.h"
#include "gui/geometry.h"
#include "raster/path.h"
#include "raster/transform.h"

namespace Velto {

class rcTransformContainer : public Wex::rcGUIContainer {
 public:
  // Untransformed and opaque: a plain container.
  explicit rcTransformContainer(const Wex::cRect& r);

  // The one way to change the opacity (1 is opaque) and the transform from the children's space
  // to the window. A change redraws the view under the old and the new transform; a transformed
  // or faded (opacity below 0.5) state sends a view that has the mouse MouseExited, so that no
  // child keeps a hover state that it can no longer lose.
  void SetTransform(double opacity, const QorRaster::Transform& transform);
  double GetOpacity() const { return fOpacity; }
  const QorRaster::Transform& GetTransform() const { return fTransform; }
  // The children's rectangles, hidden ones included, in child order, through the transform: the
  // container's hit area while it is transformed.
  QorRaster::Path GetChildrenOutline() const;
  // Whether the children are drawn through a bitmap of the container's own (the last drawing was
  // transformed or faded).
  bool HasOffscreen() const { return bool(fOffscreen); }

  // Through the offscreen bitmap unless plain; nothing for the all-zero transform, opacity 0, or
  // when the bitmap cannot be made (a view too large for one).
  void Draw(Wex::rcGraphicsContext& context, const Wex::cRect& update) override;
  // Opaque enough (opacity 0.5 or more) and untransformed: the container's. Transformed, a press
  // on the outline is handled without reaching any child; otherwise it falls through.
  bool MouseDown(const Wex::cPoint& p, std::int32_t time, bool doubleClick,
                 const Wex::cKeyModifiers& modifiers) override;
  // Opaque enough and untransformed: the container's. Transformed, a move over the outline
  // reaches the children at the point mapped back; otherwise nothing happens.
  void MouseMoved(const Wex::cPoint& p, std::int32_t time, const Wex::cKeyModifiers& modifiers) override;
  // Transformed, the rectangle covering r's mapped corners.
  void InvalidateRect(const Wex::cRect& r) override;

 private:
  bool IsIdentity() const { return fTransform == QorRaster::Transform(); }
  // The inverse transform, computed when it is first needed after a change; a degenerate
  // transform is its own stand-in.
  const QorRaster::Transform& GetInverse();
  // Whether p lies on the outline, and the container is opaque enough for the mouse.
  bool HitsOutline(const Wex::cPoint& p) const;

  ref<Wex::rcOffscreenContext32> fOffscreen;
  double fOpacity = 1.0;
  QorRaster::Transform fTransform;
  bool fInverseValid = false;
  QorRaster::Transform fInverse;
};

}  // namespace Velto
