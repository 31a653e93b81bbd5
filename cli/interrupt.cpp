#include "cli/interrupt.h"

#include <signal.h>
#include <unistd.h>

namespace kelvara::cli {

namespace {

std::atomic<int32_t> g_busy{0};
std::atomic<int32_t> g_interrupts{0};
static_assert(std::atomic<int32_t>::is_always_lock_free, "touched from a signal handler");

void OnInterrupt(int) {
    if (g_interrupts.fetch_add(1) == 0) {
        g_busy.store(0);
        return;
    }
    static const char kAbandoned[] = "\nkelvara-cli: interrupted again, ending at once\n";
    ssize_t ignored = ::write(STDERR_FILENO, kAbandoned, sizeof kAbandoned - 1);
    (void)ignored;
    ::_exit(130);
}

}  // namespace

std::atomic<int32_t>& BusyFlag() {
    return g_busy;
}

void InstallInterruptHandler() {
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: a question waiting on the terminal gives up instead of waiting on.
    action.sa_flags = 0;
    sigaction(SIGINT, &action, nullptr);
}

bool WasInterrupted() {
    return g_interrupts.load() != 0;
}

void BeginJob() {
    g_busy.store(WasInterrupted() ? 0 : 1);
}

void BeginJobAfterStop() {
    g_busy.store(1);
}

void EndJob() {
    g_busy.store(0);
}

}  // namespace kelvara::cli
