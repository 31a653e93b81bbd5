#include "engine/block_finder.h"

#include "engine/mtf.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define KELVARA_X86 1
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

namespace {

// Candidate filter over the first two bytes of every tag, one bit per bucket of tags:
// TA SS VO DI FI CF SF E(S|O). A byte's bucket bits are the AND of a table indexed by its low
// nibble and one indexed by its high nibble; a position is a candidate when its first byte and
// the byte after it share a bucket. The exact lookup then decides.
struct NibbleTables {
    alignas(16) uint8_t lo0[16] = {};
    alignas(16) uint8_t hi0[16] = {};
    alignas(16) uint8_t lo1[16] = {};
    alignas(16) uint8_t hi1[16] = {};

    constexpr NibbleTables() {
        const char* buckets[8] = {"T", "S", "V", "D", "F", "C", "S", "E"};
        const char* seconds[8] = {"A", "S", "O", "I", "I", "F", "F", "SO"};
        for (int b = 0; b < 8; ++b) {
            for (const char* c = buckets[b]; *c; ++c) {
                lo0[*c & 0xF] |= uint8_t(1u << b);
                hi0[(*c >> 4) & 0xF] |= uint8_t(1u << b);
            }
            for (const char* c = seconds[b]; *c; ++c) {
                lo1[*c & 0xF] |= uint8_t(1u << b);
                hi1[(*c >> 4) & 0xF] |= uint8_t(1u << b);
            }
        }
    }
};
constexpr NibbleTables kTables;

inline size_t CheckCandidates(const uint8_t* window, size_t base, uint64_t bits, BlockTypeMask handled,
                              int* type) {
    while (bits) {
        size_t u = base + static_cast<size_t>(__builtin_ctzll(bits));
        bits &= bits - 1;
        if (u >= kExaminedOffsets) return kNoBlockFound;
        int t = FindBlockType(window + u);
        if (t >= 0 && (handled >> t) & 1u) {
            *type = t;
            return u;
        }
    }
    return kNoBlockFound - 1;  // keep looking
}

#if KELVARA_X86
__attribute__((target("avx2"))) size_t FindFirstBlockAvx2(const uint8_t* window,
                                                          BlockTypeMask handled, int* type) {
    const __m256i lo0 = _mm256_broadcastsi128_si256(_mm_load_si128(reinterpret_cast<const __m128i*>(kTables.lo0)));
    const __m256i hi0 = _mm256_broadcastsi128_si256(_mm_load_si128(reinterpret_cast<const __m128i*>(kTables.hi0)));
    const __m256i lo1 = _mm256_broadcastsi128_si256(_mm_load_si128(reinterpret_cast<const __m128i*>(kTables.lo1)));
    const __m256i hi1 = _mm256_broadcastsi128_si256(_mm_load_si128(reinterpret_cast<const __m128i*>(kTables.hi1)));
    const __m256i nibble = _mm256_set1_epi8(0x0F);
    const __m256i zero = _mm256_setzero_si256();
    for (size_t base = 0; base < kExaminedOffsets; base += 32) {
        __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(window + base));
        __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(window + base + 1));
        __m256i ma = _mm256_and_si256(_mm256_shuffle_epi8(lo0, _mm256_and_si256(a, nibble)),
                                      _mm256_shuffle_epi8(hi0, _mm256_and_si256(_mm256_srli_epi16(a, 4), nibble)));
        __m256i mb = _mm256_and_si256(_mm256_shuffle_epi8(lo1, _mm256_and_si256(b, nibble)),
                                      _mm256_shuffle_epi8(hi1, _mm256_and_si256(_mm256_srli_epi16(b, 4), nibble)));
        __m256i hit = _mm256_cmpeq_epi8(_mm256_and_si256(ma, mb), zero);
        uint32_t bits = ~static_cast<uint32_t>(_mm256_movemask_epi8(hit));
        if (bits) {
            size_t r = CheckCandidates(window, base, bits, handled, type);
            if (r != kNoBlockFound - 1) return r;
        }
    }
    return kNoBlockFound;
}
#endif

#if defined(__SSE2__)
size_t FindFirstBlockSse2(const uint8_t* window, BlockTypeMask handled, int* type) {
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
            hit = _mm_or_si128(hit, _mm_and_si128(_mm_cmpeq_epi8(a, first[k]), _mm_cmpeq_epi8(b, second[k])));
        }
        uint32_t bits = static_cast<uint32_t>(_mm_movemask_epi8(hit));
        if (bits) {
            size_t r = CheckCandidates(window, base, bits, handled, type);
            if (r != kNoBlockFound - 1) return r;
        }
    }
    return kNoBlockFound;
}
#endif

using FinderFn = size_t (*)(const uint8_t*, BlockTypeMask, int*);

FinderFn ChooseFinder() {
#if KELVARA_X86
    if (__builtin_cpu_supports("avx2")) return FindFirstBlockAvx2;
#endif
#if defined(__SSE2__)
    return FindFirstBlockSse2;
#else
    return FindFirstBlockSimple;
#endif
}

const FinderFn kFinder = ChooseFinder();

}  // namespace

size_t FindFirstBlock(const uint8_t* window, BlockTypeMask handled, int* type) {
    return kFinder(window, handled, type);
}

size_t FindFirstBlockPortable(const uint8_t* window, BlockTypeMask handled, int* type) {
#if defined(__SSE2__)
    return FindFirstBlockSse2(window, handled, type);
#else
    return FindFirstBlockSimple(window, handled, type);
#endif
}

}  // namespace kelvara
