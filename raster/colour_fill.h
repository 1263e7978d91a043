// The tree that fills nearly every shape: a solid colour, or a colour inside a rectangle, masked
// by coverage and composited over the image it is drawn into. The image's Draw recognises it and
// composites the colour straight from the coverage runs, in one pass per row, with the values
// that the combinations of the tree give value by value: where the colour scaled by a constant
// (or full) stretch of coverage is opaque it replaces the pixels, where the coverage is zero they
// stay, and elsewhere the scaled colour is blended over them.
#pragma once

#include <cstdint>
#include <optional>

#include "raster/source.h"

namespace QorRaster {

class ColourFill {
 public:
  // The fill that paint stands for, when it is a MaskedPaint of a SolidPaint or SolidRectPaint
  // and a mask; within the paint's bounds the colour is then the same everywhere.
  static std::optional<ColourFill> Recognise(Paint& paint);

  // Composites count pixels (1 to kMaxSpan) of row y from column x over destination.
  void Draw(std::int32_t x, std::int32_t y, std::int32_t count, Pixel* destination) const;

 private:
  ColourFill(Pixel colour, Mask* mask) : fColour(colour), fMask(mask) {}

  Pixel fColour;
  Mask* fMask;
};

}  // namespace QorRaster
