// Writing runs into a destination row, as the render drivers do, and the output of a combination
// drawn in place: one whose first source's values already lie in the destination (an image drawn
// into), so that only what changes there needs writing.
#pragma once

#include <algorithm>
#include <cstring>

#include "raster/source.h"

namespace QorRaster {

// Writes one run into the destination of its values: a repeated run fills its length with its
// value (read first, since it may sit inside the range being filled); a literal run is copied,
// unless it already lies there.
template <typename Value>
void WriteRun(Value* destination, const Run<Value>& run) {
  const std::int32_t length = run.GetLength();
  if (run.IsRepeated()) {
    const Value value = *run.fPointer;
    std::fill_n(destination, length, value);
  } else if (run.fPointer != destination) {
    std::memmove(destination, run.fPointer, sizeof(Value) * static_cast<std::size_t>(length));
  }
}

// The output of a combination drawn in place over one segment of a destination row. Values are
// stored where a span list whose storage is the destination would store them; of the runs, only
// those that the render driver would write are kept (a literal run that points at its own place,
// such as the first source's values or values combined in place, needs nothing), and Write
// writes them in order, as the driver writes a list's runs once the source has rendered. Sources
// rendered into it take slots from a run array indexed by offset. A plain value of a few
// pointers, copied like a span list.
template <typename Value>
struct InPlaceRuns : RunAppends<InPlaceRuns<Value>, Value> {
  struct Kept {
    Run<Value> run;
    Value* destination;
  };

  // slots and kept have room for kMaxSpan entries each.
  InPlaceRuns(Value* destination, Run<Value>* slots, Kept* kept)
      : fSlots(slots), fStorageStart(destination), fStorageCursor(destination), fFirstKept(kept), fNextKept(kept) {}

  // An empty span list whose runs and values land where this output's next ones would.
  SpanList<Value> Continuation() const { return SpanList<Value>(fSlots + (fStorageCursor - fStorageStart), fStorageCursor); }

  using RunAppends<InPlaceRuns<Value>, Value>::Append;
  void Append(std::uint32_t word, Value* pointer) {
    if ((word & kRunRepeated) != 0 || pointer != fStorageCursor) {
      *fNextKept++ = Kept{Run<Value>{word, pointer}, fStorageCursor};
    }
    fStorageCursor += word & kRunLengthMask;
  }
  // Renders the source at the current position and takes its runs.
  void Render(Source<Value>& source, std::int32_t x, std::int32_t y, std::int32_t count) {
    SpanList<Value> list = Continuation();
    source.Render(x, y, count, list);
    for (const Run<Value>* run = list.fFirstRun; run < list.fNextRun; run += run->GetLength()) {
      Append(*run);
    }
  }
  // Writes the kept runs in order.
  void Write() const {
    for (const Kept* k = fFirstKept; k < fNextKept; ++k) {
      WriteRun(k->destination, k->run);
    }
  }

  Run<Value>* fSlots;
  Value* fStorageStart;
  Value* fStorageCursor;
  Kept* fFirstKept;
  Kept* fNextKept;
};

}  // namespace QorRaster
