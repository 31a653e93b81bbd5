#include "extract/output_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace kelvara {

IoStatus IoStatus::Failure(int errorNumber) {
    return {false, std::strerror(errorNumber)};
}

OutputFile::~OutputFile() {
    Close();
}

IoStatus OutputFile::Create(const std::string& path) {
    Close();
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return IoStatus::Failure(errno);
    m_fd = fd;
    return {};
}

IoStatus OutputFile::Write(const void* data, size_t n) {
    if (m_fd < 0) return IoStatus::Failure(EBADF);
    const auto* p = static_cast<const char*>(data);
    while (n > 0) {
        ssize_t done = ::write(m_fd, p, n);
        if (done < 0) {
            if (errno == EINTR) continue;
            return IoStatus::Failure(errno);
        }
        if (done == 0) return IoStatus::Failure(ENOSPC);
        p += done;
        n -= static_cast<size_t>(done);
    }
    return {};
}

IoStatus OutputFile::Close() {
    if (m_fd < 0) return {};
    int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0 && errno != EINTR) return IoStatus::Failure(errno);
    return {};
}

}  // namespace kelvara
