#include "extract/log_time.h"

#include <cstdio>

#include "engine/text.h"

namespace kelvara {

std::u16string FormatLogTimestamp(std::time_t when) {
    static const char* const kMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::tm local{};
    localtime_r(&when, &local);
    int hour12 = local.tm_hour % 12 == 0 ? 12 : local.tm_hour % 12;
    char text[64];
    std::snprintf(text, sizeof text, "%s-%02d-%04d(%02d-%02d-%02d-%s)", kMonths[local.tm_mon % 12],
                  local.tm_mday, local.tm_year + 1900, hour12, local.tm_min, local.tm_sec,
                  local.tm_hour < 12 ? "AM" : "PM");
    return AsciiToUtf16(text);
}

std::u16string FormatLogTimestamp() {
    return FormatLogTimestamp(std::time(nullptr));
}

}  // namespace kelvara
