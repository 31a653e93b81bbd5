#include "engine/image_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace kelvara {

ImageFile::~ImageFile() { Close(); }

bool ImageFile::Open(const std::string& path) {
    Close();
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        m_error = std::strerror(errno);
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        m_error = S_ISDIR(st.st_mode) ? std::strerror(EISDIR) : std::strerror(errno);
        ::close(fd);
        return false;
    }
    m_fd = fd;
    std::error_code ec;
    auto absolute = std::filesystem::absolute(path, ec);
    m_path = ec ? path : absolute.lexically_normal().string();
    m_error.clear();
    return true;
}

void ImageFile::Close() {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
}

uint64_t ImageFile::Length() const {
    if (m_fd < 0) return 0;
    struct stat st {};
    if (::fstat(m_fd, &st) != 0) return 0;
    if (S_ISREG(st.st_mode)) return static_cast<uint64_t>(st.st_size);
    // Block devices report their size through lseek.
    off_t end = ::lseek(m_fd, 0, SEEK_END);
    return end > 0 ? static_cast<uint64_t>(end) : 0;
}

size_t ImageFile::ReadAt(uint64_t offset, void* buffer, size_t n) const {
    if (m_fd < 0 || offset > static_cast<uint64_t>(INT64_MAX)) return 0;
    auto* out = static_cast<char*>(buffer);
    size_t done = 0;
    while (done < n) {
        uint64_t at = offset + done;
        if (at > static_cast<uint64_t>(INT64_MAX)) break;
        ssize_t got = ::pread(m_fd, out + done, n - done, static_cast<off_t>(at));
        if (got < 0) {
            if (errno == EINTR) continue;
            return done;
        }
        if (got == 0) break;
        done += static_cast<size_t>(got);
    }
    return done;
}

void ImageFile::ReadZeroFilled(uint64_t offset, void* buffer, size_t n) const {
    size_t got = ReadAt(offset, buffer, n);
    if (got < n) std::memset(static_cast<char*>(buffer) + got, 0, n - got);
}

}  // namespace kelvara
