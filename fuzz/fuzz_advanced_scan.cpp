// The advanced scan with and without heuristics over any image and byte range. The first 17
// bytes choose the options; the rest is the image.
#include <atomic>

#include "engine/bkf_advance.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    kelvara::fuzz::InputSplitter input(data, size);
    const uint64_t flags = input.Take(1);
    uint64_t start = input.Take(8);
    uint64_t end = input.Take(8);
    kelvara::fuzz::MemoryFile image(input.Rest(), input.RestSize());
    std::atomic<int32_t> busy{1};
    kelvara::bkfAdvance scanner(busy);
    scanner.SetHeuristic(flags & 1);
    if (flags & 2) {
        // Mostly ranges inside the image, sometimes anything at all.
        const uint64_t length = input.RestSize() + 1;
        if (!(flags & 4)) {
            start %= length;
            end %= length;
        }
        scanner.SetRange(start, end);
    }
    scanner.ScanFile(image.Path());
    return 0;
}
