// Sources that place another source: limited to a rectangle, or moved by whole pixels.
#pragma once

#include <algorithm>

#include "raster/source.h"

namespace QorRaster {

// Renders the segment of count values from column x of row y where only rect may hold values:
// transparent runs for the parts outside it, and inside(column, count) appends the runs of the
// part inside (computed without overflow).
template <typename Value, typename Inside>
void RenderWithin(const IntRect& rect, std::int32_t x, std::int32_t y, std::int32_t count, SpanList<Value>& list,
                  Inside&& inside) {
  if (y < rect.y || std::int64_t{y} >= std::int64_t{rect.y} + rect.height) {
    list.AppendTransparent(count);
    return;
  }
  const std::int64_t end = std::int64_t{x} + count;
  const std::int64_t from = std::clamp<std::int64_t>(rect.x, x, end);
  const std::int64_t to = std::clamp<std::int64_t>(std::int64_t{rect.x} + rect.width, from, end);
  if (from > x) {
    list.AppendTransparent(static_cast<std::int32_t>(from - x));
  }
  if (to > from) {
    inside(static_cast<std::int32_t>(from), static_cast<std::int32_t>(to - from));
  }
  if (end > to) {
    list.AppendTransparent(static_cast<std::int32_t>(end - to));
  }
}

template <typename Value>
class ClippedSource : public Source<Value> {
 public:
  ClippedSource(Source<Value>* source, const IntRect& rect) : fSource(source), fRect(rect) {}
  IntRect GetBounds() const override { return fSource->GetBounds().Intersect(fRect); }
  // Transparent outside the rectangle; the source is asked only for the columns inside it.
  void Render(std::int32_t x, std::int32_t y, std::int32_t count, SpanList<Value>& list) override;

 private:
  Source<Value>* fSource;
  IntRect fRect;
};

template <typename Value>
class OffsetSource : public Source<Value> {
 public:
  OffsetSource(Source<Value>* source, std::int32_t dx, std::int32_t dy) : fSource(source), fDx(dx), fDy(dy) {}
  IntRect GetBounds() const override;
  void Render(std::int32_t x, std::int32_t y, std::int32_t count, SpanList<Value>& list) override;

 private:
  Source<Value>* fSource;
  std::int32_t fDx;
  std::int32_t fDy;
};

using ClippedPaint = ClippedSource<Pixel>;
using ClippedMask = ClippedSource<Coverage>;
using OffsetPaint = OffsetSource<Pixel>;
using OffsetMask = OffsetSource<Coverage>;

extern template class ClippedSource<Pixel>;
extern template class ClippedSource<Coverage>;
extern template class OffsetSource<Pixel>;
extern template class OffsetSource<Coverage>;

}  // namespace QorRaster
