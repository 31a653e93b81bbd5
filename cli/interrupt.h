#pragma once
// Ctrl-C stops the running job the way the Stop command does: by clearing the busy flag, so the
// job ends at its next step and keeps what it has. A second Ctrl-C ends the program at once.
#include <atomic>
#include <cstdint>

namespace kelvara::cli {

// The one busy flag of the program; jobs hold it set while they run.
std::atomic<int32_t>& BusyFlag();

void InstallInterruptHandler();

// Whether Ctrl-C was pressed at any time.
bool WasInterrupted();

// Sets the busy flag for a job unless Ctrl-C was pressed already (then the job stops at once).
void BeginJob();
// Sets the busy flag even after Ctrl-C: for keeping what a stopped job found (a second Ctrl-C
// still ends the program).
void BeginJobAfterStop();
void EndJob();

}  // namespace kelvara::cli
