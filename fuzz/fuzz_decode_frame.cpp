// DecodeFrame on any input with any output capacity. Bytes 0-1: how many of the remaining bytes
// are input; bytes 2-3: the output capacity (up to the frame limit).
#include <algorithm>
#include <vector>

#include "extract/lzs_decoder.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    kelvara::fuzz::InputSplitter input(data, size);
    const uint64_t wantedInput = input.Take(2);
    const size_t capacity = std::min<size_t>(input.Take(2), kelvara::kFrameOutputCapacity);
    const size_t inputSize = std::min<size_t>(wantedInput, input.RestSize());
    // Exact-size heap buffers, so any read or write past them is caught.
    std::vector<uint8_t> in(input.Rest(), input.Rest() + inputSize);
    std::vector<uint8_t> out(capacity);
    size_t n = kelvara::DecodeFrame(in.data(), in.size(), out.data(), out.size());
    if (n > capacity) __builtin_trap();
    return 0;
}
