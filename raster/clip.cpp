#include "raster/clip.h"

namespace QorRaster {

template <typename Value>
void ClippedSource<Value>::Render(std::int32_t x, std::int32_t y, std::int32_t count, SpanList<Value>& list) {
  RenderWithin(fRect, x, y, count, list, [&](std::int32_t from, std::int32_t n) { fSource->Render(from, y, n, list); });
}

template <typename Value>
IntRect OffsetSource<Value>::GetBounds() const {
  IntRect bounds = fSource->GetBounds();
  bounds.x = Wrapped(std::int64_t{bounds.x} + fDx);
  bounds.y = Wrapped(std::int64_t{bounds.y} + fDy);
  return bounds;
}

template <typename Value>
void OffsetSource<Value>::Render(std::int32_t x, std::int32_t y, std::int32_t count, SpanList<Value>& list) {
  fSource->Render(Wrapped(std::int64_t{x} - fDx), Wrapped(std::int64_t{y} - fDy), count, list);
}

template class ClippedSource<Pixel>;
template class ClippedSource<Coverage>;
template class OffsetSource<Pixel>;
template class OffsetSource<Coverage>;

}  // namespace QorRaster
