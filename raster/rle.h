// Run-length packed images: the output of a source over a rectangle kept row by row in runs, so
// that large constant or opaque areas cost little memory and render as few runs.
#pragma once

#include <concepts>
#include <cstdint>
#include <span>
#include <vector>

#include "raster/source.h"

namespace QorRaster {

template <typename Value>
class RunLengthImage : public Source<Value> {
 public:
  // Run word: bits 0-13 the length, bit 14 every value opaque (literal runs), bit 15 one stored
  // value stands for the run. Runs never cross the end of a row.
  static constexpr std::uint16_t kLengthMask = 0x3FFF;
  static constexpr std::uint16_t kOpaque = 0x4000;
  static constexpr std::uint16_t kRepeated = 0x8000;

  // Packs the source over the bounds; a side of zero or less gives an empty image.
  RunLengthImage(const IntRect& bounds, Source<Value>& source);

  // Re-packs the contents from the source over the same bounds.
  RunLengthImage& Set(Source<Value>& source);
  // Packs the source over the target's bounds into new arrays and only then replaces the
  // target's, so the target may be part of the source tree; on failure the target is unchanged.
  static void Build(RunLengthImage& target, Source<Value>& source);
  // Composites a mask over the packed mask (coverage adds, saturating at 255) and re-packs.
  RunLengthImage& Draw(Source<Value>& mask)
    requires std::same_as<Value, Coverage>;

  IntRect GetBounds() const override { return fBounds; }
  // Successive segments of one row resume from where the previous one stopped, so the drivers'
  // row-by-row, left-to-right order reads every run once.
  void Render(std::int32_t x, std::int32_t y, std::int32_t count, SpanList<Value>& list) override;

  std::span<const std::uint16_t> GetRunWords() const { return fRunWords; }
  std::span<const Value> GetValues() const { return fValues; }

 private:
  struct RowStart {
    std::uint64_t word;
    std::uint64_t value;
  };
  struct ReadPosition {
    std::int64_t column;  // where the current run starts
    std::int32_t row;
    std::uint64_t word;
    std::uint64_t value;
  };

  void RenderInside(std::int32_t x, std::int32_t y, std::int32_t count, SpanList<Value>& list);
  void Rewind();

  IntRect fBounds;
  std::vector<std::uint16_t> fRunWords;
  std::vector<Value> fValues;
  std::vector<RowStart> fRows;
  ReadPosition fRead{};
};

using RLEImage = RunLengthImage<Pixel>;
using RLEMask = RunLengthImage<Coverage>;

extern template class RunLengthImage<Pixel>;
extern template class RunLengthImage<Coverage>;

}  // namespace QorRaster
