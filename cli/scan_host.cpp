#include "cli/scan_host.h"

#include <cinttypes>
#include <cstdio>

namespace kelvara::cli {

std::string FormatScanProgress(const ScanProgress& progress) {
    char text[160];
    std::snprintf(text, sizeof text,
                  "%.2f%%  Progress: %" PRIu64 "/%" PRIu64 "  File Found: %" PRIu64,
                  static_cast<double>(progress.fPercent), progress.nPosition, progress.nImageLength,
                  progress.nFilesFound);
    return text;
}

void ConsoleScanHost::OnScanProgress(const ScanProgress& progress) {
    // Called for every window without a block: format only when a redraw is due.
    if (m_status.ProgressDue()) m_status.ProgressNow(FormatScanProgress(progress));
}

void ConsoleScanHost::OnScanFinished(int) {
    m_status.Clear();
}

void ConsoleScanHost::ShowMessage(const std::string& text) {
    m_status.Message(text);
}

}  // namespace kelvara::cli
