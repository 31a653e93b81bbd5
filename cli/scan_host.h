#pragma once
// The scanner's host on the command line: progress on the status line, messages on stderr.
#include <string>

#include "cli/status_line.h"
#include "engine/scanner_host.h"

namespace kelvara::cli {

// "12.34%  Progress: 1024/4096  File Found: 3", with the status bar's formats.
std::string FormatScanProgress(const ScanProgress& progress);

class ConsoleScanHost : public IScannerHost {
public:
    explicit ConsoleScanHost(StatusLine& status) : m_status(status) {}
    void OnScanProgress(const ScanProgress& progress) override;
    void OnScanFinished(int percent) override;
    void ShowMessage(const std::string& text) override;

private:
    StatusLine& m_status;
};

}  // namespace kelvara::cli
