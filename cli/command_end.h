#pragma once
// How every command ends once it has printed its result.
#include "cli/status_line.h"

namespace kelvara::cli {

// Flushes stdout: a failed write makes the exit status 1; a job stopped with Ctrl-C says so and
// exits 130. Otherwise `code`.
int FinishCommand(StatusLine& status, int code);

}  // namespace kelvara::cli
