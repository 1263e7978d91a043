// Scan conversion of paths into anti-aliased coverage. Coordinates are snapped to 1/256 pixel
// (24.8 fixed point); each edge adds its exact signed area within a pixel row to a per-column
// buffer, and a fill rule turns the running sum of that buffer into coverage.
#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "raster/geometry.h"
#include "raster/path.h"
#include "raster/source.h"

namespace QorRaster {

// Turns accumulated areas into coverage; one pixel covered once accumulates 0x10000.
class FillRule {
 public:
  virtual void Convert(std::int32_t count, const std::int32_t* values, Coverage* coverage) const = 0;

 protected:
  constexpr FillRule() = default;
  ~FillRule() = default;
};

// A rule given by its conversion of one accumulated value, Rule::Value, which the scan converter
// also calls directly.
template <typename Rule>
class ValueRule : public FillRule {
 public:
  void Convert(std::int32_t count, const std::int32_t* values, Coverage* coverage) const final {
    for (std::int32_t i = 0; i < count; ++i) {
      coverage[i] = Rule::Value(values[i]);
    }
  }

 protected:
  constexpr ValueRule() = default;
  ~ValueRule() = default;
};

// Coverage min(|w| >> 8, 255): any winding other than zero fills.
class NonZeroRule final : public ValueRule<NonZeroRule> {
 public:
  constexpr NonZeroRule() = default;
  static Coverage Value(std::int32_t w) {
    const std::uint32_t magnitude = w < 0 ? 0u - static_cast<std::uint32_t>(w) : static_cast<std::uint32_t>(w);
    return static_cast<Coverage>(std::min<std::uint32_t>(magnitude >> 8, 255));
  }
};

// Coverage from a triangle wave of period 0x20000: odd windings fill, even ones do not.
class EvenOddRule final : public ValueRule<EvenOddRule> {
 public:
  constexpr EvenOddRule() = default;
  static Coverage Value(std::int32_t w) {
    const std::uint32_t u = static_cast<std::uint32_t>(w);
    const std::uint32_t v = (u & 0x10000) != 0 ? 0x10000 - (u & 0xFFFF) : u & 0xFFFF;
    return static_cast<Coverage>(std::min<std::uint32_t>(v >> 8, 255));
  }
};

// The two rules of the program; they hold no state and are shared by every mask.
inline constexpr NonZeroRule kNonZeroRule;
inline constexpr EvenOddRule kEvenOddRule;

// One non-horizontal segment, oriented from top to bottom. y values are 24.8 fixed point; x values
// are 24.8 with 32 further fraction bits.
struct PolygonEdge {
  std::int32_t fTopY;
  std::int32_t fBottomY;
  std::int64_t fXAtTop;
  // x where the edge enters the current row.
  std::int64_t fXAtRow;
  // Change of x per 1/256 of y.
  std::int64_t fSlope;
  // |dy / dx| in 16.16, 0x8000 for vertical and near-vertical edges; negative for edges that run
  // upward in the path.
  std::int32_t fAreaPerColumn;
  // Columns touched in the current call, relative to its x: [first, end).
  std::int32_t fFirstColumn;
  std::int32_t fEndColumn;
  // +1 for edges that run downward in the path, -1 for upward ones: the sign of the area per
  // column, kept apart because edges flatter than 2^-16 have an area per column of 0.
  std::int32_t fDirection;
};

// The coverage of a path under a fill rule, limited to a clip rectangle. Rows are rendered from
// top to bottom, each in one or more chunks from left to right. Outside its bounds the mask yields
// zero coverage.
class PolygonMask final : public Mask {
 public:
  // Builds the edges at once; neither the path nor the rule is copied, and the rule must outlive
  // the mask. A path whose rendering would take more than kMaxScanWork throws LimitException.
  PolygonMask(const Path& path, const IntRect& clip, const FillRule* rule);
  ~PolygonMask() override = default;
  PolygonMask(const PolygonMask&) = delete;
  PolygonMask& operator=(const PolygonMask&) = delete;

  IntRect GetBounds() const override { return fBounds; }
  void Render(std::int32_t x, std::int32_t y, std::int32_t count, MaskSpanList& list) override;
  // The number of rows from row y on (at least 1) whose coverage is row y's wherever they are
  // rendered: more than 1 for the rows that a rectangle covers in full. A renderer may then take
  // row y's runs for the rows that follow, and need not render them but the last.
  std::int32_t CountEqualRows(std::int32_t y) const { return fRectangle ? CountFullRectangleRows(y) : 1; }

 private:
  class Builder;

  // Fills the start order: the edges by start row, the sentinel last.
  void OrderStarts();
  // Edges that start by the current row's bottom join the active ones.
  void StartEdges();
  // Adds every active edge's area over columns x to x + count - 1 of the current row to the
  // buffer and orders the active edges by their first column in this call. On a new row, edges
  // that ended are dropped first and the others move down to it.
  void Accumulate(std::int32_t x, std::int32_t count, bool newRow);
  // Orders many active edges by their first column.
  void SortByFirstColumn(std::int32_t count);
  // Emits coverage runs for the columns 0 to count - 1 of a call, given the accumulated area of
  // each column and the edges that touch the call in column order: constant runs between the
  // edges, literal stretches where they lie. Rule is one of the two rule classes (their
  // conversion inlined) or any rule through its interface.
  template <typename Rule, typename Areas>
  static void Emit(const Rule& rule, const Areas& areas, std::span<PolygonEdge* const> edges, std::int32_t count,
                   MaskSpanList& list);
  // Emit with this mask's rule.
  template <typename Areas>
  void EmitByRule(const Areas& areas, std::span<PolygonEdge* const> edges, std::int32_t count,
                  MaskSpanList& list) const;
  // The rows from row y on that the rectangle covers in full, or 1.
  std::int32_t CountFullRectangleRows(std::int32_t y) const;
  // The coverage of a rectangle over the columns x to x + count - 1 of the current row.
  void EmitRectangle(std::int32_t x, std::int32_t count, MaskSpanList& list);

  // The rule classes known here get emission with their conversion inlined.
  enum class RuleKind { kNonZero, kEvenOdd, kOther };

  // Edges that make an axis-aligned rectangle: two vertical ones over the same rows with
  // opposite directions, or only the left one when the right one lies right of the clip. Its
  // rows are emitted straight from the two x values, without accumulating areas, with the runs
  // and values that accumulating gives.
  struct Rectangle {
    PolygonEdge* edges[2];  // left, then right or null
  };
  static std::optional<Rectangle> FindRectangle(std::span<PolygonEdge> edges);

  std::vector<PolygonEdge> fEdges;  // ended by a sentinel
  std::vector<PolygonEdge*> fLists;  // holds the two lists below
  PolygonEdge** fStarts = nullptr;     // the edges by start row; the sentinel last
  IntRect fBounds;
  const FillRule* fRule;
  RuleKind fRuleKind;
  std::int32_t fRow;
  std::optional<Rectangle> fRectangle;
  std::size_t fNextEdge = 0;               // first edge not yet started
  PolygonEdge** fActive = nullptr;         // started, unfinished edges in column order
  std::size_t fActiveCount = 0;
  std::vector<std::size_t> fColumnStarts;  // scratch of the counting sort
  std::vector<PolygonEdge*> fSorted;       // scratch of the counting sort
  // Per-column area deltas, all zero between calls; the first min(bounds width, kMaxSpan) + 1
  // entries are used.
  std::int32_t fBuffer[kMaxSpan + 1];
};

}  // namespace QorRaster
