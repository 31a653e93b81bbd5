#pragma once
// Conversions between the core's UTF-16 names and the UTF-8 the file system and terminals use.
#include <string>
#include <string_view>

namespace kelvara {

// Unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);
// Invalid UTF-8 sequences become U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);
// For the system's own (ASCII) texts.
std::u16string AsciiToUtf16(std::string_view text);

}  // namespace kelvara
