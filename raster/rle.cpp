#include "raster/rle.h"

#include <algorithm>
#include <utility>

#include "raster/clip.h"
#include "raster/combine.h"

namespace QorRaster {

template <typename Value>
RunLengthImage<Value>::RunLengthImage(const IntRect& bounds, Source<Value>& source)
    : fBounds(bounds.IsEmpty() ? EmptyRect : bounds) {
  Build(*this, source);
}

template <typename Value>
RunLengthImage<Value>& RunLengthImage<Value>::Set(Source<Value>& source) {
  Build(*this, source);
  return *this;
}

template <typename Value>
RunLengthImage<Value>& RunLengthImage<Value>::Draw(Source<Value>& mask)
  requires std::same_as<Value, Coverage>
{
  OverSource<Value> over(this, &mask);
  Build(*this, over);
  return *this;
}

template <typename Value>
void RunLengthImage<Value>::Build(RunLengthImage& target, Source<Value>& source) {
  const IntRect bounds = target.fBounds;
  std::vector<std::uint16_t> words;
  std::vector<Value> values;
  std::vector<RowStart> rows;
  rows.reserve(static_cast<std::size_t>(std::max(bounds.height, 0)));
  Run<Value> runs[kMaxSpan];
  Value storage[kMaxSpan];
  const std::int64_t right = std::int64_t{bounds.x} + bounds.width;
  const std::int64_t bottom = std::int64_t{bounds.y} + bounds.height;
  for (std::int64_t y = bounds.y; y < bottom; ++y) {
    rows.push_back({words.size(), values.size()});
    const std::size_t rowFirstWord = words.size();
    for (std::int64_t x = bounds.x; x < right; x += kMaxSpan) {
      const auto count = static_cast<std::int32_t>(std::min<std::int64_t>(kMaxSpan, right - x));
      SpanList<Value> list(runs, storage);
      source.Render(static_cast<std::int32_t>(x), static_cast<std::int32_t>(y), count, list);
      for (const Run<Value>* run = runs; run < list.fNextRun; run += run->GetLength()) {
        const auto length = static_cast<std::uint16_t>(run->GetLength());
        const auto flags =
            static_cast<std::uint16_t>((run->IsOpaque() ? kOpaque : 0) | (run->IsRepeated() ? kRepeated : 0));
        const bool joins = words.size() > rowFirstWord && (words.back() & ~kLengthMask) == flags &&
                           (words.back() & kLengthMask) + length <= kLengthMask &&
                           (!run->IsRepeated() || values.back() == *run->fPointer);
        if (joins) {
          words.back() = static_cast<std::uint16_t>(words.back() + length);
        } else {
          words.push_back(static_cast<std::uint16_t>(length | flags));
        }
        if (run->IsRepeated()) {
          if (!joins) {
            values.push_back(*run->fPointer);
          }
        } else {
          values.insert(values.end(), run->fPointer, run->fPointer + length);
        }
      }
    }
  }
  target.fRunWords.swap(words);
  target.fValues.swap(values);
  target.fRows.swap(rows);
  target.Rewind();
}

template <typename Value>
void RunLengthImage<Value>::Rewind() {
  fRead = ReadPosition{fBounds.x, fBounds.y, 0, 0};
}

template <typename Value>
void RunLengthImage<Value>::Render(std::int32_t x, std::int32_t y, std::int32_t count, SpanList<Value>& list) {
  // Columns outside the bounds render transparent without touching the runs or the read position.
  RenderWithin(fBounds, x, y, count, list,
               [&](std::int32_t from, std::int32_t n) { RenderInside(from, y, n, list); });
}

template <typename Value>
void RunLengthImage<Value>::RenderInside(std::int32_t x, std::int32_t y, std::int32_t count, SpanList<Value>& list) {
  if (fRead.row != y || fRead.column > x) {
    const RowStart& start = fRows[static_cast<std::size_t>(std::int64_t{y} - fBounds.y)];
    fRead = ReadPosition{fBounds.x, y, start.word, start.value};
  }
  std::int64_t column = fRead.column;
  std::uint64_t w = fRead.word;
  std::uint64_t v = fRead.value;
  // Local copies, which the stores of the appended runs and values cannot alias.
  const std::uint16_t* const words = fRunWords.data();
  Value* const values = fValues.data();
  SpanList<Value> out = list;
  const auto length = [&] { return std::int64_t{words[w] & kLengthMask}; };
  const auto repeated = [&] { return (words[w] & kRepeated) != 0; };
  const auto next = [&] {
    const std::int64_t n = length();
    v += repeated() ? 1 : static_cast<std::uint64_t>(n);
    column += n;
    ++w;
  };
  while (column + length() <= x) {
    next();
  }
  std::int64_t at = x;
  const std::int64_t end = std::int64_t{x} + count;
  for (;;) {
    const std::int64_t take = std::min(column + length(), end) - at;
    if (repeated()) {
      out.AppendValue(static_cast<std::int32_t>(take), values[v]);
    } else {
      out.AppendLiteral(static_cast<std::int32_t>(take), values + v + (at - column),
                        (words[w] & kOpaque) != 0);
    }
    at += take;
    if (at >= end) {
      break;
    }
    next();
  }
  list = out;
  fRead = ReadPosition{column, y, w, v};
}

template class RunLengthImage<Pixel>;
template class RunLengthImage<Coverage>;

}  // namespace QorRaster
