#include "gui/resources/raster_resources.h"

#include <algorithm>
#include <cstdint>

#include "gui/bitmap_context.h"
#include "gui/resources/canvas.h"
#include "gui/resources/image_wrappers.h"
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

void rcRasterResource::BlendPart(Wex::rcGraphicsContext& context, const Wex::cRect& source, const Wex::cPoint& p,
                                 std::int32_t blendMode, std::int32_t opacity) {
  cContextCanvas canvas(context);
  QorRaster::ClippedPaint part(&GetPaint(), EdgesToRect(source));
  const Wex::cPoint shift = p - source.TopLeft();
  QorRaster::OffsetPaint placed(&part, shift.fX, shift.fY);
  BlendImage(canvas, placed, blendMode, opacity);
}

rcImageResource::rcImageResource(std::int32_t width, std::int32_t height, bool opaque)
    : rcImageResource(QorRaster::IntRect(0, 0, width, height), opaque) {}

rcImageResource::rcImageResource(const QorRaster::IntRect& bounds, bool opaque) : fImage(bounds) {
  fImage.SetOpaque(opaque);
}

ref<rcImageResource> GetPixelImage(const ref<rcImage>& image) {
  if (!image) return nullptr;
  if (auto* pixels = dynamic_cast<rcImageResource*>(image.Get())) return ref<rcImageResource>(pixels);
  const Wex::cRect bounds = image->GetBounds();
  const std::int64_t width = std::int64_t{bounds.fRight} - bounds.fLeft;
  const std::int64_t height = std::int64_t{bounds.fBottom} - bounds.fTop;
  if (width < 1 || height < 1) return nullptr;
  // An image too large for one bitmap throws "Could not create bitmap context".
  const auto side = [](std::int64_t v) { return static_cast<std::int32_t>(std::min<std::int64_t>(v, INT32_MAX)); };
  const ref<Wex::rcOffscreenContext32> bitmap(new Wex::rcOffscreenContext32(side(width), side(height), false));
  image->DrawPart(*bitmap, bounds, {0, 0});
  const ref<rcImageResource> pixels(
      new rcImageResource(QorRaster::IntRect(bounds.fLeft, bounds.fTop, side(width), side(height)), false));
  cContextCanvas drawn(*bitmap);
  QorRaster::OffsetPaint placed(&drawn, bounds.fLeft, bounds.fTop);
  pixels->GetRasterImage().Render(placed);
  return pixels;
}

rcMaskResource::rcMaskResource(std::int32_t width, std::int32_t height)
    : fMask(QorRaster::IntRect(0, 0, width, height)) {}

rcRLEImageResource::rcRLEImageResource(const QorRaster::IntRect& rect, QorRaster::Paint& source)
    : fImage(rect, Temporary(QorRaster::RunOptimizedPaint(&source))) {}

rcRLEMaskResource::rcRLEMaskResource(const QorRaster::IntRect& rect, QorRaster::Mask& source)
    : fMask(rect, Temporary(QorRaster::RunOptimizedMask(&source))) {}

}  // namespace Velto
