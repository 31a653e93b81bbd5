#pragma once
// The subcommands; each returns the process exit status.
#include "cli/options.h"

namespace kelvara::cli {

int RunScan(const CliOptions& options);
int RunList(const CliOptions& options);
int RunSearch(const CliOptions& options);
int RunExtract(const CliOptions& options);

}  // namespace kelvara::cli
