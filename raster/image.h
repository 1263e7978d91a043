// Pixel and coverage buffers over an integer rectangle, and the drivers that render sources
// into them. An image is itself a source whose runs point straight into its rows.
#pragma once

#include <algorithm>
#include <concepts>
#include <cstdint>
#include <memory>

#include "raster/geometry.h"
#include "raster/source.h"

namespace QorRaster {

// Calls write(x, y, count) for every segment of at most kMaxSpan columns of every row of area,
// from the top row down and from left to right.
template <typename Write>
void ForEachSegment(const IntRect& area, Write&& write) {
  const std::int64_t right = std::int64_t{area.x} + area.width;
  const std::int64_t bottom = std::int64_t{area.y} + area.height;
  for (std::int64_t row = area.y; row < bottom; ++row) {
    for (std::int64_t column = area.x; column < right; column += kMaxSpan) {
      write(static_cast<std::int32_t>(column), static_cast<std::int32_t>(row),
            static_cast<std::int32_t>(std::min<std::int64_t>(kMaxSpan, right - column)));
    }
  }
}

template <typename Value>
class BasicImage : public Source<Value> {
 public:
  // Owns a zero-filled buffer of width * height values; a side of zero or less gives an empty
  // image, and columns or rows past the largest 32-bit coordinate are cut off. Throws
  // std::bad_alloc when the buffer cannot be allocated.
  explicit BasicImage(const IntRect& bounds);
  // Over memory that the caller owns and keeps alive: topLeft is the value at (bounds.x,
  // bounds.y), stride the distance between rows in values. Nothing is released on destruction.
  BasicImage(const IntRect& bounds, Value* topLeft, std::int32_t stride, bool opaque);
  ~BasicImage() override = default;
  BasicImage(const BasicImage&) = delete;
  BasicImage& operator=(const BasicImage&) = delete;

  IntRect GetBounds() const override { return fBounds; }
  // Transparent outside the bounds; inside, one literal run pointing into the row, flagged
  // opaque when the image is declared opaque.
  void Render(std::int32_t x, std::int32_t y, std::int32_t count, SpanList<Value>& list) override;

  // Address of the value at (x, y), which must lie inside the bounds.
  Value* At(std::int32_t x, std::int32_t y) const {
    return fTopLeft + (std::int64_t{y} - fBounds.y) * fStride + (std::int64_t{x} - fBounds.x);
  }
  std::int32_t GetStride() const { return fStride; }
  // When set, the owner declares every value opaque (alpha at least 0xFE, or coverage 255).
  bool IsOpaque() const { return fOpaque; }
  void SetOpaque(bool opaque) { fOpaque = opaque; }

  // Replaces the values inside rect (clipped to the bounds) by the source's output.
  BasicImage& RenderRect(Source<Value>& source, const IntRect& rect);
  // Replaces every value by the source's output.
  BasicImage& Render(Source<Value>& source) { return RenderRect(source, fBounds); }
  // Composites the source over the values where both bounds meet: premultiplied source-over
  // for pixels, addition saturating at 255 for coverage.
  BasicImage& Draw(Source<Value>& source);
  // Adds the paint channel by channel, saturating, where both bounds meet.
  BasicImage& Add(Source<Value>& paint)
    requires std::same_as<Value, Pixel>;

 private:
  // Calls write(x, y, count, destination) for every segment of at most kMaxSpan values of every
  // row of rect (clipped to the bounds), from the top row down and from left to right.
  template <typename Write>
  void ForEachDestination(const IntRect& rect, Write&& write);

  IntRect fBounds;
  std::int32_t fStride = 0;
  Value* fTopLeft = nullptr;
  bool fOpaque = false;
  std::unique_ptr<Value[]> fBuffer;
};

using Image = BasicImage<Pixel>;
using MaskImage = BasicImage<Coverage>;

extern template class BasicImage<Pixel>;
extern template class BasicImage<Coverage>;

}  // namespace QorRaster
