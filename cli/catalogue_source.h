#pragma once
// The catalogue a command works on: a scan of the image, or a snapshot loaded instead.
#include <memory>

#include "cli/options.h"
#include "cli/status_line.h"
#include "engine/bkf.h"

namespace kelvara::cli {

// Scans the image (standard or advanced, with the range) or loads the snapshot. On failure writes
// the abort text and the system's reason to stderr and returns false. A scan stopped with Ctrl-C
// succeeds with what it found.
bool OpenCatalogue(const CliOptions& options, StatusLine& status, std::unique_ptr<bkf>& scanner);

}  // namespace kelvara::cli
