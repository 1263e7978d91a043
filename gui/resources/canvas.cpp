#include "gui/resources/canvas.h"

#include <algorithm>
#include <cstdint>

namespace Velto {

struct cContextCanvas::cPlacement {
  Wex::rcOffscreenContext32* fBitmap = nullptr;
  QorRaster::IntRect fBounds;
  QorRaster::Pixel* fTopLeft = nullptr;
  std::int32_t fStride = 0;
  bool fOpaque = false;
};

cContextCanvas::cPlacement cContextCanvas::Place(Wex::rcGraphicsContext& context) {
  cPlacement placement;
  const ref<Wex::rcOffscreenContext32> bitmap = context.GetPixelContext32();
  if (!bitmap) return placement;
  placement.fBitmap = bitmap.Get();
  placement.fOpaque = bitmap->IsOpaque();
  placement.fStride = bitmap->GetBytesPerRow() / 4;
  auto* const pixels = reinterpret_cast<QorRaster::Pixel*>(bitmap->GetPixels());
  const Wex::cPoint origin = context.GetOffset();
  const Wex::cRect clip = context.GetClipBounds();
  const Wex::cRect size = bitmap->GetBounds();
  // The clip cut to the bitmap's own rectangle in drawing coordinates, in 64 bits.
  const std::int64_t left = std::max<std::int64_t>(clip.fLeft, origin.fX);
  const std::int64_t top = std::max<std::int64_t>(clip.fTop, origin.fY);
  const std::int64_t right = std::min<std::int64_t>(clip.fRight, std::int64_t{origin.fX} + size.fRight);
  const std::int64_t bottom = std::min<std::int64_t>(clip.fBottom, std::int64_t{origin.fY} + size.fBottom);
  if (right <= left || bottom <= top) return placement;
  placement.fBounds =
      QorRaster::IntRect(static_cast<std::int32_t>(left), static_cast<std::int32_t>(top),
                         static_cast<std::int32_t>(right - left), static_cast<std::int32_t>(bottom - top));
  // The bitmap pixel under the bounds' top-left corner: no pointer outside the buffer is formed.
  placement.fTopLeft = pixels + (top - origin.fY) * placement.fStride + (left - origin.fX);
  return placement;
}

cContextCanvas::cContextCanvas(Wex::rcGraphicsContext& context) : cContextCanvas(Place(context)) {}

cContextCanvas::cContextCanvas(const cPlacement& placement)
    : QorRaster::Image(placement.fBounds, placement.fTopLeft, placement.fStride, placement.fOpaque),
      fBitmap(placement.fBitmap) {}

cContextCanvas::~cContextCanvas() {
  if (fBitmap != nullptr) fBitmap->PixelsChanged();
}

QorRaster::IntRect EdgesToRect(const Wex::cRect& r) { return {r.fLeft, r.fTop, r.Width(), r.Height()}; }

QorRaster::Rect EdgesToRealRect(const Wex::cRect& r) {
  return {double(r.fLeft), double(r.fTop), double(r.fRight) - r.fLeft, double(r.fBottom) - r.fTop};
}

}  // namespace Velto
