#pragma once
// LZS encoding for fixtures and benchmarks: a token writer for crafted frames, a greedy encoder,
// and "FH" compression frames as the reassembly reads them.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace kelvara::testing {

// Writes LZS tokens most significant bit first.
class LzsTokenWriter {
public:
    void Literal(uint8_t byte);
    // offset 1..2047, length >= 2
    void String(uint32_t offset, uint32_t length);
    // The end marker with the 7-bit (short) or 11-bit offset form.
    void End(bool longForm = false);
    // Raw bits, for truncated or odd frames.
    void Bits(uint32_t value, unsigned count);
    // Pads the last byte with zero bits.
    std::vector<uint8_t> Finish();

private:
    std::vector<uint8_t> m_bytes;
    unsigned m_used = 0;  // bits used in the last byte (0 = a new byte is needed)
};

// Greedy LZS over the whole input (one frame: strings refer only to this input), with an end
// marker unless `endMarker` is false.
std::vector<uint8_t> LzsEncode(std::span<const uint8_t> data, bool endMarker = true);

constexpr size_t kFrameHeaderSize = 24;

// The 24-byte frame header: "FH", uncompressed size at 12, compressed size at 16.
std::vector<uint8_t> MakeFrameHeader(uint32_t uncompressedSize, uint32_t compressedSize);
// Header followed by the payload.
std::vector<uint8_t> MakeFrame(std::span<const uint8_t> payload, uint32_t uncompressedSize);
// The data cut into frames of `frameSize` bytes, each compressed, or stored where compression
// does not make it smaller.
std::vector<uint8_t> MakeCompressedStream(std::span<const uint8_t> data, size_t frameSize);

}  // namespace kelvara::testing
