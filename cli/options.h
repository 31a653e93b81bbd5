#pragma once
// The command line: subcommands and their options, parsed into one plain struct.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kelvara::cli {

enum class Command { kScan, kList, kSearch, kExtract };

struct ByteRange {
    uint64_t nStart = 0;
    uint64_t nEnd = 0;  // 0: the end of the image
};

struct CliOptions {
    Command command = Command::kScan;
    std::string strInput;  // an image, or a snapshot file
    bool bAdvanced = false;
    bool bHeuristic = false;
    std::optional<ByteRange> range;
    bool bJson = false;
    std::string strSnapshotOut;          // scan
    std::optional<std::string> pattern;  // search PATTERN, extract --pattern
    std::string strOutputDir;            // extract
    bool bFlat = false;                  // extract
    std::vector<std::string> nextFiles;  // extract, in the order given
    std::optional<bool> continued;       // extract
    std::string strLogPath;              // extract
};

struct ParseOutcome {
    bool bRun = false;  // false: exit at once with nExitCode (help shown, or a usage error)
    int nExitCode = 0;
};

constexpr int kExitDone = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
constexpr int kExitInterrupted = 130;

ParseOutcome ParseCommandLine(int argc, char** argv, CliOptions& options);

// "START:END", "START:" or ":END", decimal; START must lie below a non-zero END.
std::optional<ByteRange> ParseByteRange(const std::string& text);

// A snapshot is recognised by its extension, in any letter case.
bool IsSnapshotPath(const std::string& path);

}  // namespace kelvara::cli
