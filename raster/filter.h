// Sources that pass another source's values through a per-value function: complement, lookup
// table, palette, coverage as white.
#pragma once

#include "raster/source.h"
#include "raster/table.h"

namespace QorRaster {

// Renders its source and converts every run: a repeated run converts its one value, a literal
// run all of its values (in place when the source's values sit in the caller's storage).
template <typename In, typename Out>
class FilterSource : public Source<Out> {
 public:
  explicit FilterSource(Source<In>* source) : fSource(source) {}
  void Render(std::int32_t x, std::int32_t y, std::int32_t count, SpanList<Out>& list) override;
  // Converts count values, reading each input before writing the output at the same index
  // (they may share memory). opaque holds the input run's opaque flag on entry and the output
  // run's on return.
  virtual void Filter(std::int32_t count, const In* input, Out* output, bool& opaque) const = 0;

 protected:
  Source<In>* fSource;
};

using PaintFilter = FilterSource<Pixel, Pixel>;
using MaskFilter = FilterSource<Coverage, Coverage>;
using MaskToPaintFilter = FilterSource<Coverage, Pixel>;

class InvertedPaint : public PaintFilter {
 public:
  using PaintFilter::PaintFilter;
  IntRect GetBounds() const override { return WholePlaneRect; }
  void Filter(std::int32_t count, const Pixel* input, Pixel* output, bool& opaque) const override;
};

class InvertedMask : public MaskFilter {
 public:
  using MaskFilter::MaskFilter;
  IntRect GetBounds() const override { return WholePlaneRect; }
  void Filter(std::int32_t count, const Coverage* input, Coverage* output, bool& opaque) const override;
};

// Maps coverage through a gamma table or mask table, which must outlive the filter.
class LookupMask : public MaskFilter {
 public:
  LookupMask(Mask* source, const CoverageTable* table) : MaskFilter(source), fTable(table) {}
  IntRect GetBounds() const override;
  void Filter(std::int32_t count, const Coverage* input, Coverage* output, bool& opaque) const override;

 private:
  const CoverageTable* fTable;
};

// Maps coverage to colours through a palette, which must outlive the filter.
class PalettePaint : public MaskToPaintFilter {
 public:
  PalettePaint(Mask* mask, const Palette* palette) : MaskToPaintFilter(mask), fPalette(palette) {}
  IntRect GetBounds() const override;
  void Filter(std::int32_t count, const Coverage* input, Pixel* output, bool& opaque) const override;

 private:
  const Palette* fPalette;
};

// Coverage as premultiplied white whose alpha is the coverage.
class MaskPaint : public MaskToPaintFilter {
 public:
  using MaskToPaintFilter::MaskToPaintFilter;
  IntRect GetBounds() const override { return fSource->GetBounds(); }
  void Filter(std::int32_t count, const Coverage* input, Pixel* output, bool& opaque) const override;
};

extern template class FilterSource<Pixel, Pixel>;
extern template class FilterSource<Coverage, Coverage>;
extern template class FilterSource<Coverage, Pixel>;

}  // namespace QorRaster
