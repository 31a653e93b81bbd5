#pragma once
// Finding the first handled block tag in a scan window: the scanners' innermost loop.
#include <cstddef>
#include <cstdint>

namespace kelvara {

// Bit i set: block type i is handled at this position.
using BlockTypeMask = uint32_t;
constexpr BlockTypeMask kStandardHandledBlocks = 0x39F;  // all but CFIL and SFMB
constexpr BlockTypeMask kAdvancedHandledBlocks = 0x3FF;

// Offsets 0..1019 of a 1024-byte window are examined; the last four never are.
constexpr size_t kExaminedOffsets = 1020;
// The window must hold this many readable bytes (the rest of a 1024-byte window is padding).
constexpr size_t kFinderWindowBytes = 1024 + 64;
constexpr size_t kNoBlockFound = static_cast<size_t>(-1);

// The first offset u < 1020 whose four bytes are a block tag of a handled type, or kNoBlockFound.
size_t FindFirstBlock(const uint8_t* window, BlockTypeMask handled, int* type);
// Without the widest vector instructions (to test both paths on one machine).
size_t FindFirstBlockPortable(const uint8_t* window, BlockTypeMask handled, int* type);
// The same, one FindBlockType per offset; the reference the fast path must agree with.
size_t FindFirstBlockSimple(const uint8_t* window, BlockTypeMask handled, int* type);

}  // namespace kelvara
