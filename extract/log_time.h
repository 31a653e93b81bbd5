#pragma once
// Time stamps of log lines: "%b-%d-%Y(%I-%M-%S-%p)" on local time, English whatever the locale.
#include <ctime>
#include <string>

namespace kelvara {

// For example "Mar-07-2024(09-05-03-PM)".
std::u16string FormatLogTimestamp(std::time_t when);
std::u16string FormatLogTimestamp();

}  // namespace kelvara
