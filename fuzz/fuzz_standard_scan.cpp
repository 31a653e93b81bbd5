// Any byte sequence as an image for the standard scan.
#include <atomic>

#include "engine/bkf.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    kelvara::fuzz::MemoryFile image(data, size);
    std::atomic<int32_t> busy{1};
    kelvara::bkf scanner(busy);
    scanner.ScanFile(image.Path());
    for (int64_t i = 0; i < scanner.Files().Count(); ++i) {
        scanner.Tree().GetNodePath(scanner.Files().At(i).nFolder);
    }
    return 0;
}
