// Sources of pixels and coverage. A source renders one row segment of at most kMaxSpan values at
// a time into a list of runs, so that constant and opaque stretches travel through a tree of
// sources without per-value work.
//
// Pixels are 32-bit premultiplied ARGB (0xAARRGGBB); coverage values are bytes (255 = full).
// Everything that pixels and coverage share is written once as a template over the value type.
#pragma once

#include <cstdint>

#include "raster/geometry.h"

namespace QorRaster {

using Pixel = std::uint32_t;
using Coverage = std::uint8_t;

// Longest segment a source is asked for, and the size of every span list.
inline constexpr std::int32_t kMaxSpan = 512;

// Run word: bits 0-29 the length; bit 30 every value is opaque (pixels) or full (coverage);
// bit 31 one value stands for the whole run.
inline constexpr std::uint32_t kRunLengthMask = 0x3FFFFFFF;
inline constexpr std::uint32_t kRunOpaque = 0x40000000;
inline constexpr std::uint32_t kRunRepeated = 0x80000000;

// What distinguishes pixels from coverage values where a source decides whether a value hides
// what lies below it.
template <typename Value>
struct ValueKind;

template <>
struct ValueKind<Pixel> {
  static constexpr Pixel kFull = 0xFFFFFFFF;
  // Alpha 0xFE counts as opaque.
  static constexpr bool IsOpaque(Pixel p) { return p >= 0xFE000000; }
};

template <>
struct ValueKind<Coverage> {
  static constexpr Coverage kFull = 255;
  static constexpr bool IsOpaque(Coverage c) { return c == 255; }
};

// The run word flag for a run whose every value is v.
template <typename Value>
constexpr std::uint32_t OpaqueFlag(Value v) {
  return ValueKind<Value>::IsOpaque(v) ? kRunOpaque : 0;
}

// Scaling by a byte v multiplies by v + 1 when v is above 0 and by 0 otherwise, then shifts right
// by 8: scaling by 255 keeps a value, scaling by 0 clears it. For byte-sized channels a factor of
// 1 clears them just as 0 does, so v + 1 serves for every v and keeps the blending loops free of
// branches.
constexpr std::uint32_t ScaleFactor(std::uint32_t v) { return v + 1; }

// Scales the four channels of a pixel, two per multiplication.
constexpr Pixel ScalePixel(Pixel p, std::uint32_t v) {
  const std::uint32_t k = ScaleFactor(v);
  return (((p & 0x00FF00FFu) * k >> 8) & 0x00FF00FFu) + ((((p & 0xFF00FF00u) >> 8) * k) & 0xFF00FF00u);
}

constexpr Coverage ScaleCoverage(Coverage c, std::uint32_t v) {
  return static_cast<Coverage>((c * ScaleFactor(v)) >> 8);
}

template <typename Value>
struct Run {
  std::uint32_t fWord;
  // A repeated run's one value, or the run's consecutive values.
  Value* fPointer;

  std::int32_t GetLength() const { return static_cast<std::int32_t>(fWord & kRunLengthMask); }
  bool IsOpaque() const { return (fWord & kRunOpaque) != 0; }
  bool IsRepeated() const { return (fWord & kRunRepeated) != 0; }
  // True for a repeated run of the value v.
  bool Repeats(Value v) const { return IsRepeated() && *fPointer == v; }
};

// The appends that every output of runs offers, written once over the output's own
// Append(word, pointer) and its storage cursor fStorageCursor (where the value of the next run's
// first offset goes).
template <typename Output, typename Value>
struct RunAppends {
  void Append(const Run<Value>& run) { Self().Append(run.fWord, run.fPointer); }
  // Stores value at the run's first offset; flags may add kRunOpaque.
  void AppendRepeated(std::int32_t length, Value value, std::uint32_t flags) {
    Value* const at = Self().fStorageCursor;
    *at = value;
    Self().Append(static_cast<std::uint32_t>(length) | kRunRepeated | flags, at);
  }
  // A repeated run flagged opaque exactly when its value is.
  void AppendValue(std::int32_t length, Value value) { AppendRepeated(length, value, OpaqueFlag(value)); }
  void AppendTransparent(std::int32_t length) { AppendRepeated(length, Value{0}, 0); }
  void AppendLiteral(std::int32_t length, Value* values, bool opaque) {
    Self().Append(static_cast<std::uint32_t>(length) | (opaque ? kRunOpaque : 0), values);
  }

 private:
  Output& Self() { return static_cast<Output&>(*this); }
};

// The runs of one segment. Run slots and storage are both indexed by the pixel offset within the
// segment: a run over the offsets k to k + n - 1 sits in slot k and again in slot k + n - 1, and
// every append advances the run slot and the storage cursor by the run's length, so the storage
// value of offset k is always at fStorageStart + k.
template <typename Value>
struct SpanList : RunAppends<SpanList<Value>, Value> {
  Run<Value>* fFirstRun;
  Value* fStorageStart;
  Run<Value>* fNextRun;
  Value* fStorageCursor;

  SpanList(Run<Value>* runs, Value* storage)
      : fFirstRun(runs), fStorageStart(storage), fNextRun(runs), fStorageCursor(storage) {}

  // An empty list whose runs and values land where this list's next ones would.
  SpanList Continuation() const { return SpanList(fNextRun, fStorageCursor); }
  std::int32_t GetCount() const { return static_cast<std::int32_t>(fNextRun - fFirstRun); }

  using RunAppends<SpanList<Value>, Value>::Append;
  void Append(std::uint32_t word, Value* pointer) {
    const std::int32_t length = static_cast<std::int32_t>(word & kRunLengthMask);
    fNextRun[0] = Run<Value>{word, pointer};
    fNextRun[length - 1] = Run<Value>{word, pointer};
    fNextRun += length;
    fStorageCursor += length;
  }
};

// A source of pixels (Paint) or coverage (Mask). Sources that combine or filter other sources
// point to them without owning them; the caller keeps every source of a tree alive while it
// renders. A source must not be rendered from two places at once.
template <typename Value>
class Source {
 public:
  // Outside these bounds the source yields only zeros; WholePlaneRect when unlimited.
  virtual IntRect GetBounds() const = 0;
  // Appends runs covering exactly count values (1 to kMaxSpan) of row y from column x.
  virtual void Render(std::int32_t x, std::int32_t y, std::int32_t count, SpanList<Value>& list) = 0;
  virtual ~Source() = default;

 protected:
  Source() = default;
  Source(const Source&) = default;
  Source& operator=(const Source&) = default;
};

using Paint = Source<Pixel>;
using Mask = Source<Coverage>;
using PaintSpanList = SpanList<Pixel>;
using MaskSpanList = SpanList<Coverage>;

}  // namespace QorRaster
