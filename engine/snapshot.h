#pragma once
// Snapshot files: a scan's catalogue and file table with the path of the image they describe,
// written as the raw packed records so that loading needs no scan.
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "engine/bkf.h"

namespace kelvara {

enum class SnapshotStatus {
    kOk,
    kCannotCreate,       // the snapshot file could not be created or written
    kCannotOpen,         // the snapshot file could not be opened
    kCannotOpenImage,    // the image at the stored path could not be opened
    kCorrupt,            // cut short, a name of 4096 bytes or more, or inconsistent links
};

struct SnapshotResult {
    SnapshotStatus status = SnapshotStatus::kOk;
    std::string reason;  // the system's reason or what was wrong
    bool ok() const { return status == SnapshotStatus::kOk; }
};

// Writes the scanner's catalogue; stops early (still a valid end) when the busy flag clears.
SnapshotResult SaveSnapshot(const bkf& scanner, const std::string& snapshotPath,
                            const std::atomic<int32_t>& busyFlag);

// Builds a fresh standard scanner from the snapshot with the image reopened read-only. The
// stored image path is returned through `imagePath` as soon as it has been read.
SnapshotResult LoadSnapshot(const std::string& snapshotPath, const std::atomic<int32_t>& busyFlag,
                            std::unique_ptr<bkf>& scanner, std::u16string& imagePath);

// The reader rejects names of this many bytes or more.
constexpr uint32_t kSnapshotMaxNameBytes = 4096;

}  // namespace kelvara
