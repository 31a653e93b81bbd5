#pragma once
// Runs the built kelvara-cli with stdin from /dev/null and stdout and stderr captured (neither is
// a terminal, so no progress line and no questions).
#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

namespace kelvara::testing {

struct CliResult {
    int exitCode = -1;  // 128 + signal number when a signal ended it
    std::string out;
    std::string err;
};

CliResult RunCli(const std::vector<std::string>& args);

// For stopping a run midway: start it, signal it, collect it.
class CliProcess {
public:
    explicit CliProcess(const std::vector<std::string>& args);
    ~CliProcess();
    CliProcess(const CliProcess&) = delete;
    CliProcess& operator=(const CliProcess&) = delete;

    void Signal(int signalNumber);
    CliResult Wait();

private:
    pid_t m_pid = -1;
    std::filesystem::path m_out;
    std::filesystem::path m_err;
};

}  // namespace kelvara::testing
