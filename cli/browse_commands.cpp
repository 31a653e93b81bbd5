// scan, list and search: read a catalogue and print it.
#include <iostream>

#include "cli/catalogue_source.h"
#include "cli/cli_texts.h"
#include "cli/command_end.h"
#include "cli/commands.h"
#include "cli/interrupt.h"
#include "cli/json_output.h"
#include "cli/text_output.h"
#include "engine/snapshot.h"
#include "engine/text.h"
#include "search/search_job.h"
#include "search/search_texts.h"
#include "search/wildcard.h"

namespace kelvara::cli {

namespace {

int SaveSnapshotOf(const bkf& scanner, const std::string& path, StatusLine& status) {
    // A stopped scan's catalogue is consistent and worth keeping.
    BeginJobAfterStop();
    SnapshotResult result = SaveSnapshot(scanner, path, BusyFlag());
    EndJob();
    if (!result.ok()) {
        status.Message(std::string(cli_texts::kSnapshotSaveFailed) + path + ": " + result.reason);
        return kExitFailed;
    }
    status.Message(std::string(cli_texts::kSnapshotSaved) + path);
    return kExitDone;
}

}  // namespace

int RunScan(const CliOptions& options) {
    StatusLine status(StderrIsTerminal());
    std::unique_ptr<bkf> scanner;
    if (!OpenCatalogue(options, status, scanner)) return kExitFailed;
    const bool stopped = WasInterrupted();
    if (options.bJson) {
        PrintJsonTree(std::cout, *scanner, {scanner->Image().Path(), stopped});
    } else {
        PrintTree(std::cout, *scanner);
    }
    int code = kExitDone;
    if (!options.strSnapshotOut.empty()) {
        std::cout.flush();
        code = SaveSnapshotOf(*scanner, options.strSnapshotOut, status);
    }
    return FinishCommand(status, code);
}

int RunList(const CliOptions& options) {
    StatusLine status(StderrIsTerminal());
    std::unique_ptr<bkf> scanner;
    if (!OpenCatalogue(options, status, scanner)) return kExitFailed;
    if (options.bJson) {
        PrintJsonFileList(std::cout, *scanner);
    } else {
        PrintFileList(std::cout, *scanner);
    }
    return FinishCommand(status, kExitDone);
}

int RunSearch(const CliOptions& options) {
    StatusLine status(StderrIsTerminal());
    const std::u16string typed = Utf8ToUtf16(options.pattern.value_or(""));
    if (MakeSearchPattern(typed).empty()) {
        status.Message(search_texts::kEnterPattern);
        return kExitUsage;
    }
    std::unique_ptr<bkf> scanner;
    if (!OpenCatalogue(options, status, scanner)) return kExitFailed;

    SearchCallbacks callbacks;
    callbacks.onRow = [&](const SearchRow&, size_t count) {
        if (status.ProgressDue()) {
            status.ProgressNow(std::string(search_texts::kFilesFound) + " " +
                               std::to_string(count));
        }
    };
    BeginJob();
    SearchResult result =
        RunSearchJob(scanner->Tree(), scanner->Files(), typed, BusyFlag(), callbacks);
    EndJob();
    status.Clear();

    if (options.bJson) {
        PrintJsonSearchRows(std::cout, *scanner, result);
    } else {
        PrintSearchRows(std::cout, result);
    }
    return FinishCommand(status, kExitDone);
}

}  // namespace kelvara::cli
