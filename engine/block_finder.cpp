#include "engine/block_finder.h"

#include "engine/mtf.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kelvara {

size_t FindFirstBlockSimple(const uint8_t* window, BlockTypeMask handled, int* type) {
    for (size_t u = 0; u < kExaminedOffsets; ++u) {
        int t = FindBlockType(window + u);
        if (t >= 0 && (handled >> t) & 1u) {
            *type = t;
            return u;
        }
    }
    return kNoBlockFound;
}

#if defined(__SSE2__)
size_t FindFirstBlock(const uint8_t* window, BlockTypeMask handled, int* type) {
    // Candidates are positions whose first two bytes begin some tag; the exact test follows.
    // Pairs: TA SS VO DI FI CF SF ES EO.
    const __m128i first[] = {_mm_set1_epi8('T'), _mm_set1_epi8('S'), _mm_set1_epi8('V'),
                             _mm_set1_epi8('D'), _mm_set1_epi8('F'), _mm_set1_epi8('C'),
                             _mm_set1_epi8('S'), _mm_set1_epi8('E'), _mm_set1_epi8('E')};
    const __m128i second[] = {_mm_set1_epi8('A'), _mm_set1_epi8('S'), _mm_set1_epi8('O'),
                              _mm_set1_epi8('I'), _mm_set1_epi8('I'), _mm_set1_epi8('F'),
                              _mm_set1_epi8('F'), _mm_set1_epi8('S'), _mm_set1_epi8('O')};
    for (size_t base = 0; base < kExaminedOffsets; base += 16) {
        __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(window + base));
        __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(window + base + 1));
        __m128i hit = _mm_setzero_si128();
        for (int k = 0; k < 9; ++k) {
            hit = _mm_or_si128(hit, _mm_and_si128(_mm_cmpeq_epi8(a, first[k]),
                                                  _mm_cmpeq_epi8(b, second[k])));
        }
        unsigned bits = static_cast<unsigned>(_mm_movemask_epi8(hit));
        while (bits) {
            size_t u = base + static_cast<size_t>(__builtin_ctz(bits));
            bits &= bits - 1;
            if (u >= kExaminedOffsets) return kNoBlockFound;
            int t = FindBlockType(window + u);
            if (t >= 0 && (handled >> t) & 1u) {
                *type = t;
                return u;
            }
        }
    }
    return kNoBlockFound;
}
#else
size_t FindFirstBlock(const uint8_t* window, BlockTypeMask handled, int* type) {
    return FindFirstBlockSimple(window, handled, type);
}
#endif

}  // namespace kelvara
