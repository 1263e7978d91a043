// Four pixels at a time, in the compiler's portable vector types: the byte scaling of two
// channels per 32-bit word becomes one 16-bit multiply per channel, with the same results as the
// scaling of one pixel. Groups of four whose result one side decides alone take a shortcut with
// the same result; drawn shapes consist mostly of such groups.
#pragma once

#include <cstdint>
#include <cstring>
#include <type_traits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "raster/source.h"

namespace QorRaster {

using Pixels4 = std::uint32_t __attribute__((vector_size(16)));
using Lanes8 = std::uint16_t __attribute__((vector_size(16)));

// Scales each lane by its factor (1 to 256, the byte scaling's v + 1).
inline Pixels4 ScalePixels(Pixels4 p, Pixels4 factor) {
  const auto k = reinterpret_cast<Lanes8>(factor | factor << 16);
  const auto rb = reinterpret_cast<Lanes8>(p & 0x00FF00FFu);
  const auto ag = reinterpret_cast<Lanes8>((p >> 8) & 0x00FF00FFu);
  return reinterpret_cast<Pixels4>((rb * k) >> 8) | reinterpret_cast<Pixels4>((ag * k) & 0xFF00);
}

// True when every lane has all the bits of mask set.
inline bool AllSet(Pixels4 v, std::uint32_t mask) {
#if defined(__SSE2__)
  const auto bits = reinterpret_cast<__m128i>(v & mask);
  return _mm_movemask_epi8(_mm_cmpeq_epi32(bits, reinterpret_cast<__m128i>(Pixels4{} + mask))) == 0xFFFF;
#else
  const auto halves = reinterpret_cast<std::uint64_t __attribute__((vector_size(16)))>(v & mask);
  const std::uint64_t both = std::uint64_t{mask} << 32 | mask;
  return (halves[0] & halves[1]) == both;
#endif
}

inline bool AllZero(Pixels4 v) {
#if defined(__SSE2__)
  return _mm_movemask_epi8(_mm_cmpeq_epi32(reinterpret_cast<__m128i>(v), _mm_setzero_si128())) == 0xFFFF;
#else
  const auto halves = reinterpret_cast<std::uint64_t __attribute__((vector_size(16)))>(v);
  return (halves[0] | halves[1]) == 0;
#endif
}

// Sixteen coverage values, and whether all of them equal one value.
inline bool AllBytesEqual(const Coverage* values, Coverage value) {
#if defined(__SSE2__)
  const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(values));
  return _mm_movemask_epi8(_mm_cmpeq_epi8(v, _mm_set1_epi8(static_cast<char>(value)))) == 0xFFFF;
#else
  std::uint64_t halves[2];
  std::memcpy(halves, values, sizeof halves);
  const std::uint64_t all = std::uint64_t{value} * 0x0101010101010101u;
  return halves[0] == all && halves[1] == all;
#endif
}

// Four pixels, or four coverage values widened to one lane each.
template <typename Value>
Pixels4 Load4(const Value* v) {
  if constexpr (std::is_same_v<Value, Pixel>) {
    Pixels4 p;
    std::memcpy(&p, v, sizeof p);
    return p;
  } else {
#if defined(__SSE2__)
    // Zero-extends the four bytes to 32-bit lanes in two unpacks (the compilers' generic
    // conversions of byte vectors take a detour through memory).
    std::int32_t bytes;
    std::memcpy(&bytes, v, sizeof bytes);
    const __m128i zero = _mm_setzero_si128();
    const __m128i words = _mm_unpacklo_epi8(_mm_cvtsi32_si128(bytes), zero);
    return reinterpret_cast<Pixels4>(_mm_unpacklo_epi16(words, zero));
#else
    return Pixels4{v[0], v[1], v[2], v[3]};
#endif
  }
}

inline void Store4(Pixel* to, Pixels4 p) { std::memcpy(to, &p, sizeof p); }

// Sets n pixels to one value: up to the first 16-byte boundary one by one, then 64 bytes at a
// time in stores that lie within cache lines (one that straddles two costs twice), then the rest.
inline void FillPixels(Pixel* to, std::int32_t n, Pixel value) {
  const Pixels4 four = Pixels4{} + value;
  Pixel* const end = to + n;
  for (; to < end && (reinterpret_cast<std::uintptr_t>(to) & 15) != 0; ++to) {
    *to = value;
  }
  for (; end - to >= 16; to += 16) {
    Store4(to, four);
    Store4(to + 4, four);
    Store4(to + 8, four);
    Store4(to + 12, four);
  }
  for (; end - to >= 4; to += 4) {
    Store4(to, four);
  }
  for (; to < end; ++to) {
    *to = value;
  }
}

// Premultiplied source-over of top over bottom, for one pixel or four.
template <typename P>
P OverPixel(P bottom, P top) {
  if constexpr (std::is_same_v<P, Pixel>) {
    return top + bottom - ScalePixel(bottom, top >> 24);
  } else {
    if (AllZero(top)) {
      return bottom;
    }
    if (AllSet(top, 0xFF000000)) {
      return top;  // scaling by alpha 255 takes away the whole bottom
    }
    return top + bottom - ScalePixels(bottom, (top >> 24) + 1);
  }
}

// Pixels scaled by coverage values, one per lane.
inline Pixels4 MaskPixels4(Pixels4 pixels, Pixels4 coverage) {
  if (AllZero(coverage)) {
    return Pixels4{};
  }
  if (AllSet(coverage, 0xFF)) {
    return pixels;
  }
  return ScalePixels(pixels, coverage + 1);
}

}  // namespace QorRaster
