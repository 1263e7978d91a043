#include "raster/run_optimized.h"

#include <type_traits>

namespace QorRaster {
namespace {

// At least this many equal values become a repeated run.
constexpr std::int32_t kMinRepeat = 4;

// Re-encodes one literal run of n values v, which the output list receives at its cursor.
template <typename Value>
class Encoder {
 public:
  Encoder(Value* values, std::int32_t n, SpanList<Value>& output) : fV(values), fN(n), fOutput(output) {}

  // A run flagged opaque is trusted as a whole: its values all count as opaque.
  void EncodeOpaque() { Opaque(0, /*trusted=*/true); }

  void EncodeGeneral() {
    std::int32_t pending = 0;
    std::int32_t i = 0;
    while (i < fN) {
      if (fN - i < kMinRepeat) {
        ++i;
      } else if (EqualFour(i)) {
        AppendLiteral(pending, i, 0);
        const Value v = fV[i];
        i = AppendRepeated(i, OpaqueFlag(v));
        pending = i;
      } else if (std::is_same_v<Value, Pixel> && OpaqueFour(i)) {
        AppendLiteral(pending, i, 0);
        i = Opaque(i, /*trusted=*/false);
        pending = i;
      } else {
        ++i;
      }
    }
    AppendLiteral(pending, fN, 0);
  }

 private:
  bool IsOpaque(std::int32_t i) const { return ValueKind<Value>::IsOpaque(fV[i]); }
  bool EqualFour(std::int32_t i) const { return fV[i] == fV[i + 1] && fV[i] == fV[i + 2] && fV[i] == fV[i + 3]; }
  bool OpaqueFour(std::int32_t i) const { return IsOpaque(i) && IsOpaque(i + 1) && IsOpaque(i + 2) && IsOpaque(i + 3); }

  // Encodes the opaque stretch from s; returns where it ends.
  std::int32_t Opaque(std::int32_t s, bool trusted) {
    std::int32_t pending = s;
    std::int32_t p = s;
    while (p < fN && (trusted || IsOpaque(p))) {
      if (fN - p >= kMinRepeat && EqualFour(p)) {
        AppendLiteral(pending, p, kRunOpaque);
        p = AppendRepeated(p, kRunOpaque);
        pending = p;
      } else {
        ++p;
      }
    }
    AppendLiteral(pending, p, kRunOpaque);
    return p;
  }

  // Appends the values [from, to) as a literal run pointing at them, when there are any.
  void AppendLiteral(std::int32_t from, std::int32_t to, std::uint32_t flags) {
    if (to > from) {
      fOutput.Append(static_cast<std::uint32_t>(to - from) | flags, fV + from);
    }
  }

  // Appends the equal values from i on as one repeated run; returns where they end.
  std::int32_t AppendRepeated(std::int32_t i, std::uint32_t flags) {
    std::int32_t e = i + kMinRepeat;
    while (e < fN && fV[e] == fV[i]) ++e;
    fOutput.AppendRepeated(e - i, fV[i], flags);
    return e;
  }

  Value* fV;
  std::int32_t fN;
  SpanList<Value>& fOutput;
};

}  // namespace

template <typename Value>
void RunOptimizedSource<Value>::Render(std::int32_t x, std::int32_t y, std::int32_t count, SpanList<Value>& list) {
  SpanList<Value> input = list.Continuation();
  fSource->Render(x, y, count, input);
  for (const Run<Value>* at = input.fFirstRun; at < input.fNextRun;) {
    const Run<Value> run = *at;  // the output overwrites this run's slots
    at += run.GetLength();
    if (run.IsRepeated()) {
      list.Append(run);
      continue;
    }
    Encoder<Value> encoder(run.fPointer, run.GetLength(), list);
    if (run.IsOpaque()) {
      encoder.EncodeOpaque();
    } else {
      encoder.EncodeGeneral();
    }
  }
}

template class RunOptimizedSource<Pixel>;
template class RunOptimizedSource<Coverage>;

}  // namespace QorRaster
