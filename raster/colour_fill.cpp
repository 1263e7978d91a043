#include "raster/colour_fill.h"

#include <algorithm>
#include <typeinfo>

#include "raster/combine.h"
#include "raster/pixels4.h"
#include "raster/solid.h"

namespace QorRaster {
namespace {

// The colour scaled by one coverage value v over n pixels, v above 0.
void DrawConstant(Pixel* to, std::int32_t n, Pixel scaled) {
  if (ValueKind<Pixel>::IsOpaque(scaled)) {
    std::fill_n(to, n, scaled);
    return;
  }
  if (scaled == 0) {
    return;
  }
  const Pixels4 top = Pixels4{} + scaled;
  const Pixels4 factor = Pixels4{} + ((scaled >> 24) + 1);
  std::int32_t i = 0;
  for (; i + 4 <= n; i += 4) {
    const Pixels4 bottom = Load4(to + i);
    Store4(to + i, top + bottom - ScalePixels(bottom, factor));
  }
  for (; i < n; ++i) {
    to[i] = OverPixel(to[i], scaled);
  }
}

// The colour scaled by each of n coverage values.
void DrawCoverage(Pixel* to, const Coverage* coverage, std::int32_t n, Pixel colour) {
  const Pixels4 colours = Pixels4{} + colour;
  std::int32_t i = 0;
  for (; i + 4 <= n; i += 4) {
    const Pixels4 c = Load4(coverage + i);
    if (!AllZero(c)) {
      Store4(to + i, OverPixel(Load4(to + i), MaskPixels4(colours, c)));
    }
  }
  for (; i < n; ++i) {
    to[i] = OverPixel(to[i], ScalePixel(colour, coverage[i]));
  }
}

}  // namespace

std::optional<ColourFill> ColourFill::Recognise(Paint& paint) {
  if (typeid(paint) != typeid(MaskedPaint)) {
    return std::nullopt;
  }
  const auto& masked = static_cast<const MaskedPaint&>(paint);
  Paint& first = *masked.GetFirst();
  if (typeid(first) == typeid(SolidPaint)) {
    return ColourFill(static_cast<const SolidPaint&>(first).GetValue(), masked.GetSecond());
  }
  if (typeid(first) == typeid(SolidRectPaint)) {
    return ColourFill(static_cast<const SolidRectPaint&>(first).GetValue(), masked.GetSecond());
  }
  return std::nullopt;
}

void ColourFill::Draw(std::int32_t x, std::int32_t y, std::int32_t count, Pixel* destination) const {
  Run<Coverage> runs[kMaxSpan];
  Coverage storage[kMaxSpan];
  MaskSpanList list(runs, storage);
  fMask->Render(x, y, count, list);
  const bool opaque = ValueKind<Pixel>::IsOpaque(fColour);
  for (const Run<Coverage>* run = runs; run < list.fNextRun; run += run->GetLength()) {
    const std::int32_t n = run->GetLength();
    if (run->IsRepeated()) {
      const Coverage v = *run->fPointer;
      if (v != 0) {
        DrawConstant(destination, n, ScalePixel(fColour, v));
      }
    } else if (run->IsOpaque() && opaque) {
      std::fill_n(destination, n, fColour);  // full coverage: the colour itself, opaque
    } else {
      DrawCoverage(destination, run->fPointer, n, fColour);
    }
    destination += n;
  }
}

}  // namespace QorRaster
