// Scan any image, then save every catalogued file into a fresh folder, and check that nothing
// was created beside it. Byte 0 chooses the options; the rest is the image.
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "engine/bkf.h"
#include "engine/bkf_advance.h"
#include "extract/save_job.h"
#include "fuzz/fuzz_support.h"

namespace fs = std::filesystem;

namespace {

// Answers every question from the option bits; a split set continues in the same image.
class FuzzPrompts : public kelvara::IExtractionPrompts {
public:
    FuzzPrompts(uint8_t flags, std::string image) : m_flags(flags), m_image(std::move(image)) {}
    bool AskRecoverContinuedStream(std::u16string_view, std::u16string_view) override { return m_flags & 4; }
    bool AskContinueInNextFile(std::u16string_view) override { return (m_flags & 8) && m_asked++ < 3; }
    std::string ChooseNextBkfFile() override { return m_flags & 16 ? m_image : std::string(); }
    void ShowInformation(std::u16string_view) override {}

private:
    uint8_t m_flags;
    std::string m_image;
    int m_asked = 0;
};

class QuietHost : public kelvara::ISaveJobHost {
public:
    void AppendLogLine(std::u16string_view) override {}
    void OnRowSaved(uint64_t) override {}
};

fs::path SandboxRoot() {
    static const fs::path root = [] {
        fs::path base = fs::exists("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
        std::string pattern = (base / "kelvara-fuzz-XXXXXX").string();
        char* made = mkdtemp(pattern.data());
        if (!made) std::abort();
        return fs::path(made);
    }();
    return root;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    kelvara::fuzz::InputSplitter input(data, size);
    const uint8_t flags = static_cast<uint8_t>(input.Take(1));
    kelvara::fuzz::MemoryFile image(input.Rest(), input.RestSize());

    std::atomic<int32_t> busy{1};
    std::unique_ptr<kelvara::bkf> scanner;
    if (flags & 1) {
        scanner = std::make_unique<kelvara::bkfAdvance>(busy);
    } else {
        scanner = std::make_unique<kelvara::bkf>(busy);
    }
    scanner->ScanFile(image.Path());
    std::vector<kelvara::SaveRow> rows;
    for (int64_t i = 0; i < scanner->Files().Count(); ++i) {
        rows.push_back(kelvara::MakeSaveRow(scanner->Tree(), scanner->Files(), i));
    }

    const fs::path sandbox = SandboxRoot();
    const fs::path destination = sandbox / "out" / "dest";
    fs::remove_all(sandbox);
    fs::create_directories(destination);
    kelvara::SegmentedSource lists;
    QuietHost host;
    FuzzPrompts prompts(flags, image.Path());
    kelvara::SaveFilesJob job(scanner->Tree(), scanner->Files(), scanner->Image(), lists, busy, host,
                              &prompts);
    job.Run(rows, destination.string(), !(flags & 2));

    // Everything written must be inside the destination.
    for (const fs::path& level : {sandbox, sandbox / "out"}) {
        for (const auto& entry : fs::directory_iterator(level)) {
            const fs::path expected = level == sandbox ? sandbox / "out" : destination;
            if (entry.path() != expected) __builtin_trap();
        }
    }
    fs::remove_all(sandbox);
    fs::create_directories(sandbox);
    return 0;
}
