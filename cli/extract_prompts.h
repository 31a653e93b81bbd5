#pragma once
// The extraction's questions answered from the command line: --next files and --continued first,
// then the terminal when there is one, otherwise the answers that keep a script going.
#include <optional>
#include <string>
#include <vector>

#include "cli/status_line.h"
#include "extract/extraction_prompts.h"

namespace kelvara::cli {

// Reads a line from the terminal; false at the end of input or when interrupted.
using LineReader = bool (*)(std::string& line);
bool ReadTerminalLine(std::string& line);

class CliExtractionPrompts : public IExtractionPrompts {
public:
    struct Settings {
        std::vector<std::string> nextFiles;  // used in order for the continuations of each file
        std::optional<bool> continued;       // answer for streams begun in an earlier file
        bool interactive = false;            // whether questions may be asked on the terminal
        LineReader readLine = ReadTerminalLine;
    };

    CliExtractionPrompts(Settings settings, StatusLine& status);

    // The next recovered file starts over with the first --next file.
    void BeginFile() { m_nNextIndex = 0; }

    bool AskRecoverContinuedStream(std::u16string_view fileName, std::u16string_view text) override;
    bool AskContinueInNextFile(std::u16string_view text) override;
    std::string ChooseNextBkfFile() override;
    void ShowInformation(std::u16string_view text) override;

private:
    bool AskYesNo(const std::string& question);
    bool HasNextFileArgument() const { return m_nNextIndex < m_settings.nextFiles.size(); }

    Settings m_settings;
    StatusLine& m_status;
    size_t m_nNextIndex = 0;
};

}  // namespace kelvara::cli
