#include "raster/combine.h"

#include <algorithm>
#include <cstring>
#include <type_traits>

#include "raster/in_place_runs.h"
#include "raster/pixels4.h"

namespace QorRaster {
namespace {

enum class BoundsRule { StoredUnion, Union, Intersection };
// What runs of the second source that decide the result alone do at the ends of a segment:
// nothing (there are none), go to the output one by one, or merge into one repeated run.
enum class Decisive { None, Copy, Merge };
// What a pair of aligned runs yields.
enum class Action { PassFirst, PassSecond, Zero, Compute };

// The part of a run that the walk has not used yet.
template <typename Value>
struct Piece {
  std::uint32_t flags = 0;  // bits 30 and 31 of the run word
  Value* pointer = nullptr;
  Value value = 0;  // a repeated run's value, read before anything can overwrite it
  std::int32_t left = 0;

  void Load(const Run<Value>& run) {
    flags = run.fWord & ~kRunLengthMask;
    pointer = run.fPointer;
    left = run.GetLength();
    if (IsRepeated()) {
      value = *pointer;
    }
  }
  bool IsRepeated() const { return (flags & kRunRepeated) != 0; }
  bool IsOpaque() const { return (flags & kRunOpaque) != 0; }
  bool Repeats(Value v) const { return IsRepeated() && value == v; }
  void Advance(std::int32_t n) {
    left -= n;
    if (!IsRepeated()) {
      pointer += n;
    }
  }
};

bool SpanMeets(const IntRect& rect, std::int32_t x, std::int32_t y, std::int32_t count) {
  return y >= rect.y && std::int64_t{y} < std::int64_t{rect.y} + rect.height && std::int64_t{x} + count > rect.x &&
         std::int64_t{x} < std::int64_t{rect.x} + rect.width;
}

// Four saturating byte sums at once.
template <typename P>
P SaturatingAdd(P f, P s) {
  const P low = (f & 0x7F7F7F7Fu) + (s & 0x7F7F7F7Fu);
  const P high = (f | s) & 0x80808080u;
  const P carry = ((high & low) | (f & s & 0x80808080u)) >> 7;
  return high | low | ((carry + 0x7F7F7F7Fu) ^ 0x7F7F7F7Fu);
}

Coverage SaturatingAdd(Coverage a, Coverage b) { return static_cast<Coverage>(std::min(a + b, 255)); }

template <typename Value>
struct OverRule {
  static constexpr BoundsRule kBounds = BoundsRule::StoredUnion;
  static constexpr Value kNeutral = 0;
  static constexpr Decisive kDecisive = Decisive::Copy;
  // An opaque top hides the bottom outright (also where its alpha is 0xFE).
  static bool IsDecisive(const Run<Value>& second) { return second.IsOpaque(); }
  static Action Choose(const Piece<Value>&, const Piece<Value>& second) {
    if (second.Repeats(0)) return Action::PassFirst;
    if (second.IsOpaque()) return Action::PassSecond;
    return Action::Compute;
  }
  static bool LiteralOpaque(bool first, bool) { return first; }
};

template <typename Value>
struct AddRule {
  static constexpr BoundsRule kBounds = BoundsRule::Union;
  static constexpr Value kNeutral = 0;
  static constexpr Decisive kDecisive = Decisive::Merge;
  static constexpr Value kDecisiveValue = ValueKind<Value>::kFull;
  static bool IsDecisive(const Run<Value>& second) { return second.Repeats(ValueKind<Value>::kFull); }
  static Action Choose(const Piece<Value>& first, const Piece<Value>& second) {
    if (first.Repeats(ValueKind<Value>::kFull) || second.Repeats(0)) return Action::PassFirst;
    if (second.Repeats(ValueKind<Value>::kFull) || first.Repeats(0)) return Action::PassSecond;
    return Action::Compute;
  }
  template <typename V>
  static V Apply(V first, V second) {
    return SaturatingAdd(first, second);
  }
  static bool LiteralOpaque(bool first, bool second) { return first || second; }
};

// Scaling by the second source, whose full value keeps the first and whose zero clears it.
template <typename Value, typename Second>
struct ScaleRule {
  static constexpr BoundsRule kBounds = BoundsRule::Intersection;
  static constexpr Second kNeutral = ValueKind<Second>::kFull;
  static Action Choose(const Piece<Value>& first, const Piece<Second>& second) {
    if (first.Repeats(0) || second.Repeats(ValueKind<Second>::kFull)) return Action::PassFirst;
    if (second.Repeats(0)) return Action::Zero;
    return Action::Compute;
  }
  static bool LiteralOpaque(bool first, bool second) { return first && second; }
};

template <typename Value>
struct MaskRule : ScaleRule<Value, Coverage> {
  static constexpr Decisive kDecisive = Decisive::Merge;
  static constexpr Value kDecisiveValue = 0;
  static bool IsDecisive(const Run<Coverage>& second) { return second.Repeats(0); }
};

// A whole source rendered into an output of runs.
template <typename Value>
void RenderSource(Source<Value>& source, std::int32_t x, std::int32_t y, std::int32_t count, SpanList<Value>& output) {
  source.Render(x, y, count, output);
}

template <typename Value>
void RenderSource(Source<Value>& source, std::int32_t x, std::int32_t y, std::int32_t count, InPlaceRuns<Value>& output) {
  output.Render(source, x, y, count);
}

// The first source's runs into a list: rendered, or, drawing in place, its values taken where
// they lie (one literal run at the list's storage cursor).
template <typename Value>
struct RenderedFirst {
  Source<Value>* source;
  template <typename List>
  void Render(std::int32_t x, std::int32_t y, std::int32_t count, List& list) const {
    RenderSource(*source, x, y, count, list);
  }
};

struct FirstInPlace {
  template <typename List>
  void Render(std::int32_t, std::int32_t, std::int32_t count, List& list) const {
    list.AppendLiteral(count, list.fStorageCursor, false);
  }
};

}  // namespace

struct OverPixels : OverRule<Pixel> {
  template <typename P>
  static P Apply(P bottom, P top) {
    return OverPixel(bottom, top);
  }
};

struct OverCoverage : OverRule<Coverage> {
  static Coverage Apply(Coverage bottom, Coverage top) { return SaturatingAdd(bottom, top); }
};

struct AddPixels : AddRule<Pixel> {};
struct AddCoverage : AddRule<Coverage> {};

struct MultiplyPixels : ScaleRule<Pixel, Pixel> {
  static constexpr Decisive kDecisive = Decisive::None;
  static Pixel Apply(Pixel first, Pixel second) {
    Pixel result = 0;
    for (int shift = 0; shift < 32; shift += 8) {
      const std::uint32_t s = (second >> shift) & 0xFFu;
      result |= ((ScaleFactor(s) * ((first >> shift) & 0xFFu)) >> 8) << shift;
    }
    return result;
  }
};

struct MaskPixels : MaskRule<Pixel> {
  static Pixel Apply(Pixel first, Coverage second) { return ScalePixel(first, second); }
  static Pixels4 Apply(Pixels4 first, Pixels4 second) { return MaskPixels4(first, second); }
};

struct MaskCoverage : MaskRule<Coverage> {
  static Coverage Apply(Coverage first, Coverage second) { return ScaleCoverage(first, second); }
};

template <typename First, typename Second, typename Rule>
CombinedSource<First, Second, Rule>::CombinedSource(Source<First>* first, Source<Second>* second)
    : SourcePair<First, Second>(first, second) {
  if constexpr (Rule::kBounds == BoundsRule::StoredUnion) {
    fFirstBounds = first->GetBounds();
    fSecondBounds = second->GetBounds();
  }
}

template <typename First, typename Second, typename Rule>
IntRect CombinedSource<First, Second, Rule>::GetBounds() const {
  if constexpr (Rule::kBounds == BoundsRule::StoredUnion) {
    return fFirstBounds.Unite(fSecondBounds);
  } else if constexpr (Rule::kBounds == BoundsRule::Union) {
    return this->fFirst->GetBounds().Unite(this->fSecond->GetBounds());
  } else {
    return this->fFirst->GetBounds().Intersect(this->fSecond->GetBounds());
  }
}

template <typename First, typename Second, typename Rule>
void CombinedSource<First, Second, Rule>::Render(std::int32_t x, std::int32_t y, std::int32_t count,
                                                 SpanList<First>& list) {
  RenderTo(x, y, count, list, RenderedFirst<First>{this->fFirst});
}

template <typename First, typename Second, typename Rule>
void CombinedSource<First, Second, Rule>::RenderInPlace(std::int32_t x, std::int32_t y, std::int32_t count,
                                                        First* destination) {
  Run<First> slots[kMaxSpan];
  typename InPlaceRuns<First>::Kept kept[kMaxSpan];
  InPlaceRuns<First> runs(destination, slots, kept);
  RenderTo(x, y, count, runs, FirstInPlace{});
  runs.Write();
}

template <typename First, typename Second, typename Rule>
template <typename Output, typename FirstValues>
void CombinedSource<First, Second, Rule>::RenderTo(std::int32_t x, std::int32_t y, std::int32_t count, Output& list,
                                                   FirstValues first) {
  if constexpr (Rule::kBounds == BoundsRule::StoredUnion) {
    const bool meetsFirst = SpanMeets(fFirstBounds, x, y, count);
    const bool meetsSecond = SpanMeets(fSecondBounds, x, y, count);
    if (!meetsSecond) {
      if (meetsFirst) {
        first.Render(x, y, count, list);
      } else {
        list.AppendTransparent(count);
      }
      return;
    }
    if (!meetsFirst) {
      RenderSource(*this->fSecond, x, y, count, list);
      return;
    }
  }

  Run<Second> second[kMaxSpan];
  SpanList<Second> secondList(second, this->fScratch);
  this->fSecond->Render(x, y, count, secondList);
  if (second[0].GetLength() == count && second[0].Repeats(Rule::kNeutral)) {
    first.Render(x, y, count, list);
    return;
  }

  // Decisive runs at both ends: the first source is not rendered under them.
  std::int32_t start = 0;
  std::int32_t end = count;
  const auto passDecisive = [&](std::int32_t from, std::int32_t to) {
    if constexpr (Rule::kDecisive == Decisive::Copy) {
      for (std::int32_t o = from; o < to; o += second[o].GetLength()) {
        list.Append(second[o]);
      }
    } else if constexpr (Rule::kDecisive == Decisive::Merge) {
      if (to > from) {
        list.AppendValue(to - from, Rule::kDecisiveValue);
      }
    }
  };
  if constexpr (Rule::kDecisive != Decisive::None) {
    while (start < count && Rule::IsDecisive(second[start])) {
      start += second[start].GetLength();
    }
    while (end > start && Rule::IsDecisive(second[end - 1])) {
      end -= second[end - 1].GetLength();
    }
    passDecisive(0, start);
  }
  if (start < end) {
    Combine(x, y, start, end, second, list, first);
  }
  passDecisive(end, count);
}

// Where the values of one side of a pair come from.
template <typename Value>
struct RepeatedValues {
  Value value;
  Value At(std::int32_t) const { return value; }
  Pixels4 Batch(std::int32_t) const { return Pixels4{} + value; }
};

template <typename Value>
struct LiteralValues {
  const Value* values;
  Value At(std::int32_t i) const { return values[i]; }
  Pixels4 Batch(std::int32_t i) const { return Load4(values + i); }
};

// Rules on pixels combine four at a time where they can.
template <typename Rule, typename First, typename F, typename S>
void Blend(First* out, std::int32_t n, F first, S second) {
  if constexpr (std::is_same_v<First, Pixel> && requires { Rule::Apply(first.Batch(0), second.Batch(0)); }) {
    std::int32_t i = 0;
    for (; i + 4 <= n; i += 4) {
      const Pixels4 result = Rule::Apply(first.Batch(i), second.Batch(i));
      Store4(out + i, result);
    }
    // At most three left: a plain loop, which costs short runs (the edges of shapes) no set-up.
    for (std::int32_t k = 0; k < (n & 3); ++k, ++i) {
      out[i] = Rule::Apply(first.At(i), second.At(i));
    }
  } else {
    for (std::int32_t i = 0; i < n; ++i) {
      out[i] = Rule::Apply(first.At(i), second.At(i));
    }
  }
}

// The values of a pair of aligned pieces, of which at least one is literal. Values combined in
// place (the first source's literal values already sit where the results go, as when drawing
// into an image) are read through the output pointer itself, so that the compiler needs no
// overlap test to vectorise the loop.
template <typename Rule, typename First, typename Second>
void ApplyLiteral(First* out, std::int32_t n, const Piece<First>& first, const Piece<Second>& second) {
  const auto withSecond = [&](auto f) {
    if (second.IsRepeated()) {
      Blend<Rule>(out, n, f, RepeatedValues<Second>{second.value});
    } else {
      Blend<Rule>(out, n, f, LiteralValues<Second>{second.pointer});
    }
  };
  if (first.IsRepeated()) {
    Blend<Rule>(out, n, RepeatedValues<First>{first.value}, LiteralValues<Second>{second.pointer});
  } else if (first.pointer == out) {
    withSecond(LiteralValues<First>{out});
  } else {
    withSecond(LiteralValues<First>{first.pointer});
  }
}

// Renders the first source over the offsets start to end - 1, straight into the caller's list,
// and walks its runs against the second source's, splitting the longer of two runs. Each
// result is written over the first source's runs and values at the same offsets; a repeated
// value that the first source keeps in the list's storage is read before anything there is
// overwritten, and a piece passed on gets its own copy at its own offset.
template <typename First, typename Second, typename Rule>
template <typename Output, typename FirstValues>
void CombinedSource<First, Second, Rule>::Combine(std::int32_t x, std::int32_t y, std::int32_t start, std::int32_t end,
                                                  const Run<Second>* second, Output& list, FirstValues first) {
  SpanList<First> firstList = list.Continuation();
  first.Render(Wrapped(std::int64_t{x} + start), y, end - start, firstList);
  const Run<First>* firstRuns = firstList.fFirstRun - start;  // indexed by offset
  const First* storageStart = firstList.fStorageStart;
  const First* storageEnd = firstList.fStorageCursor;

  // A local copy of the list, which the stores of runs and values cannot alias.
  Output output = list;
  const auto emit = [&](const Piece<First>& f, const Piece<Second>& s, std::int32_t n) {
    switch (Rule::Choose(f, s)) {
      case Action::PassFirst:
        if (f.IsRepeated() && f.pointer >= storageStart && f.pointer < storageEnd) {
          output.AppendRepeated(n, f.value, f.flags & kRunOpaque);
        } else {
          output.Append(static_cast<std::uint32_t>(n) | f.flags, f.pointer);
        }
        break;
      case Action::PassSecond:
        if constexpr (std::is_same_v<First, Second>) {
          output.Append(static_cast<std::uint32_t>(n) | s.flags, s.pointer);
        }
        break;
      case Action::Zero:
        output.AppendTransparent(n);
        break;
      case Action::Compute:
        if (f.IsRepeated() && s.IsRepeated()) {
          output.AppendValue(n, Rule::Apply(f.value, s.value));
        } else {
          First* values = output.fStorageCursor;
          if (n < 4) {
            // Short runs (the edges of shapes) value by value, without the set-up of the blends.
            for (std::int32_t k = 0; k < n; ++k) {
              values[k] = Rule::Apply(f.IsRepeated() ? f.value : f.pointer[k], s.IsRepeated() ? s.value : s.pointer[k]);
            }
          } else {
            ApplyLiteral<Rule>(values, n, f, s);
          }
          output.AppendLiteral(n, values, Rule::LiteralOpaque(f.IsOpaque(), s.IsOpaque()));
        }
        break;
    }
  };
  Piece<First> f;
  Piece<Second> s;
  f.Load(firstRuns[start]);
  if (f.left == end - start) {
    // One first run (an image row, a solid colour) under all of the second's: no splitting.
    for (std::int32_t o = start; o < end; o += s.left) {
      s.Load(second[o]);
      emit(f, s, s.left);
      f.Advance(s.left);
    }
  } else {
    for (std::int32_t o = start; o < end;) {
      if (f.left == 0) {
        f.Load(firstRuns[o]);
      }
      if (s.left == 0) {
        s.Load(second[o]);
      }
      const std::int32_t n = std::min({f.left, s.left, end - o});
      emit(f, s, n);
      f.Advance(n);
      s.Advance(n);
      o += n;
    }
  }
  list = output;
}

template class CombinedSource<Pixel, Pixel, OverPixels>;
template class CombinedSource<Coverage, Coverage, OverCoverage>;
template class CombinedSource<Pixel, Pixel, AddPixels>;
template class CombinedSource<Coverage, Coverage, AddCoverage>;
template class CombinedSource<Pixel, Pixel, MultiplyPixels>;
template class CombinedSource<Pixel, Coverage, MaskPixels>;
template class CombinedSource<Coverage, Coverage, MaskCoverage>;

}  // namespace QorRaster
