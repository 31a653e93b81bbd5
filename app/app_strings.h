#pragma once
// The system's texts (ASCII, in app_texts.h) and the log time stamp as Qt strings.
#include <QString>

#include "extract/log_time.h"

namespace kelvara {

inline QString Text(const char* text) {
    return QString::fromLatin1(text);
}

inline QString LogTimestamp() {
    return QString::fromStdU16String(FormatLogTimestamp());
}

}  // namespace kelvara
