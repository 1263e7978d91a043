#include "raster/filter.h"

#include <type_traits>

namespace QorRaster {
namespace {

template <typename In, typename Out>
void ConvertRuns(const FilterSource<In, Out>& filter, const SpanList<In>& input, SpanList<Out>& output) {
  for (const Run<In>* at = input.fFirstRun; at < input.fNextRun;) {
    // The output may overwrite this run's slots, so take a copy first.
    const Run<In> run = *at;
    const std::int32_t length = run.GetLength();
    at += length;
    bool opaque = run.IsOpaque();
    if (run.IsRepeated()) {
      Out value;
      filter.Filter(1, run.fPointer, &value, opaque);
      output.AppendValue(length, value);
    } else {
      Out* values = output.fStorageCursor;
      filter.Filter(length, run.fPointer, values, opaque);
      output.AppendLiteral(length, values, opaque);
    }
  }
}

}  // namespace

template <typename In, typename Out>
void FilterSource<In, Out>::Render(std::int32_t x, std::int32_t y, std::int32_t count, SpanList<Out>& list) {
  if constexpr (std::is_same_v<In, Out>) {
    // The source's runs take exactly the offsets that the converted runs will take.
    SpanList<In> input = list.Continuation();
    fSource->Render(x, y, count, input);
    ConvertRuns(*this, input, list);
  } else {
    Run<In> runs[kMaxSpan];
    In storage[kMaxSpan];
    SpanList<In> input(runs, storage);
    fSource->Render(x, y, count, input);
    ConvertRuns(*this, input, list);
  }
}

void InvertedPaint::Filter(std::int32_t count, const Pixel* input, Pixel* output, bool& opaque) const {
  for (std::int32_t i = 0; i < count; ++i) output[i] = ~input[i];
  opaque = false;
}

void InvertedMask::Filter(std::int32_t count, const Coverage* input, Coverage* output, bool& opaque) const {
  for (std::int32_t i = 0; i < count; ++i) output[i] = static_cast<Coverage>(255 - input[i]);
  opaque = false;
}

IntRect LookupMask::GetBounds() const { return fTable->fEntries[0] == 0 ? fSource->GetBounds() : WholePlaneRect; }

void LookupMask::Filter(std::int32_t count, const Coverage* input, Coverage* output, bool& opaque) const {
  for (std::int32_t i = 0; i < count; ++i) output[i] = fTable->fEntries[input[i]];
  opaque = fTable->fFlag;
}

IntRect PalettePaint::GetBounds() const {
  return fPalette->fEntries[0] == 0 ? fSource->GetBounds() : WholePlaneRect;
}

void PalettePaint::Filter(std::int32_t count, const Coverage* input, Pixel* output, bool& opaque) const {
  for (std::int32_t i = 0; i < count; ++i) output[i] = fPalette->fEntries[input[i]];
  opaque = fPalette->fFlag;
}

void MaskPaint::Filter(std::int32_t count, const Coverage* input, Pixel* output, bool&) const {
  for (std::int32_t i = 0; i < count; ++i) output[i] = input[i] * 0x01010101u;
}

template class FilterSource<Pixel, Pixel>;
template class FilterSource<Coverage, Coverage>;
template class FilterSource<Coverage, Pixel>;

}  // namespace QorRaster
