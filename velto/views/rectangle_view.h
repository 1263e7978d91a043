#pragma once

// The rectangle views: a plain one that fills its update rectangle with one colour, and one with
// rounded corners, a frame and a blend mode, painted by the shape base that the gradient views
// share.

#include <cstdint>

#include "base/key_value.h"
#include "base/rc.h"
#include "gui/element.h"
#include "gui/geometry.h"
#include "gui/resources/stroke.h"
#include "raster/geometry.h"
#include "raster/source.h"

namespace Velto {

class rcRootView;

class rcPlainRectangleView : public Wex::rcGUIElement {
 public:
  // The colour is premultiplied ARGB.
  rcPlainRectangleView(const Wex::cRect& r, std::uint32_t fillColor);
  // Composites the colour over exactly the update rectangle.
  void Draw(Wex::rcGraphicsContext& context, const Wex::cRect& update) override;

 private:
  std::uint32_t fFillColor;
};

// A rectangle with corner radii (x, y; 0 for square corners) and a frame along its edge, blended
// into what lies below it (kBlendNormal, kBlendAdd or kBlendMultiply).
class rcShapeView : public Wex::rcGUIElement {
 public:
  rcShapeView(const Wex::cRect& r, const cStroke& frame, const QorRaster::Point& cornerRadii, std::int32_t blendMode);

  const QorRaster::Point& GetCornerRadii() const { return fCornerRadii; }

 protected:
  // Paints the shape inside the clip (local coordinates), filled with the paint: the frame's
  // centre line runs half its width inside the view's edge, the fill reaches that line, and the
  // frame is composed over the fill before the two are blended as one. In multiply mode the
  // pixels of the clip that the shape leaves uncovered keep their colour. A shape beyond the
  // raster library's limits draws nothing.
  void PaintShape(Wex::rcGraphicsContext& context, const QorRaster::IntRect& clip, QorRaster::Paint& fill);

 private:
  cStroke fFrame;
  QorRaster::Point fCornerRadii;
  std::int32_t fBlendMode;
};

class rcRectangleView : public rcShapeView {
 public:
  rcRectangleView(const Wex::cRect& r, const cStroke& frame, const QorRaster::Point& cornerRadii,
                  std::int32_t blendMode, std::uint32_t fillColor);
  void Draw(Wex::rcGraphicsContext& context, const Wex::cRect& update) override;

 private:
  std::uint32_t fFillColor;
};

// The "rectangle" type: "fill" (colour, transparent by default); with any of "frame" (stroke),
// "blend" or "rounded" (radii, from the view's rectangle now) a shape, else the plain form.
ref<Wex::rcGUIElement> MakeRectangleView(rcRootView& root, const Wex::cRect& bounds, const Description& description);

}  // namespace Velto
