#pragma once

#include <array>
#include <cstddef>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace ORDO {

// A small set of byte values that the scanners stop at: Has tests one byte with a table
// lookup, Find steps over the bytes outside the set sixteen at a time where SSE2 is available
// and four at a time otherwise.
template <size_t Size>
class CharSet {
public:
    // From a string literal of the members.
    constexpr explicit CharSet(const char (&members)[Size])
    {
        for (size_t i = 0; i < kCount; ++i) {
            fTable[static_cast<unsigned char>(members[i])] = true;
            fMembers[i] = members[i];
        }
    }

    constexpr bool Has(char c) const { return fTable[static_cast<unsigned char>(c)]; }

    // The first position from p on whose character is in the set, or end.
    const char* Find(const char* p, const char* end) const
    {
#if defined(__SSE2__)
        for (; end - p >= 16; p += 16) {
            const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            __m128i hits = _mm_setzero_si128();
            for (size_t i = 0; i < kCount; ++i)
                hits = _mm_or_si128(hits, _mm_cmpeq_epi8(block, _mm_set1_epi8(fMembers[i])));
            const int mask = _mm_movemask_epi8(hits);
            if (mask != 0)
                return p + __builtin_ctz(static_cast<unsigned>(mask));
        }
#endif
        // Short texts are the rule (words, groups of a few characters): four bytes a round.
        for (; end - p >= 4; p += 4) {
            if (Has(p[0]))
                return p;
            if (Has(p[1]))
                return p + 1;
            if (Has(p[2]))
                return p + 2;
            if (Has(p[3]))
                return p + 3;
        }
        while (p < end && !Has(*p))
            ++p;
        return p;
    }

private:
    static constexpr size_t kCount = Size - 1; // without the terminating zero

    std::array<bool, 256> fTable{};
    std::array<char, kCount> fMembers{};
};

} // namespace ORDO
