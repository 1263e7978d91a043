// The tree that fills nearly every shape: a solid colour, or a colour inside a rectangle, masked
// by coverage and composited over the image it is drawn into. The image's Draw recognises it and
// composites the colour straight from the coverage runs, in one pass per row, with the values
// that the combinations of the tree give value by value: where the colour scaled by a constant
// (or full) stretch of coverage is opaque it replaces the pixels, where the coverage is zero they
// stay, and elsewhere the scaled colour is blended over them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "raster/image.h"
#include "raster/source.h"

namespace QorRaster {

class PolygonMask;

class ColourFill {
 public:
  // The fill that paint stands for, when it is a MaskedPaint of a SolidPaint or SolidRectPaint
  // and a mask; within the paint's bounds the colour is then the same everywhere.
  static std::optional<ColourFill> Recognise(Paint& paint);

  // Composites the colour over the area, which lies inside the image's and the paint's bounds.
  // Rows that a polygon mask reports equal to the one before take that row's coverage runs.
  void Draw(Image& image, const IntRect& area) const;

 private:
  ColourFill(Pixel colour, Mask* mask);

  // What a run of coverage does to the pixels under it: the scaled colour replaces them, is
  // blended over them, or the colour is scaled by each coverage value and blended. Runs of zero
  // coverage, or of a scaled colour of 0, do nothing.
  enum class Stretch { kFill, kBlend, kCoverage };
  // Calls visit(kind, offset, count, scaled colour, coverage values) for every run that does
  // something, in order.
  template <typename Visit>
  void ForEachStretch(const MaskSpanList& list, Visit&& visit) const;
  // Composites the runs of one segment over destination.
  void Composite(const MaskSpanList& list, Pixel* destination) const;
  // The same over destination and the rows - 1 rows below it, stride pixels apart.
  void CompositeRows(const MaskSpanList& list, Pixel* destination, std::ptrdiff_t stride, std::int32_t rows) const;

  Pixel fColour;
  Mask* fMask;
  PolygonMask* fPolygon;  // the mask, when it is a polygon mask
};

}  // namespace QorRaster
