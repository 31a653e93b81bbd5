#pragma once
// Name matching for the search: "?" is any one code unit, "*" any run of them (none included).
#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

namespace kelvara {

// True when the whole name matches the whole pattern; exact UTF-16 code units, case-sensitive.
// Never allocates; backtracks only to the last "*". A cleared busy flag ends the comparison at
// once, and what the pattern has consumed so far decides (in practice: no match).
bool MatchWildcard(std::u16string_view name, std::u16string_view pattern,
                   const std::atomic<int32_t>& busy);

// The pattern as the search uses it: white space trimmed at both ends; a pattern without "*"
// becomes
// "*" + pattern + "*" ("?" does not count). Empty when nothing but white space was typed.
std::u16string MakeSearchPattern(std::u16string_view typed);

}  // namespace kelvara
