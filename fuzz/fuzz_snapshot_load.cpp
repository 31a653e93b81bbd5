// Snapshot loading. Usually the input is the snapshot's body behind a path that names a small
// real image, so the loader gets past opening it; with the first byte odd it is taken raw.
#include <atomic>
#include <memory>
#include <vector>

#include "engine/snapshot.h"
#include "engine/text.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::vector<uint8_t> imageBytes(4096, 0);
    static kelvara::fuzz::MemoryFile image(imageBytes.data(), imageBytes.size());
    std::vector<uint8_t> snapshot;
    if (size > 0 && (data[0] & 1)) {
        snapshot.assign(data + 1, data + size);
    } else {
        std::u16string path = kelvara::Utf8ToUtf16(image.Path());
        uint32_t n = static_cast<uint32_t>(path.size() * 2 + 2);
        for (int i = 0; i < 4; ++i) snapshot.push_back(static_cast<uint8_t>(n >> (8 * i)));
        for (char16_t c : path) {
            snapshot.push_back(static_cast<uint8_t>(c));
            snapshot.push_back(static_cast<uint8_t>(c >> 8));
        }
        snapshot.push_back(0);
        snapshot.push_back(0);
        if (size > 0) snapshot.insert(snapshot.end(), data + 1, data + size);
    }
    kelvara::fuzz::MemoryFile file(snapshot.data(), snapshot.size());
    std::atomic<int32_t> busy{1};
    std::unique_ptr<kelvara::bkf> scanner;
    std::u16string imagePath;
    if (kelvara::LoadSnapshot(file.Path(), busy, scanner, imagePath).ok()) {
        // A loaded catalogue must be safe to walk the way the panes walk it.
        const auto& tree = scanner->Tree();
        for (int64_t i = 0; i < tree.NodeCount(); ++i) {
            tree.GetNodePath(i);
            for (int64_t c = tree.GetFirstChild(i); c >= 0; c = tree.GetNextSibling(c)) {
            }
        }
        for (int64_t i = 0; i < scanner->Files().Count(); ++i) {
            kelvara::GetFileRelativePath(tree, scanner->Files(), i);
        }
    }
    return 0;
}
