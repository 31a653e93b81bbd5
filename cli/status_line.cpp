#include "cli/status_line.h"

#include <unistd.h>

#include <cstdio>

namespace kelvara::cli {

namespace {
constexpr auto kThrottle = std::chrono::milliseconds(200);
}

bool StderrIsTerminal() {
    return ::isatty(STDERR_FILENO) == 1;
}
bool StdinIsTerminal() {
    return ::isatty(STDIN_FILENO) == 1;
}

StatusLine::StatusLine(bool showProgress) : m_bShowProgress(showProgress) {}

StatusLine::~StatusLine() {
    Clear();
}

bool StatusLine::ProgressDue() const {
    if (!m_bShowProgress) return false;
    return !m_bDrawn || std::chrono::steady_clock::now() - m_lastDraw >= kThrottle;
}

void StatusLine::Progress(const std::string& text) {
    if (ProgressDue()) Draw(text);
}

void StatusLine::ProgressNow(const std::string& text) {
    if (m_bShowProgress) Draw(text);
}

void StatusLine::Draw(const std::string& text) {
    // Carriage return, the text, then erase whatever a longer previous text left.
    std::fprintf(stderr, "\r%s\x1b[K", text.c_str());
    std::fflush(stderr);
    m_bDrawn = true;
    m_lastDraw = std::chrono::steady_clock::now();
}

void StatusLine::Message(const std::string& line) {
    Clear();
    std::fprintf(stderr, "%s\n", line.c_str());
    std::fflush(stderr);
}

void StatusLine::Clear() {
    if (!m_bDrawn) return;
    std::fputs("\r\x1b[K", stderr);
    std::fflush(stderr);
    m_bDrawn = false;
}

}  // namespace kelvara::cli
