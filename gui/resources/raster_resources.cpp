#include "gui/resources/raster_resources.h"

#include "gui/resources/canvas.h"
#include "raster/clip.h"
#include "raster/run_optimized.h"

namespace Velto {

namespace {

// A temporary as the lvalue that the packing constructors take; it lives to the end of the
// full expression, which covers the packing.
template <class Source>
Source& Temporary(Source&& source) {
  return source;
}

}  // namespace

Wex::cRect rcRasterResource::GetBounds() {
  const QorRaster::IntRect r = GetPaint().GetBounds();
  return {r.x, r.y, r.GetRight(), r.GetBottom()};
}

void rcRasterResource::Draw(Wex::rcGraphicsContext& context, const Wex::cPoint& p) {
  cContextCanvas canvas(context);
  QorRaster::OffsetPaint placed(&GetPaint(), p.fX, p.fY);
  canvas.Draw(placed);
}

void rcRasterResource::DrawPart(Wex::rcGraphicsContext& context, const Wex::cRect& source, const Wex::cPoint& p) {
  cContextCanvas canvas(context);
  QorRaster::ClippedPaint part(&GetPaint(), EdgesToRect(source));
  const Wex::cPoint shift = p - source.TopLeft();
  QorRaster::OffsetPaint placed(&part, shift.fX, shift.fY);
  canvas.Draw(placed);
}

rcImageResource::rcImageResource(std::int32_t width, std::int32_t height, bool opaque)
    : fImage(QorRaster::IntRect(0, 0, width, height)) {
  fImage.SetOpaque(opaque);
}

rcMaskResource::rcMaskResource(std::int32_t width, std::int32_t height)
    : fMask(QorRaster::IntRect(0, 0, width, height)) {}

rcRLEImageResource::rcRLEImageResource(const QorRaster::IntRect& rect, QorRaster::Paint& source)
    : fImage(rect, Temporary(QorRaster::RunOptimizedPaint(&source))) {}

rcRLEMaskResource::rcRLEMaskResource(const QorRaster::IntRect& rect, QorRaster::Mask& source)
    : fMask(rect, Temporary(QorRaster::RunOptimizedMask(&source))) {}

}  // namespace Velto
