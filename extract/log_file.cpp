#include "extract/log_file.h"

#include <cerrno>
#include <cstring>
#include <vector>

namespace kelvara {

namespace {
constexpr std::u16string_view kLineEnd = u"\r\n";
}

LogFileWriter::~LogFileWriter() {
    Close();
}

bool LogFileWriter::Create(const std::string& path) {
    m_file = std::fopen(path.c_str(), "wb");
    if (!m_file) {
        m_nErrno = errno;
        m_strError = std::strerror(m_nErrno);
        return false;
    }
    return true;
}

void LogFileWriter::Put(std::u16string_view text) {
    if (!m_file || !m_strError.empty() || text.empty()) return;
    std::vector<unsigned char> bytes;
    bytes.reserve(text.size() * 2);
    for (char16_t c : text) {
        bytes.push_back(static_cast<unsigned char>(c & 0xFF));
        bytes.push_back(static_cast<unsigned char>(c >> 8));
    }
    if (std::fwrite(bytes.data(), 1, bytes.size(), m_file) != bytes.size()) {
        m_nErrno = errno;
        m_strError = std::strerror(m_nErrno);
    }
}

void LogFileWriter::Append(std::u16string_view line) {
    if (!m_bHeaderWritten) {
        Put(kLogFileHeader);
        Put(kLineEnd);
        Put(kLineEnd);
        m_bHeaderWritten = true;
    }
    Put(line);
    Put(kLineEnd);
}

bool LogFileWriter::Close() {
    if (!m_file) return m_strError.empty();
    if (std::fclose(m_file) != 0 && m_strError.empty()) {
        m_nErrno = errno;
        m_strError = std::strerror(m_nErrno);
    }
    m_file = nullptr;
    return m_strError.empty();
}

}  // namespace kelvara
