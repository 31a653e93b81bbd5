#pragma once
// The LZS decoder for software-compressed frames (2,048-byte history, one frame at a time).
#include <cstddef>
#include <cstdint>

namespace kelvara {

// Buffer limits of one frame: what a compressed frame may hold and what it may decode to.
constexpr size_t kFrameInputCapacity = 63'488;
constexpr size_t kFrameOutputCapacity = 63'520;

// Decodes one frame into `output`; returns the number of bytes written. Stops at an end marker,
// when `outputCapacity` is reached (the rest of a string is dropped) or when the input bits run out
// (a token that is not complete is not used). Every frame starts with an empty history: a string
// that reaches back before the frame's first byte copies zeros for that part. Bytes of `output`
// beyond the returned count may be overwritten with scratch.
size_t DecodeFrame(const uint8_t* input, size_t inputSize, uint8_t* output, size_t outputCapacity);

}  // namespace kelvara
