#pragma once
// Shared pieces of the extraction tests: scripted answers to the extraction prompts and helpers
// around records and output files.
#include <atomic>
#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/catalogue.h"
#include "engine/text.h"
#include "extract/extraction_prompts.h"
#include "tests/support/mtf_writer.h"

namespace kelvara::testing {

// Answers from scripts and records every text it was shown, with the kind of prompt in front.
class ScriptedPrompts : public IExtractionPrompts {
public:
    std::deque<bool> continuedAnswers;
    std::deque<bool> splitAnswers;
    std::deque<std::string> nextFiles;  // "" cancels the dialog
    std::vector<std::string> shown;

    bool AskRecoverContinuedStream(std::u16string_view fileName,
                                   std::u16string_view text) override {
        shown.push_back("continued: " + Utf16ToUtf8(text));
        lastFileName = std::u16string(fileName);
        return Take(continuedAnswers, false);
    }
    bool AskContinueInNextFile(std::u16string_view text) override {
        shown.push_back("split: " + Utf16ToUtf8(text));
        return Take(splitAnswers, false);
    }
    std::string ChooseNextBkfFile() override {
        shown.push_back("dialog");
        return Take(nextFiles, std::string());
    }
    void ShowInformation(std::u16string_view text) override {
        shown.push_back("info: " + Utf16ToUtf8(text));
    }

    std::u16string lastFileName;

private:
    template <typename T>
    static T Take(std::deque<T>& from, T otherwise) {
        if (from.empty()) return otherwise;
        T value = from.front();
        from.pop_front();
        return value;
    }
};

inline BKFFILEREC DataRecord(uint64_t dataOffset, uint64_t dataSize) {
    BKFFILEREC record = MakeEmptyFileRecord();
    record.nDataOffset = dataOffset;
    record.nDataSize = dataSize;
    return record;
}

// The record a scanner makes for the last FILE block of `image`: its first STAN stream.
inline BKFFILEREC LastFileRecord(const ImageBuilder& image) {
    for (auto block = image.Blocks().rbegin(); block != image.Blocks().rend(); ++block) {
        if (block->tag != "FILE") continue;
        const StreamInfo* stan = block->FirstStan();
        if (stan == nullptr) throw std::logic_error("the last FILE block has no STAN stream");
        return DataRecord(stan->dataOffset, stan->length);
    }
    throw std::logic_error("no FILE block");
}

inline ByteVector ReadWholeFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return ByteVector(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline ByteVector Concat(ByteVector a, const ByteVector& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

}  // namespace kelvara::testing
