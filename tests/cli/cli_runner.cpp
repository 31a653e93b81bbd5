#include "tests/cli/cli_runner.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <fstream>
#include <sstream>
#include <stdexcept>

extern char** environ;

namespace kelvara::testing {

namespace {

std::filesystem::path CaptureFile(const char* what) {
    static std::atomic<int> counter{0};
    return std::filesystem::temp_directory_path() /
           ("kelvara-cli-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) +
            "." + what);
}

std::string Slurp(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

CliProcess::CliProcess(const std::vector<std::string>& args)
    : m_out(CaptureFile("out")), m_err(CaptureFile("err")) {
    std::vector<std::string> argv{KELVARA_CLI_PATH};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> raw;
    for (std::string& a : argv) raw.push_back(a.data());
    raw.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, m_out.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, m_err.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    int rc = posix_spawn(&m_pid, raw[0], &actions, nullptr, raw.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) throw std::runtime_error("cannot start " + argv[0]);
}

CliProcess::~CliProcess() {
    if (m_pid > 0) Wait();
    std::error_code ignored;
    std::filesystem::remove(m_out, ignored);
    std::filesystem::remove(m_err, ignored);
}

void CliProcess::Signal(int signalNumber) {
    if (m_pid > 0) ::kill(m_pid, signalNumber);
}

CliResult CliProcess::Wait() {
    CliResult result;
    int status = 0;
    if (m_pid > 0 && ::waitpid(m_pid, &status, 0) == m_pid) {
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    m_pid = -1;
    result.out = Slurp(m_out);
    result.err = Slurp(m_err);
    return result;
}

CliResult RunCli(const std::vector<std::string>& args) {
    return CliProcess(args).Wait();
}

}  // namespace kelvara::testing
