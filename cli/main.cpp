// kelvara-cli: scan, list, search and extract BKF images from the command line.
#include <iostream>

#include "cli/commands.h"
#include "cli/interrupt.h"
#include "cli/options.h"

int main(int argc, char** argv) {
    using namespace kelvara::cli;
    CliOptions options;
    ParseOutcome parsed = ParseCommandLine(argc, argv, options);
    if (!parsed.bRun) return parsed.nExitCode;

    std::ios::sync_with_stdio(false);
    InstallInterruptHandler();
    switch (options.command) {
        case Command::kScan:
            return RunScan(options);
        case Command::kList:
            return RunList(options);
        case Command::kSearch:
            return RunSearch(options);
        case Command::kExtract:
            return RunExtract(options);
    }
    return kExitUsage;
}
