#include "tests/support/lzs_encoder.h"

#include <algorithm>
#include <cstring>

namespace kelvara::testing {

void LzsTokenWriter::Bits(uint32_t value, unsigned count) {
    for (unsigned i = count; i-- > 0;) {
        if (m_used == 0) m_bytes.push_back(0);
        if ((value >> i) & 1) m_bytes.back() |= static_cast<uint8_t>(0x80 >> m_used);
        m_used = (m_used + 1) & 7;
    }
}

void LzsTokenWriter::Literal(uint8_t byte) {
    Bits(byte, 9);
}

void LzsTokenWriter::String(uint32_t offset, uint32_t length) {
    if (offset < 128) {
        Bits(0b11, 2);
        Bits(offset, 7);
    } else {
        Bits(0b10, 2);
        Bits(offset, 11);
    }
    if (length <= 4) {
        Bits(length - 2, 2);
    } else if (length <= 7) {
        Bits(0b11, 2);
        Bits(length - 5, 2);
    } else if (length <= 22) {
        Bits(0b1111, 4);
        Bits(length - 8, 4);
    } else {
        Bits(0b11111111, 8);
        uint32_t rest = length - 23;
        for (; rest >= 15; rest -= 15) Bits(0xF, 4);
        Bits(rest, 4);
    }
}

void LzsTokenWriter::End(bool longForm) {
    if (longForm) {
        Bits(0b10, 2);
        Bits(0, 11);
    } else {
        Bits(0b11, 2);
        Bits(0, 7);
    }
}

std::vector<uint8_t> LzsTokenWriter::Finish() {
    std::vector<uint8_t> out;
    out.swap(m_bytes);
    m_used = 0;
    return out;
}

std::vector<uint8_t> LzsEncode(std::span<const uint8_t> data, bool endMarker) {
    constexpr size_t kWindow = 2047;
    constexpr size_t kHashBits = 13;
    constexpr int kMaxChain = 48;
    const size_t n = data.size();
    std::vector<int64_t> head(size_t(1) << kHashBits, -1);
    std::vector<int64_t> prev(n, -1);
    auto hash = [&](size_t i) {
        uint32_t v = data[i] | (data[i + 1] << 8) | (data[i + 2] << 16);
        return (v * 2654435761u) >> (32 - kHashBits);
    };
    auto insert = [&](size_t i) {
        if (i + 2 >= n) return;
        uint32_t h = hash(i);
        prev[i] = head[h];
        head[h] = static_cast<int64_t>(i);
    };

    LzsTokenWriter writer;
    size_t i = 0;
    while (i < n) {
        size_t bestLength = 0, bestOffset = 0;
        if (i + 2 < n) {
            int chain = kMaxChain;
            for (int64_t c = head[hash(i)]; c >= 0 && chain-- > 0; c = prev[c]) {
                size_t offset = i - static_cast<size_t>(c);
                if (offset > kWindow) break;
                size_t length = 0;
                while (i + length < n && data[c + length] == data[i + length]) ++length;
                if (length > bestLength) {
                    bestLength = length;
                    bestOffset = offset;
                }
            }
        }
        // Two-byte strings pay only with a short offset.
        if (bestLength < 3 && i >= 1 && i + 1 < n) {
            for (size_t offset = 1; offset <= std::min<size_t>(i, 127); ++offset) {
                if (data[i - offset] == data[i] && data[i - offset + 1] == data[i + 1]) {
                    bestLength = 2;
                    bestOffset = offset;
                    break;
                }
            }
        }
        if (bestLength >= 2) {
            writer.String(static_cast<uint32_t>(bestOffset), static_cast<uint32_t>(bestLength));
            for (size_t k = 0; k < bestLength; ++k) insert(i + k);
            i += bestLength;
        } else {
            writer.Literal(data[i]);
            insert(i);
            ++i;
        }
    }
    if (endMarker) writer.End();
    return writer.Finish();
}

std::vector<uint8_t> MakeFrameHeader(uint32_t uncompressedSize, uint32_t compressedSize) {
    std::vector<uint8_t> header(kFrameHeaderSize, 0);
    header[0] = 'F';
    header[1] = 'H';
    for (int k = 0; k < 4; ++k) {
        header[12 + k] = static_cast<uint8_t>(uncompressedSize >> (8 * k));
        header[16 + k] = static_cast<uint8_t>(compressedSize >> (8 * k));
    }
    return header;
}

std::vector<uint8_t> MakeFrame(std::span<const uint8_t> payload, uint32_t uncompressedSize) {
    std::vector<uint8_t> frame =
        MakeFrameHeader(uncompressedSize, static_cast<uint32_t>(payload.size()));
    frame.insert(frame.end(), payload.begin(), payload.end());
    return frame;
}

std::vector<uint8_t> MakeCompressedStream(std::span<const uint8_t> data, size_t frameSize) {
    std::vector<uint8_t> out;
    for (size_t at = 0; at < data.size(); at += frameSize) {
        auto chunk = data.subspan(at, std::min(frameSize, data.size() - at));
        std::vector<uint8_t> packed = LzsEncode(chunk);
        auto size = static_cast<uint32_t>(chunk.size());
        std::vector<uint8_t> frame =
            packed.size() < chunk.size() ? MakeFrame(packed, size) : MakeFrame(chunk, size);
        out.insert(out.end(), frame.begin(), frame.end());
    }
    return out;
}

}  // namespace kelvara::testing
