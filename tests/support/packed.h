#pragma once
// Packed record fields may sit at any address; the references assertions take would be misaligned.
// Copy(rec.nDataSize) hands them a value instead.
namespace kelvara::testing {
template <class T>
constexpr T Copy(T value) {
    return value;
}
}  // namespace kelvara::testing
