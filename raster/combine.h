// Sources that combine two sources value by value: compositing, saturating addition,
// multiplication and scaling by coverage.
//
// Every combination renders its second source first and lets it decide alone wherever it can:
// a second source that is neutral over the whole segment hands the segment to the first source,
// decisive runs at either end (an opaque top, a zero mask) are passed on without rendering the
// first source there, and only the middle is walked run against run, splitting the longer run
// where two differ in length. Two repeated runs combine into one value; only literal runs are
// combined value by value. The classes differ only in their per-value rule.
#pragma once

#include <type_traits>

#include "raster/source.h"

namespace QorRaster {

// Holds the two sources (not owned) and a scratch buffer for the second source's values; the
// buffer is overwritten by every Render, so one object must appear only once in a tree.
template <typename First, typename Second>
class SourcePair : public Source<First> {
 public:
  Source<First>* GetFirst() const { return fFirst; }
  Source<Second>* GetSecond() const { return fSecond; }

 protected:
  SourcePair(Source<First>* first, Source<Second>* second) : fFirst(first), fSecond(second) {}

  Source<First>* fFirst;
  Source<Second>* fSecond;
  Second fScratch[kMaxSpan];
};

using PaintPair = SourcePair<Pixel, Pixel>;
using MaskPair = SourcePair<Coverage, Coverage>;
using PaintMaskPair = SourcePair<Pixel, Coverage>;

// Per-value rules, with the run shortcuts that each allows.
struct OverPixels;      // premultiplied source-over: second (top) over first (bottom)
struct OverCoverage;    // coverage adds with saturation; an opaque top replaces the bottom
struct AddPixels;       // channel by channel, saturating
struct AddCoverage;     // saturating
struct MultiplyPixels;  // channel by channel
struct MaskPixels;      // first scaled by the second's coverage
struct MaskCoverage;

template <typename First, typename Second, typename Rule>
class CombinedSource final : public SourcePair<First, Second> {
 public:
  CombinedSource(Source<First>* first, Source<Second>* second);
  // Compositing reports the union of the bounds taken at construction; addition the union and
  // the other rules the intersection of the sources' current bounds.
  IntRect GetBounds() const override;
  // Writes nothing outside the count values asked for, whatever the bounds of its sources.
  void Render(std::int32_t x, std::int32_t y, std::int32_t count, SpanList<First>& list) override;
  // Writes count values of row y from column x straight into destination, where the first
  // source's values already lie (the first source being the image drawn into): the same values
  // as Render's runs written out by the render driver, but the first source is not asked to
  // render, and values that stay where they are (the first source's, or combined in place) are
  // not written again.
  void RenderInPlace(std::int32_t x, std::int32_t y, std::int32_t count, First* destination);

 private:
  // Output is a SpanList<First>, or InPlaceRuns<First> with the first source's values in place;
  // FirstValues gives the first source's runs into a list (rendered, or taken where they lie).
  template <typename Output, typename FirstValues>
  void RenderTo(std::int32_t x, std::int32_t y, std::int32_t count, Output& list, FirstValues first);
  template <typename Output, typename FirstValues>
  void Combine(std::int32_t x, std::int32_t y, std::int32_t start, std::int32_t end, const Run<Second>* second,
               Output& list, FirstValues first);

  IntRect fFirstBounds;   // compositing only
  IntRect fSecondBounds;
};

// Bottom and top.
using OverPaint = CombinedSource<Pixel, Pixel, OverPixels>;
using OverMask = CombinedSource<Coverage, Coverage, OverCoverage>;
using AddPaint = CombinedSource<Pixel, Pixel, AddPixels>;
using AddMask = CombinedSource<Coverage, Coverage, AddCoverage>;
using MultiplyPaint = CombinedSource<Pixel, Pixel, MultiplyPixels>;
// Compositing and addition of either value type.
template <typename Value>
using OverSource = std::conditional_t<std::is_same_v<Value, Pixel>, OverPaint, OverMask>;
template <typename Value>
using AddSource = std::conditional_t<std::is_same_v<Value, Pixel>, AddPaint, AddMask>;
// Source and mask.
using MaskedPaint = CombinedSource<Pixel, Coverage, MaskPixels>;
using MaskedMask = CombinedSource<Coverage, Coverage, MaskCoverage>;

extern template class CombinedSource<Pixel, Pixel, OverPixels>;
extern template class CombinedSource<Coverage, Coverage, OverCoverage>;
extern template class CombinedSource<Pixel, Pixel, AddPixels>;
extern template class CombinedSource<Coverage, Coverage, AddCoverage>;
extern template class CombinedSource<Pixel, Pixel, MultiplyPixels>;
extern template class CombinedSource<Pixel, Coverage, MaskPixels>;
extern template class CombinedSource<Coverage, Coverage, MaskCoverage>;

}  // namespace QorRaster
