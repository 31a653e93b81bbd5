#pragma once
// Shared pieces of the fuzz targets: inputs become real files, because the core reads files.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace kelvara::fuzz {

// An anonymous in-memory file holding the bytes, reachable by path.
class MemoryFile {
public:
    MemoryFile(const uint8_t* data, size_t size) {
        m_fd = memfd_create("kelvara-fuzz", 0);
        size_t done = 0;
        while (m_fd >= 0 && done < size) {
            ssize_t n = ::write(m_fd, data + done, size - done);
            if (n <= 0) break;
            done += static_cast<size_t>(n);
        }
        m_path = "/proc/self/fd/" + std::to_string(m_fd);
    }
    ~MemoryFile() {
        if (m_fd >= 0) ::close(m_fd);
    }
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;
    const std::string& Path() const { return m_path; }

private:
    int m_fd = -1;
    std::string m_path;
};

// Reads little-endian integers from the front of the input, zeros when it runs out.
class InputSplitter {
public:
    InputSplitter(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    uint64_t Take(size_t bytes) {
        uint64_t v = 0;
        for (size_t i = 0; i < bytes; ++i) {
            uint64_t b = m_pos < m_size ? m_data[m_pos] : 0;
            v |= b << (8 * i);
            ++m_pos;
        }
        return v;
    }
    const uint8_t* Rest() const { return m_data + (m_pos < m_size ? m_pos : m_size); }
    size_t RestSize() const { return m_pos < m_size ? m_size - m_pos : 0; }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
};

}  // namespace kelvara::fuzz
