#include "raster/colour_fill.h"

#include <algorithm>
#include <typeinfo>

#include "raster/combine.h"
#include "raster/pixels4.h"
#include "raster/polygon_mask.h"
#include "raster/solid.h"

namespace QorRaster {
namespace {

// A value neither transparent nor taken as opaque, blended over n pixels.
void DrawConstant(Pixel* to, std::int32_t n, Pixel scaled) {
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
  // Four values by the formulas themselves, without tests: a value of 0 leaves a pixel as it was
  // and one of 255 under an opaque colour gives the colour.
  const auto drawFour = [&](std::int32_t at) {
    const Pixels4 top = ScalePixels(colours, Load4(coverage + at) + 1);
    const Pixels4 bottom = Load4(to + at);
    Store4(to + at, top + bottom - ScalePixels(bottom, (top >> 24) + 1));
  };
  // Sixteen at a time where shapes are empty, or full under a colour of alpha 255, throughout.
  const bool opaque = colour >= 0xFF000000;
  std::int32_t i = 0;
  for (; i + 16 <= n; i += 16) {
    if (AllBytesEqual(coverage + i, 0)) {
      continue;
    }
    if (opaque && AllBytesEqual(coverage + i, 255)) {
      for (std::int32_t k = 0; k < 16; k += 4) {
        Store4(to + i + k, colours);
      }
      continue;
    }
    for (std::int32_t k = 0; k < 16; k += 4) {
      drawFour(i + k);
    }
  }
  for (; i + 4 <= n; i += 4) {
    drawFour(i);
  }
  // The last few one by one (the whole of an edge column), where an opaque or transparent
  // scaled colour spares the blend.
  for (; i < n; ++i) {
    const Pixel scaled = ScalePixel(colour, coverage[i]);
    if (scaled >= 0xFF000000) {
      to[i] = scaled;
    } else if (scaled != 0) {
      to[i] = OverPixel(to[i], scaled);
    }
  }
}

// Scaled colours over n pixels.
void DrawScaled(Pixel* to, const Pixel* scaled, std::int32_t n) {
  std::int32_t i = 0;
  for (; i + 4 <= n; i += 4) {
    Store4(to + i, OverPixel(Load4(to + i), Load4(scaled + i)));
  }
  for (; i < n; ++i) {
    if (scaled[i] >= 0xFF000000) {
      to[i] = scaled[i];
    } else if (scaled[i] != 0) {
      to[i] = OverPixel(to[i], scaled[i]);
    }
  }
}

}  // namespace

ColourFill::ColourFill(Pixel colour, Mask* mask)
    : fColour(colour),
      fMask(mask),
      fPolygon(typeid(*mask) == typeid(PolygonMask) ? static_cast<PolygonMask*>(mask) : nullptr) {}

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

void ColourFill::Draw(Image& image, const IntRect& area) const {
  Run<Coverage> runs[kMaxSpan];
  Coverage storage[kMaxSpan];
  const auto render = [&](std::int32_t x, std::int32_t y, std::int32_t count) {
    MaskSpanList list(runs, storage);
    fMask->Render(x, y, count, list);
    return list;
  };
  const std::int64_t bottom = std::int64_t{area.y} + area.height;
  for (std::int64_t row = area.y; row < bottom; ++row) {
    const auto y = static_cast<std::int32_t>(row);
    if (fPolygon != nullptr && area.width <= kMaxSpan) {
      // The runs of a row that equals the ones below it serve them all but the last, which is
      // rendered as usual and leaves the mask where rendering every row would.
      const std::int64_t equal = std::min<std::int64_t>(fPolygon->CountEqualRows(y), bottom - row);
      if (equal > 1) {
        const MaskSpanList list = render(area.x, y, area.width);
        CompositeRows(list, image.At(area.x, y), image.GetStride(), static_cast<std::int32_t>(equal - 1));
        row += equal - 2;
        continue;
      }
    }
    ForEachSegment(IntRect(area.x, y, area.width, 1), [&](std::int32_t x, std::int32_t, std::int32_t count) {
      Composite(render(x, y, count), image.At(x, y));
    });
  }
}

void ColourFill::Composite(const MaskSpanList& list, Pixel* destination) const {
  ForEachStretch(list, [&](Stretch kind, std::int32_t offset, std::int32_t n, Pixel value, const Coverage* coverage) {
    switch (kind) {
      case Stretch::kFill: FillPixels(destination + offset, n, value); break;
      case Stretch::kBlend: DrawConstant(destination + offset, n, value); break;
      case Stretch::kCoverage: DrawCoverage(destination + offset, coverage, n, fColour); break;
    }
  });
}

void ColourFill::CompositeRows(const MaskSpanList& list, Pixel* destination, std::ptrdiff_t stride,
                               std::int32_t rows) const {
  // What the runs do to each row, with the colour scaled by varying coverage once, as a list of
  // stretches; adjacent ones that take the same value become one.
  struct Part {
    Stretch kind;  // kCoverage for the scaled colours
    std::int32_t offset;
    std::int32_t n;
    Pixel value;
  };
  Part parts[kMaxSpan];
  std::int32_t count = 0;
  Pixel scaled[kMaxSpan];
  const auto add = [&](Stretch kind, std::int32_t offset, std::int32_t n, Pixel value) {
    Part* const last = count > 0 ? &parts[count - 1] : nullptr;
    if (kind == Stretch::kFill && last != nullptr && last->kind == Stretch::kFill && last->value == value &&
        last->offset + last->n == offset) {
      last->n += n;
    } else {
      parts[count++] = Part{kind, offset, n, value};
    }
  };
  ForEachStretch(list, [&](Stretch kind, std::int32_t offset, std::int32_t n, Pixel value, const Coverage* coverage) {
    if (kind != Stretch::kCoverage) {
      add(kind, offset, n, value);
      return;
    }
    // Where the scaled colours are all equal they are one value, blended (which takes a value
    // of alpha 255).
    bool equal = true;
    for (std::int32_t i = 0; i < n; ++i) {
      scaled[offset + i] = ScalePixel(fColour, coverage[i]);
      equal = equal && scaled[offset + i] == scaled[offset];
    }
    const Pixel first = scaled[offset];
    if (!equal) {
      add(Stretch::kCoverage, offset, n, 0);
    } else if (first >= 0xFF000000) {
      add(Stretch::kFill, offset, n, first);
    } else if (first != 0) {
      add(Stretch::kBlend, offset, n, first);
    }
  });
  // Each part over all the rows in turn, so that the stores of a long one follow one another.
  for (const Part* p = parts; p < parts + count; ++p) {
    Pixel* to = destination + p->offset;
    for (std::int32_t r = 0; r < rows; ++r, to += stride) {
      switch (p->kind) {
        case Stretch::kFill: FillPixels(to, p->n, p->value); break;
        case Stretch::kBlend: DrawConstant(to, p->n, p->value); break;
        case Stretch::kCoverage: DrawScaled(to, scaled + p->offset, p->n); break;
      }
    }
  }
}

template <typename Visit>
void ColourFill::ForEachStretch(const MaskSpanList& list, Visit&& visit) const {
  const bool opaque = ValueKind<Pixel>::IsOpaque(fColour);
  std::int32_t offset = 0;
  for (const Run<Coverage>* run = list.fFirstRun; run < list.fNextRun; run += run->GetLength()) {
    const std::int32_t n = run->GetLength();
    if (run->IsRepeated()) {
      const Pixel scaled = ScalePixel(fColour, *run->fPointer);
      if (ValueKind<Pixel>::IsOpaque(scaled)) {
        visit(Stretch::kFill, offset, n, scaled, nullptr);
      } else if (scaled != 0) {
        visit(Stretch::kBlend, offset, n, scaled, nullptr);
      }
    } else if (run->IsOpaque() && opaque) {
      visit(Stretch::kFill, offset, n, fColour, nullptr);  // full coverage: the colour itself, opaque
    } else {
      visit(Stretch::kCoverage, offset, n, 0, run->fPointer);
    }
    offset += n;
  }
}

}  // namespace QorRaster
