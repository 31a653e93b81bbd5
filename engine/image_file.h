#pragma once
// A BKF image opened read-only, read with pread at 64-bit offsets.
#include <cstddef>
#include <cstdint>
#include <string>

namespace kelvara {

class ImageFile {
public:
    ImageFile() = default;
    ~ImageFile();
    ImageFile(const ImageFile&) = delete;
    ImageFile& operator=(const ImageFile&) = delete;

    // Opens for reading; on failure returns false and LastError() holds the system's reason.
    bool Open(const std::string& path);
    void Close();
    bool IsOpen() const { return m_fd >= 0; }
    // The absolute path given at opening.
    const std::string& Path() const { return m_path; }
    uint64_t Length() const;
    // Reads up to n bytes at offset; returns the count read (short at the end, 0 on error).
    size_t ReadAt(uint64_t offset, void* buffer, size_t n) const;
    // Reads n bytes at offset, zero-filling whatever the file cannot supply.
    void ReadZeroFilled(uint64_t offset, void* buffer, size_t n) const;
    const std::string& LastError() const { return m_error; }

private:
    int m_fd = -1;
    std::string m_path;
    std::string m_error;
};

}  // namespace kelvara
