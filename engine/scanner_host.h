#pragma once
// What a scanner tells its caller: progress, the end of the scan, and the range-correction messages.
#include <cstdint>
#include <string>

namespace kelvara {

struct ScanProgress {
    float fPercent = 0.0f;       // position x 100 / range end, as last computed by the driver
    uint64_t nPosition = 0;      // the window's offset in the image
    uint64_t nFilesFound = 0;
    uint64_t nImageLength = 0;
};

class IScannerHost {
public:
    virtual ~IScannerHost() = default;
    // Sent synchronously per the scan's throttling; must be quick.
    virtual void OnScanProgress(const ScanProgress& progress) = 0;
    // Sent once when the scan loop ends (complete or stopped), with 100.
    virtual void OnScanFinished(int percent) = 0;
    // A modal information message (the range corrections).
    virtual void ShowMessage(const std::string& text) = 0;
};

}  // namespace kelvara
