#include "cli/log_file.h"

#include <cerrno>
#include <cstring>
#include <vector>

namespace kelvara::cli {

namespace {
constexpr std::u16string_view kLineEnd = u"\r\n";
}

LogFile::~LogFile() {
    Close();
}

bool LogFile::Create(const std::string& path) {
    m_file = std::fopen(path.c_str(), "wb");
    if (!m_file) {
        m_strError = std::strerror(errno);
        return false;
    }
    return true;
}

void LogFile::Put(std::u16string_view text) {
    if (!m_file || !m_strError.empty() || text.empty()) return;
    std::vector<unsigned char> bytes;
    bytes.reserve(text.size() * 2);
    for (char16_t c : text) {
        bytes.push_back(static_cast<unsigned char>(c & 0xFF));
        bytes.push_back(static_cast<unsigned char>(c >> 8));
    }
    if (std::fwrite(bytes.data(), 1, bytes.size(), m_file) != bytes.size()) {
        m_strError = std::strerror(errno);
    }
}

void LogFile::Append(std::u16string_view line) {
    if (!m_bHeaderWritten) {
        Put(kLogFileHeader);
        Put(kLineEnd);
        Put(kLineEnd);
        m_bHeaderWritten = true;
    }
    Put(line);
    Put(kLineEnd);
}

bool LogFile::Close() {
    if (!m_file) return m_strError.empty();
    if (std::fclose(m_file) != 0 && m_strError.empty()) m_strError = std::strerror(errno);
    m_file = nullptr;
    return m_strError.empty();
}

}  // namespace kelvara::cli
