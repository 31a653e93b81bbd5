#include "engine/window_reader.h"

#include <algorithm>
#include <cstring>

namespace kelvara {

const uint8_t* PlainWindowReader::Window(uint64_t position, size_t n) {
    m_buffer.resize(n);
    m_image.ReadZeroFilled(position, m_buffer.data(), n);
    return m_buffer.data();
}

BufferedWindowReader::BufferedWindowReader(const ImageFile& image)
    : m_image(image), m_length(image.Length()) {}

const uint8_t* BufferedWindowReader::Window(uint64_t position, size_t n) {
    const uint64_t end = m_start + m_buffer.size();
    if (position >= m_start && position <= end && n <= end - position && !m_buffer.empty()) {
        return m_buffer.data() + (position - m_start);
    }
    // A miss that continues where the buffer ended is a sequential pass: read ahead further.
    const uint64_t validEnd = m_start + m_valid;
    if (position >= m_start && position <= validEnd + kMinChunk && !m_buffer.empty()) {
        m_chunk = std::min(m_chunk * 2, kMaxChunk);
    } else {
        m_chunk = kMinChunk;
    }
    size_t want = std::max(m_chunk, n);
    m_buffer.resize(want);
    m_start = position;
    m_valid = 0;
    if (position < m_length) {
        uint64_t available = m_length - position;
        size_t toRead = static_cast<size_t>(std::min<uint64_t>(available, want));
        m_valid = m_image.ReadAt(position, m_buffer.data(), toRead);
    }
    if (m_valid < want) std::memset(m_buffer.data() + m_valid, 0, want - m_valid);
    return m_buffer.data();
}

}  // namespace kelvara
