#include "raster/image.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <type_traits>

#include "raster/clip.h"
#include "raster/colour_fill.h"
#include "raster/combine.h"
#include "raster/in_place_runs.h"

namespace QorRaster {
namespace {

// A side of zero or less makes the image empty. Columns and rows past the largest 32-bit
// coordinate cannot be asked for, so the rectangle is cut before them: every value inside the
// bounds then has coordinates that the drivers and sources can name.
IntRect UsableBounds(const IntRect& bounds) {
  constexpr std::int64_t kLimit = std::numeric_limits<std::int32_t>::max();
  const IntRect usable(bounds.x, bounds.y, static_cast<std::int32_t>(std::min<std::int64_t>(bounds.width, kLimit - bounds.x)),
                       static_cast<std::int32_t>(std::min<std::int64_t>(bounds.height, kLimit - bounds.y)));
  return usable.IsEmpty() ? EmptyRect : usable;
}

}  // namespace

template <typename Value>
BasicImage<Value>::BasicImage(const IntRect& bounds) : fBounds(UsableBounds(bounds)), fStride(fBounds.width) {
  const std::size_t size = static_cast<std::size_t>(fBounds.width) * static_cast<std::size_t>(fBounds.height);
  if (size > 0) {
    fBuffer = std::make_unique<Value[]>(size);  // zero-filled
    fTopLeft = fBuffer.get();
  }
}

template <typename Value>
BasicImage<Value>::BasicImage(const IntRect& bounds, Value* topLeft, std::int32_t stride, bool opaque)
    : fBounds(UsableBounds(bounds)), fStride(stride), fTopLeft(topLeft), fOpaque(opaque) {}

template <typename Value>
void BasicImage<Value>::Render(std::int32_t x, std::int32_t y, std::int32_t count, SpanList<Value>& list) {
  RenderWithin(fBounds, x, y, count, list,
               [&](std::int32_t from, std::int32_t n) { list.AppendLiteral(n, At(from, y), fOpaque); });
}

template <typename Value>
template <typename Write>
void BasicImage<Value>::ForEachDestination(const IntRect& rect, Write&& write) {
  const IntRect area = rect.Intersect(fBounds);
  if (!area.IsEmpty()) {
    ForEachSegment(area, [&](std::int32_t x, std::int32_t y, std::int32_t count) { write(x, y, count, At(x, y)); });
  }
}

template <typename Value>
BasicImage<Value>& BasicImage<Value>::RenderRect(Source<Value>& source, const IntRect& rect) {
  Run<Value> runs[kMaxSpan];
  ForEachDestination(rect, [&](std::int32_t x, std::int32_t y, std::int32_t count, Value* destination) {
    // The source writes its computed values straight into the destination row.
    SpanList<Value> list(runs, destination);
    source.Render(x, y, count, list);
    for (const Run<Value>* run = runs; run < list.fNextRun; run += run->GetLength()) {
      WriteRun(destination, *run);
      destination += run->GetLength();
    }
  });
  return *this;
}

// Drawing and adding combine the image with the source in place: the combination writes straight
// into the image's rows, where the image's own values already lie. A colour masked by coverage
// is composited straight from the coverage.
template <typename Value>
BasicImage<Value>& BasicImage<Value>::Draw(Source<Value>& source) {
  if constexpr (std::is_same_v<Value, Pixel>) {
    if (const std::optional<ColourFill> fill = ColourFill::Recognise(source)) {
      const IntRect area = source.GetBounds().Intersect(fBounds);
      if (!area.IsEmpty()) {
        fill->Draw(*this, area);
      }
      return *this;
    }
  }
  OverSource<Value> over(this, &source);
  ForEachDestination(source.GetBounds(), [&](std::int32_t x, std::int32_t y, std::int32_t count, Value* destination) {
    over.RenderInPlace(x, y, count, destination);
  });
  return *this;
}

template <typename Value>
BasicImage<Value>& BasicImage<Value>::Add(Source<Value>& paint)
  requires std::same_as<Value, Pixel>
{
  AddSource<Value> add(this, &paint);
  ForEachDestination(paint.GetBounds(), [&](std::int32_t x, std::int32_t y, std::int32_t count, Value* destination) {
    add.RenderInPlace(x, y, count, destination);
  });
  return *this;
}

template class BasicImage<Pixel>;
template class BasicImage<Coverage>;

}  // namespace QorRaster
