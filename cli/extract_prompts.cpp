#include "cli/extract_prompts.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>

#include "cli/cli_texts.h"
#include "cli/text_output.h"

namespace kelvara::cli {

namespace {

std::string Trim(const std::string& text) {
    const char* blanks = " \t\r\n\v\f";
    size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos) return {};
    size_t last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

// The reason a path cannot serve as the next file, or empty when it can be read.
std::string UnreadableReason(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::strerror(errno);
    ::close(fd);
    return {};
}

}  // namespace

bool ReadTerminalLine(std::string& line) {
    if (!std::getline(std::cin, line)) {
        std::cin.clear();
        return false;
    }
    return true;
}

CliExtractionPrompts::CliExtractionPrompts(Settings settings, StatusLine& status)
    : m_settings(std::move(settings)), m_status(status) {}

bool CliExtractionPrompts::AskYesNo(const std::string& question) {
    for (;;) {
        m_status.Clear();
        std::fprintf(stderr, "%s%s", question.c_str(), cli_texts::kAnswerYesNo);
        std::fflush(stderr);
        std::string answer;
        if (!m_settings.readLine(answer)) {
            std::fputc('\n', stderr);
            return false;
        }
        answer = Trim(answer);
        if (answer == "y" || answer == "Y" || answer == "yes" || answer == "Yes") return true;
        if (answer == "n" || answer == "N" || answer == "no" || answer == "No") return false;
    }
}

bool CliExtractionPrompts::AskRecoverContinuedStream(std::u16string_view,
                                                     std::u16string_view text) {
    if (m_settings.continued) return *m_settings.continued;
    if (m_settings.interactive) return AskYesNo(ForTerminal(text));
    return true;
}

bool CliExtractionPrompts::AskContinueInNextFile(std::u16string_view text) {
    if (HasNextFileArgument()) return true;
    if (m_settings.interactive) return AskYesNo(ForTerminal(text));
    return false;
}

std::string CliExtractionPrompts::ChooseNextBkfFile() {
    for (;;) {
        std::string path;
        if (HasNextFileArgument()) {
            path = m_settings.nextFiles[m_nNextIndex++];
        } else if (m_settings.interactive) {
            m_status.Clear();
            std::fputs(cli_texts::kAskNextFile, stderr);
            std::fflush(stderr);
            if (!m_settings.readLine(path)) return {};
            path = Trim(path);
            if (path.empty()) return {};
        } else {
            return {};
        }
        // As the file dialog does, offer only files that can be opened.
        std::string reason = UnreadableReason(path);
        if (reason.empty()) {
            m_status.Message(cli_texts::kUsingNextFile + path);
            return path;
        }
        m_status.Message(path + ": " + reason);
    }
}

void CliExtractionPrompts::ShowInformation(std::u16string_view text) {
    m_status.Message(ForTerminal(text));
}

}  // namespace kelvara::cli
