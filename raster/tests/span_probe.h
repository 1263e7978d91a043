// Test helpers: render a source into a checked span list and read its runs back, and a source
// that plays back a scripted list of runs.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "raster/source.h"

namespace QorRaster::Testing {

template <typename Value>
struct RunRecord {
  std::uint32_t word;
  std::vector<Value> values;  // one for a repeated run, all of them for a literal run
  bool operator==(const RunRecord&) const = default;
};

template <typename Value>
RunRecord<Value> Repeated(std::int32_t length, Value v, std::uint32_t flags = 0) {
  return {static_cast<std::uint32_t>(length) | kRunRepeated | flags, {v}};
}

template <typename Value>
RunRecord<Value> Literal(std::vector<Value> values, std::uint32_t flags = 0) {
  return {static_cast<std::uint32_t>(values.size()) | flags, std::move(values)};
}

template <typename Value>
void PrintTo(const RunRecord<Value>& r, std::ostream* os) {
  *os << ((r.word & kRunRepeated) ? "R" : "L") << ((r.word & kRunOpaque) ? "o" : "") << (r.word & kRunLengthMask)
      << "[";
  for (std::size_t i = 0; i < r.values.size() && i < 8; ++i) *os << (i ? "," : "") << std::hex << +r.values[i];
  *os << (r.values.size() > 8 ? ",..." : "") << std::dec << "]";
}

// Renders count values of row y from column x and checks the span list invariants: the runs
// cover exactly count values, each run sits in its first and last slot, the storage cursor moved
// as far as the runs, and repeated runs kept inside the list's storage point at their own offset.
// Nothing may be written past the count values asked for.
template <typename Value>
std::vector<RunRecord<Value>> Collect(Source<Value>& source, std::int32_t x, std::int32_t y, std::int32_t count) {
  constexpr auto kGuard = static_cast<Value>(0x5A5A5A5A);
  std::vector<Run<Value>> slots(kMaxSpan, Run<Value>{0xDEADBEEF, nullptr});
  std::vector<Value> storage(kMaxSpan, kGuard);
  SpanList<Value> list(slots.data(), storage.data());
  source.Render(x, y, count, list);
  for (std::int32_t i = count; i < kMaxSpan; ++i) {
    EXPECT_EQ(slots[i].fWord, 0xDEADBEEF) << "run slot written past the segment at " << i;
    EXPECT_EQ(storage[i], kGuard) << "storage written past the segment at " << i;
  }
  std::vector<RunRecord<Value>> records;
  EXPECT_EQ(list.fNextRun - list.fFirstRun, count);
  EXPECT_EQ(list.fStorageCursor - list.fStorageStart, count);
  std::int32_t offset = 0;
  while (offset < count && offset < kMaxSpan) {
    const Run<Value>& run = slots[offset];
    const std::int32_t length = run.GetLength();
    if (length < 1 || offset + length > count) {
      ADD_FAILURE() << "bad run length " << length << " at offset " << offset;
      break;
    }
    EXPECT_EQ(slots[offset + length - 1].fWord, run.fWord) << "last slot of the run at " << offset;
    EXPECT_EQ(slots[offset + length - 1].fPointer, run.fPointer) << "last slot of the run at " << offset;
    RunRecord<Value> record{run.fWord, {}};
    if (run.IsRepeated()) {
      const bool inStorage = run.fPointer >= storage.data() && run.fPointer < storage.data() + kMaxSpan;
      if (inStorage) {
        EXPECT_EQ(run.fPointer, storage.data() + offset) << "repeated value away from its offset";
      }
      record.values.push_back(*run.fPointer);
    } else {
      record.values.assign(run.fPointer, run.fPointer + length);
    }
    records.push_back(record);
    offset += length;
  }
  return records;
}

// The values that a list of runs stands for, one per column.
template <typename Value>
std::vector<Value> Expand(const std::vector<RunRecord<Value>>& records) {
  std::vector<Value> out;
  for (const auto& r : records) {
    const std::int32_t length = r.word & kRunLengthMask;
    for (std::int32_t i = 0; i < length; ++i) out.push_back(r.values[(r.word & kRunRepeated) ? 0 : i]);
  }
  return out;
}

// Plays back a fixed list of runs (covering exactly the requested count) for any row; literal
// values are copied into the caller's storage or, with pointIntoOwnMemory, pointed at in place.
template <typename Value>
class ScriptedSource : public Source<Value> {
 public:
  ScriptedSource(std::vector<RunRecord<Value>> runs, IntRect bounds = WholePlaneRect, bool pointIntoOwnMemory = false)
      : fRuns(std::move(runs)), fBounds(bounds), fOwnMemory(pointIntoOwnMemory) {}
  IntRect GetBounds() const override { return fBounds; }
  void Render(std::int32_t, std::int32_t, std::int32_t count, SpanList<Value>& list) override {
    ++fRenderCalls;
    std::int32_t covered = 0;
    for (auto& r : fRuns) {
      const std::int32_t length = r.word & kRunLengthMask;
      if (r.word & kRunRepeated) {
        list.AppendRepeated(length, r.values[0], r.word & kRunOpaque);
      } else if (fOwnMemory) {
        list.Append(r.word, r.values.data());
      } else {
        std::copy(r.values.begin(), r.values.end(), list.fStorageCursor);
        list.Append(r.word, list.fStorageCursor);
      }
      covered += length;
    }
    EXPECT_EQ(covered, count) << "script does not match the requested count";
  }
  int fRenderCalls = 0;

 private:
  std::vector<RunRecord<Value>> fRuns;
  IntRect fBounds;
  bool fOwnMemory;
};

// A source defined column by column over the columns 0 to width - 1 of every row, as segments
// that it hands out as runs (cut at the edges of the asked-for columns); transparent elsewhere.
// Literal values are copied into the caller's storage or, with pointIntoOwnMemory, pointed at.
template <typename Value>
class SegmentSource : public Source<Value> {
 public:
  struct Segment {
    bool repeated;
    bool opaque;
    std::vector<Value> values;  // one per column, equal for a repeated segment
  };
  explicit SegmentSource(std::vector<Segment> segments, bool pointIntoOwnMemory = false)
      : fSegments(std::move(segments)), fOwnMemory(pointIntoOwnMemory) {}
  std::int32_t Width() const {
    std::int32_t w = 0;
    for (const auto& s : fSegments) w += static_cast<std::int32_t>(s.values.size());
    return w;
  }
  Value At(std::int32_t column) const {
    for (const auto& s : fSegments) {
      if (column >= 0 && column < static_cast<std::int32_t>(s.values.size())) return s.values[column];
      column -= static_cast<std::int32_t>(s.values.size());
    }
    return 0;
  }
  bool OpaqueAt(std::int32_t column) const {
    for (const auto& s : fSegments) {
      if (column >= 0 && column < static_cast<std::int32_t>(s.values.size())) return s.opaque;
      column -= static_cast<std::int32_t>(s.values.size());
    }
    return false;
  }
  IntRect GetBounds() const override { return WholePlaneRect; }
  void Render(std::int32_t x, std::int32_t, std::int32_t count, SpanList<Value>& list) override {
    fCalls.push_back({x, count});
    std::int32_t column = x;
    const std::int32_t end = x + count;
    std::int32_t segmentStart = 0;
    for (auto& s : fSegments) {
      const auto segmentEnd = segmentStart + static_cast<std::int32_t>(s.values.size());
      if (column < segmentStart && column < end) {
        const std::int32_t n = std::min(segmentStart, end) - column;
        list.AppendTransparent(n);
        column += n;
      }
      if (column >= segmentStart && column < segmentEnd && column < end) {
        const std::int32_t n = std::min(segmentEnd, end) - column;
        Value* values = s.values.data() + (column - segmentStart);
        const std::uint32_t flags = s.opaque ? kRunOpaque : 0;
        if (s.repeated) {
          list.AppendRepeated(n, *values, flags);
        } else if (fOwnMemory) {
          list.Append(static_cast<std::uint32_t>(n) | flags, values);
        } else {
          std::copy(values, values + n, list.fStorageCursor);
          list.Append(static_cast<std::uint32_t>(n) | flags, list.fStorageCursor);
        }
        column += n;
      }
      segmentStart = segmentEnd;
    }
    if (column < end) list.AppendTransparent(end - column);
  }
  std::vector<std::pair<std::int32_t, std::int32_t>> fCalls;  // (x, count) of every Render

 private:
  std::vector<Segment> fSegments;
  bool fOwnMemory;
};

}  // namespace QorRaster::Testing
