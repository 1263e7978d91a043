#include "velto/views/rectangle_view.h"

#include "base/text.h"
#include "gui/resources/attributes.h"
#include "gui/resources/canvas.h"
#include "gui/resources/image_wrappers.h"
#include "gui/resources/shapes.h"
#include "raster/solid.h"

namespace Velto {

rcPlainRectangleView::rcPlainRectangleView(const Wex::cRect& r, std::uint32_t fillColor)
    : rcGUIElement(r), fFillColor(fillColor) {}

void rcPlainRectangleView::Draw(Wex::rcGraphicsContext& context, const Wex::cRect& update) {
  cContextCanvas canvas(context);
  QorRaster::SolidRectPaint fill(fFillColor, EdgesToRect(update));
  canvas.Draw(fill);
}

rcShapeView::rcShapeView(const Wex::cRect& r, const cStroke& frame, const QorRaster::Point& cornerRadii,
                         std::int32_t blendMode)
    : rcGUIElement(r), fFrame(frame), fCornerRadii(cornerRadii), fBlendMode(blendMode) {}

void rcShapeView::PaintShape(Wex::rcGraphicsContext& context, const QorRaster::IntRect& clip, QorRaster::Paint& fill) {
  PaintFramedShape(context, clip, EdgesToRealRect(GetBounds()), fCornerRadii, fFrame, fill, fBlendMode);
}

rcRectangleView::rcRectangleView(const Wex::cRect& r, const cStroke& frame, const QorRaster::Point& cornerRadii,
                                 std::int32_t blendMode, std::uint32_t fillColor)
    : rcShapeView(r, frame, cornerRadii, blendMode), fFillColor(fillColor) {}

void rcRectangleView::Draw(Wex::rcGraphicsContext& context, const Wex::cRect& update) {
  const QorRaster::IntRect clip = EdgesToRect(update);
  QorRaster::SolidRectPaint fill(fFillColor, clip);
  PaintShape(context, clip, fill);
}

ref<Wex::rcGUIElement> MakeRectangleView(rcRootView&, const Wex::cRect& bounds, const Description& description) {
  const std::uint32_t fill = ReadColor(Wex::ValueOf(description, "fill"), 0);
  if (!description.contains("frame") && !description.contains("blend") && !description.contains("rounded")) {
    return ref<Wex::rcGUIElement>(new rcPlainRectangleView(bounds, fill));
  }
  const cStroke frame = ReadStroke(Wex::ValueOf(description, "frame"), 0);
  const std::int32_t blend = ReadBlendMode(Wex::Unquote(Wex::ValueOf(description, "blend")));
  bool relative = false;
  const QorRaster::Point radii =
      ReadCornerRadii(Wex::ValueOf(description, "rounded"), EdgesToRealRect(bounds), relative);
  return ref<Wex::rcGUIElement>(new rcRectangleView(bounds, frame, radii, blend, fill));
}

}  // namespace Velto
