#include "cli/catalogue_source.h"

#include "cli/interrupt.h"
#include "cli/scan_host.h"
#include "engine/bkf_advance.h"
#include "engine/engine_texts.h"
#include "engine/snapshot.h"
#include "engine/text.h"

namespace kelvara::cli {

namespace {

bool ScanImage(const CliOptions& options, StatusLine& status, std::unique_ptr<bkf>& scanner) {
    if (options.bAdvanced) {
        scanner = std::make_unique<bkfAdvance>(BusyFlag());
    } else {
        scanner = std::make_unique<bkf>(BusyFlag());
    }
    ConsoleScanHost host(status);
    scanner->SetHost(&host);
    scanner->SetHeuristic(options.bHeuristic);
    if (options.range) scanner->SetRange(options.range->nStart, options.range->nEnd);

    BeginJob();
    int result = scanner->ScanFile(options.strInput);
    EndJob();
    scanner->SetHost(nullptr);
    status.Clear();
    if (result == 0) {
        status.Message(options.strInput + ": " + scanner->ImageError());
        status.Message(texts::kScanAborted);
        scanner.reset();
        return false;
    }
    return true;
}

bool LoadSnapshotFile(const CliOptions& options, StatusLine& status,
                      std::unique_ptr<bkf>& scanner) {
    std::u16string imagePath;
    BeginJob();
    SnapshotResult result = LoadSnapshot(options.strInput, BusyFlag(), scanner, imagePath);
    EndJob();
    if (result.ok()) return true;
    if (result.status == SnapshotStatus::kCannotOpenImage) {
        status.Message(std::string(texts::kSnapshotImageCannotOpen) + " " + Utf16ToUtf8(imagePath) +
                       ": " + result.reason);
    } else {
        status.Message(options.strInput + ": " + result.reason);
    }
    status.Message(texts::kSnapshotLoadAborted);
    scanner.reset();
    return false;
}

}  // namespace

bool OpenCatalogue(const CliOptions& options, StatusLine& status, std::unique_ptr<bkf>& scanner) {
    if (IsSnapshotPath(options.strInput)) return LoadSnapshotFile(options, status, scanner);
    return ScanImage(options, status, scanner);
}

}  // namespace kelvara::cli
