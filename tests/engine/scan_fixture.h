#pragma once
// Running a scanner over an image built in a test, and reading its catalogue back as text.
#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "engine/bkf.h"
#include "engine/bkf_advance.h"
#include "engine/text.h"
#include "tests/support/mtf_writer.h"
#include "tests/support/packed.h"

namespace kelvara::testing {

struct RecordingHost : IScannerHost {
    std::vector<ScanProgress> progress;
    std::vector<std::string> messages;
    int finished = 0;
    std::atomic<int32_t>* stopAfterWindows = nullptr;  // clears this flag after `windowsBeforeStop`
    int windowsBeforeStop = 0;

    void OnScanProgress(const ScanProgress& p) override {
        progress.push_back(p);
        if (stopAfterWindows && --windowsBeforeStop == 0) stopAfterWindows->store(0);
    }
    void OnScanFinished(int percent) override { finished += (percent == 100); }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }

    // Window positions in the order the scan reported them, repeats folded.
    std::vector<uint64_t> Trail() const {
        std::vector<uint64_t> out;
        for (const auto& p : progress)
            if (out.empty() || out.back() != p.nPosition) out.push_back(p.nPosition);
        return out;
    }
};

enum class Mode { kStandard, kAdvanced, kHeuristic };

struct ScanOptions {
    Mode mode = Mode::kStandard;
    uint64_t rangeStart = 0;
    uint64_t rangeEnd = 0;
    bool plainReads = false;
};

struct ScanRun {
    std::atomic<int32_t> busy{1};
    RecordingHost host;
    std::unique_ptr<bkf> scanner;
    int result = -1;
};

inline std::unique_ptr<ScanRun> ScanPath(const std::string& path, ScanOptions options = {}) {
    auto run = std::make_unique<ScanRun>();
    if (options.mode == Mode::kStandard) {
        run->scanner = std::make_unique<bkf>(run->busy);
    } else {
        run->scanner = std::make_unique<bkfAdvance>(run->busy);
        run->scanner->SetHeuristic(options.mode == Mode::kHeuristic);
    }
    run->scanner->SetHost(&run->host);
    run->scanner->SetRange(options.rangeStart, options.rangeEnd);
    run->scanner->SetPlainWindowReads(options.plainReads);
    run->result = run->scanner->ScanFile(path);
    return run;
}

inline std::unique_ptr<ScanRun> ScanBytes(const ByteVector& bytes, ScanOptions options = {}) {
    TempImage image(bytes);
    return ScanPath(image.Path().string(), options);
}

inline std::unique_ptr<ScanRun> ScanImage(const ImageBuilder& builder, ScanOptions options = {}) {
    return ScanBytes(builder.Bytes(), options);
}

// The catalogue as indented lines: nodes in child-list order, then each node's files as
// "- name size@offset".
inline void DumpNode(const bkf& s, int64_t node, int depth, std::string& out) {
    const auto& tree = s.Tree();
    const BKFTREENODE& n = tree.Node(node);
    if (node != 0) {
        out += std::string(2 * (depth - 1), ' ') + Utf16ToUtf8(tree.NodeName(node)) + "\n";
    }
    for (int64_t c = tree.GetFirstChild(node); c >= 0; c = tree.GetNextSibling(c)) DumpNode(s, c, depth + 1, out);
    if (n.nFirstFile >= 0) {
        for (int64_t f = n.nFirstFile; f <= n.nLastFile; ++f) {
            const BKFFILEREC& r = s.Files().At(f);
            out += std::string(2 * depth, ' ') + "- " + Utf16ToUtf8(s.Files().Name(f)) + " " +
                   std::to_string(r.nDataSize) + "@" + std::to_string(r.nDataOffset) + "\n";
        }
    }
}

inline std::string Dump(const bkf& s) {
    std::string out;
    DumpNode(s, 0, 0, out);
    return out;
}

// Only the names, for tests that do not care where data lies.
inline std::string DumpNames(const bkf& s) {
    std::string full = Dump(s), out;
    size_t pos = 0;
    while (pos < full.size()) {
        size_t end = full.find('\n', pos);
        std::string line = full.substr(pos, end - pos);
        size_t dash = line.find("- ");
        if (dash != std::string::npos && line.find_first_not_of(' ') == dash) {
            line = line.substr(0, line.rfind(' '));
        }
        out += line + "\n";
        pos = end + 1;
    }
    return out;
}

}  // namespace kelvara::testing
