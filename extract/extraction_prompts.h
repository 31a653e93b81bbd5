#pragma once
// The questions and messages of a file's extraction, answered by whoever runs the job: message
// boxes and a file dialog in the desktop program, flags or a terminal in kelvara-cli.
#include <string>
#include <string_view>

namespace kelvara {

class IExtractionPrompts {
public:
    virtual ~IExtractionPrompts() = default;

    // Yes/No, information icon. The file's data stream began in an earlier BKF file; `text` is
    // the file name followed by extract_texts::kContinuedStreamQuestion. Yes recovers the part in
    // this file.
    virtual bool AskRecoverContinuedStream(std::u16string_view fileName,
                                           std::u16string_view text) = 0;

    // Yes/No, information icon, extract_texts::kSplitSetQuestion. Yes goes on to ChooseNextBkfFile.
    virtual bool AskContinueInNextFile(std::u16string_view text) = 0;

    // The open-file dialog for the next file of the set (existing files only, default extension
    // kNextFileDefaultExtension, initial name kNextFileInitialName, filter kNextFileFilter).
    // Returns the chosen path; empty when cancelled. Asked again after a file that cannot be
    // opened or holds no FILE block.
    virtual std::string ChooseNextBkfFile() = 0;

    // An information message (kNoNextFileSelected).
    virtual void ShowInformation(std::u16string_view text) = 0;
};

}  // namespace kelvara
