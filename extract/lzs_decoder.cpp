#include "extract/lzs_decoder.h"

#include <array>
#include <cstring>

namespace kelvara {

namespace {

// Bits are taken most significant first. The top `count` bits of `bits` are the next input bits;
// bits below them are either zero or, after a wide refill, the correct bits that follow.
class BitReader {
public:
    BitReader(const uint8_t* input, size_t size) : m_in(input), m_end(input + size) {}

    // Afterwards at least 57 bits are held, or every remaining input bit is.
    inline void Refill() {
        if (m_end - m_in >= 8) {
            uint64_t word;
            std::memcpy(&word, m_in, 8);
            m_bits |= __builtin_bswap64(word) >> m_count;
            m_in += (63 - m_count) >> 3;
            m_count |= 56;
        } else {
            while (m_count <= 56 && m_in < m_end) {
                m_bits |= uint64_t(*m_in++) << (56 - m_count);
                m_count += 8;
            }
        }
    }
    inline uint64_t Bits() const { return m_bits; }
    inline unsigned Count() const { return m_count; }
    inline void Consume(unsigned n) {
        m_bits <<= n;
        m_count -= n;
    }

private:
    const uint8_t* m_in;
    const uint8_t* m_end;
    uint64_t m_bits = 0;
    unsigned m_count = 0;
};

// Copies a string whose source starts before the frame: that part comes from the zeroed history.
inline void CopyFromBeforeFrame(uint8_t* out, size_t w, size_t offset, size_t n) {
    for (size_t j = 0; j < n; ++j) {
        out[w + j] = (w + j < offset) ? 0 : out[w + j - offset];
    }
}

inline void CopyString(uint8_t* out, size_t w, size_t offset, size_t n, size_t capacity) {
    uint8_t* dst = out + w;
    const uint8_t* src = dst - offset;
    if (offset >= 8 && w + n + 8 <= capacity) {
        // Eight bytes at a time; the source stays at least eight bytes behind, and the overrun
        // past the string lands in output that is written later or never reported.
        for (size_t j = 0; j < n; j += 8) {
            uint64_t v;
            std::memcpy(&v, src + j, 8);
            std::memcpy(dst + j, &v, 8);
        }
    } else if (offset == 1) {
        std::memset(dst, src[0], n);
    } else {
        for (size_t j = 0; j < n; ++j) dst[j] = src[j];
    }
}

// The length code in the 8 bits after a string's offset: 00 01 10 | 11 then 00 01 10 | 11 11 then
// four bits 0000 to 1110; 11 11 1111 (length 23, groups follow) is kLongLength.
struct LengthCode {
    uint8_t length;
    uint8_t bits;
};
constexpr uint8_t kLongLength = 23;

constexpr std::array<LengthCode, 256> MakeLengthTable() {
    std::array<LengthCode, 256> table{};
    for (unsigned v = 0; v < 256; ++v) {
        unsigned first = v >> 6, second = (v >> 4) & 3, nibble = v & 0xF;
        if (first != 3) {
            table[v] = {static_cast<uint8_t>(2 + first), 2};
        } else if (second != 3) {
            table[v] = {static_cast<uint8_t>(5 + second), 4};
        } else {
            table[v] = {static_cast<uint8_t>(8 + nibble), 8};
        }
    }
    return table;
}
constexpr std::array<LengthCode, 256> kLengthTable = MakeLengthTable();

}  // namespace

size_t DecodeFrame(const uint8_t* input, size_t inputSize, uint8_t* output, size_t outputCapacity) {
    BitReader reader(input, inputSize);
    size_t w = 0;
    while (w < outputCapacity) {
        reader.Refill();
        const unsigned count = reader.Count();
        const uint64_t b = reader.Bits();
        if (count < 9) break;
        if ((b >> 63) == 0) {
            // Literals come in runs (incompressible data is all literals): six at once when the
            // bits at hand hold six, else as many as there are.
            constexpr uint64_t kSixLiterals = (1ull << 63) | (1ull << 54) | (1ull << 45) |
                                              (1ull << 36) | (1ull << 27) | (1ull << 18);
            if (count >= 54 && outputCapacity - w >= 6 && (b & kSixLiterals) == 0) {
                uint8_t* o = output + w;
                o[0] = static_cast<uint8_t>(b >> 55);
                o[1] = static_cast<uint8_t>(b >> 46);
                o[2] = static_cast<uint8_t>(b >> 37);
                o[3] = static_cast<uint8_t>(b >> 28);
                o[4] = static_cast<uint8_t>(b >> 19);
                o[5] = static_cast<uint8_t>(b >> 10);
                w += 6;
                reader.Consume(54);
            } else if (count >= 54 && outputCapacity - w >= 6) {
                uint64_t x = b;
                unsigned used = 0;
                do {
                    output[w++] = static_cast<uint8_t>(x >> 55);
                    x <<= 9;
                    used += 9;
                } while (used < 54 && (x >> 63) == 0);
                reader.Consume(used);
            } else {
                output[w++] = static_cast<uint8_t>(b >> 55);
                reader.Consume(9);
            }
            continue;
        }
        size_t offset;
        unsigned used;
        if ((b >> 62) & 1) {
            offset = (b >> 55) & 0x7F;
            used = 9;
        } else {
            if (count < 13) break;
            offset = (b >> 51) & 0x7FF;
            used = 13;
        }
        if (offset == 0) break;  // end marker

        // Bits past `count` are zero here, so a code that would need them is found incomplete.
        const LengthCode code = kLengthTable[(b << used) >> 56];
        if (count < used + code.bits) break;
        used += code.bits;
        size_t length = code.length;
        if (length == kLongLength) {
            // Groups of four bits follow; 1111 means another group.
            reader.Consume(used);
            used = 0;
            bool complete = false;
            do {
                reader.Refill();
                if (reader.Count() < 4) break;
                unsigned group = static_cast<unsigned>(reader.Bits() >> 60);
                reader.Consume(4);
                length += group;
                complete = group != 0xF;
            } while (!complete);
            if (!complete) break;
        }
        reader.Consume(used);

        const size_t room = outputCapacity - w;
        const size_t n = length < room ? length : room;
        if (offset > w) {
            CopyFromBeforeFrame(output, w, offset, n);
        } else {
            CopyString(output, w, offset, n, outputCapacity);
        }
        w += n;
    }
    return w;
}

}  // namespace kelvara
