#pragma once
// Serves the scanners' window reads. Every read yields the image bytes at the position, zeros past
// the end of the image; the two implementations differ only in how they get them.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/image_file.h"

namespace kelvara {

class WindowReader {
public:
    virtual ~WindowReader() = default;
    // A pointer to n bytes of the image at `position`, valid until the next call.
    virtual const uint8_t* Window(uint64_t position, size_t n) = 0;
};

// One seek-and-read per window, as the scanners were first written.
class PlainWindowReader final : public WindowReader {
public:
    explicit PlainWindowReader(const ImageFile& image) : m_image(image) {}
    const uint8_t* Window(uint64_t position, size_t n) override;

private:
    const ImageFile& m_image;
    std::vector<uint8_t> m_buffer;
};

// Large pread chunks. Sequential misses double the chunk (up to kMaxChunk); a jump starts small
// again, so jumping over file data does not read it.
class BufferedWindowReader final : public WindowReader {
public:
    explicit BufferedWindowReader(const ImageFile& image);
    const uint8_t* Window(uint64_t position, size_t n) override;

    static constexpr size_t kMinChunk = 32 * 1024;
    // Small enough to stay in the processor's cache while the scanner examines it.
    static constexpr size_t kMaxChunk = 256 * 1024;

private:
    const ImageFile& m_image;
    uint64_t m_length;
    std::vector<uint8_t> m_buffer;
    uint64_t m_start = 0;   // image offset of m_buffer[0]
    size_t m_valid = 0;     // bytes of m_buffer that hold image data (the rest is zero)
    size_t m_chunk = kMinChunk;
};

}  // namespace kelvara
