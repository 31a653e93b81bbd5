// extract: scan (or load a snapshot), then save every file, or those matching --pattern, with the
// save job.
#include <filesystem>
#include <iostream>
#include <optional>
#include <vector>

#include "cli/catalogue_source.h"
#include "cli/cli_texts.h"
#include "cli/command_end.h"
#include "cli/commands.h"
#include "cli/extract_prompts.h"
#include "cli/interrupt.h"
#include "cli/text_output.h"
#include "engine/text.h"
#include "extract/extract_texts.h"
#include "extract/log_file.h"
#include "extract/save_job.h"
#include "search/search_job.h"
#include "search/search_texts.h"
#include "search/wildcard.h"

namespace kelvara::cli {

namespace {

// Log lines to the log file or stderr; progress per saved row; each row starts over with the
// first --next file.
class CliSaveHost : public ISaveJobHost {
public:
    CliSaveHost(StatusLine& status, LogFileWriter* log, CliExtractionPrompts& prompts,
                size_t rowCount)
        : m_status(status), m_log(log), m_prompts(prompts), m_nRows(rowCount) {}

    void AppendLogLine(std::u16string_view line) override {
        if (m_log) {
            m_log->Append(line);
        } else {
            m_status.Message(ForTerminal(line));
        }
    }

    void OnRowStarted(uint64_t) override { m_prompts.BeginFile(); }

    void OnRowSaved(uint64_t position) override {
        ++m_nRowsSaved;
        if (m_status.ProgressDue()) {
            m_status.ProgressNow("Saved " + std::to_string(position + 1) + "/" +
                                 std::to_string(m_nRows));
        }
    }

    uint64_t RowsSaved() const { return m_nRowsSaved; }

private:
    StatusLine& m_status;
    LogFileWriter* m_log;
    CliExtractionPrompts& m_prompts;
    size_t m_nRows;
    uint64_t m_nRowsSaved = 0;
};

std::vector<SaveRow> RowsToSave(const bkf& scanner, const std::optional<std::u16string>& pattern) {
    std::vector<SaveRow> rows;
    const CVexloBKFTreeVectorClass& tree = scanner.Tree();
    const CBkfFileTable& files = scanner.Files();
    if (!pattern) {
        rows.reserve(static_cast<size_t>(files.Count()));
        for (int64_t k = 0; k < files.Count(); ++k) rows.push_back(MakeSaveRow(tree, files, k));
        return rows;
    }
    BeginJob();
    SearchResult found = RunSearchJob(tree, files, *pattern, BusyFlag());
    EndJob();
    rows.reserve(found.rows.size());
    for (const SearchRow& row : found.rows) {
        rows.push_back(MakeSaveRow(tree, files, row.nFileIndex));
    }
    return rows;
}

}  // namespace

int RunExtract(const CliOptions& options) {
    StatusLine status(StderrIsTerminal());
    std::optional<std::u16string> pattern;
    if (options.pattern) {
        pattern = Utf8ToUtf16(*options.pattern);
        if (MakeSearchPattern(*pattern).empty()) {
            status.Message(search_texts::kEnterPattern);
            return kExitUsage;
        }
    }
    // A missing destination folder is made, as `-o` promises; what cannot be made is refused
    // before a long scan, and the job checks again by its own rule below.
    std::error_code madeError;
    std::filesystem::create_directories(options.strOutputDir, madeError);
    if (auto refusal = CheckSaveRequest(1, options.strOutputDir)) {
        std::string reason = madeError ? ": " + madeError.message() : std::string();
        status.Message(ForTerminal(*refusal) + " (" + options.strOutputDir + reason + ")");
        return kExitUsage;
    }
    LogFileWriter logFile;
    LogFileWriter* log = nullptr;
    if (!options.strLogPath.empty()) {
        if (!logFile.Create(options.strLogPath)) {
            status.Message(std::string(cli_texts::kCannotCreateLog) + options.strLogPath + ": " +
                           logFile.Error());
            return kExitFailed;
        }
        log = &logFile;
    }

    std::unique_ptr<bkf> scanner;
    if (!OpenCatalogue(options, status, scanner)) return kExitFailed;
    const std::vector<SaveRow> rows = RowsToSave(*scanner, pattern);

    CliExtractionPrompts::Settings settings;
    settings.nextFiles = options.nextFiles;
    settings.continued = options.continued;
    settings.interactive = StdinIsTerminal() && StderrIsTerminal();
    CliExtractionPrompts prompts(std::move(settings), status);
    CliSaveHost host(status, log, prompts, rows.size());

    SaveJobResult result;
    if (auto refusal = CheckSaveRequest(rows.size(), options.strOutputDir)) {
        status.Message(ForTerminal(*refusal));
    } else if (!WasInterrupted()) {
        AppendSaveStartLines(host, rows.size());
        SegmentedSource lists;
        SaveFilesJob job(scanner->Tree(), scanner->Files(), scanner->Image(), lists, BusyFlag(),
                         host, &prompts);
        BeginJob();
        result = job.Run(rows, options.strOutputDir, !options.bFlat);
        EndJob();
        status.Clear();
    }

    int code = kExitDone;
    uint64_t saved = result.rowsProcessed;
    if (result.code == 0) {
        // The row in hand is counted by the job but its file is what failed.
        saved -= saved > 0 ? 1 : 0;
        status.Message(std::string(cli_texts::kSaveEndedEarly) +
                       ForTerminal(Utf8ToUtf16(result.failedPath)) + ": " + result.reason);
        code = kExitFailed;
    }
    if (log && !logFile.Close()) {
        status.Message(std::string(cli_texts::kLogWriteFailed) + options.strLogPath + ": " +
                       logFile.Error());
        code = kExitFailed;
    }
    // Rows without data, and continued streams declined, are counted by the job but leave no file.
    std::cout << Utf16ToUtf8(extract_texts::kLogFilesSaved) << saved << '\n';
    return FinishCommand(status, code);
}

}  // namespace kelvara::cli
