#include "cli/options.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cctype>
#include <charconv>
#include <filesystem>
#include <iostream>

#include "cli/cli_texts.h"
#include "engine/engine_texts.h"

namespace kelvara::cli {

namespace {

bool ParseDecimal(std::string_view text, uint64_t& value) {
    value = 0;
    if (text.empty()) return true;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

bool NamesSameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    return !a.empty() && !b.empty() && std::filesystem::equivalent(a, b, error);
}

std::string ValidateRange(const std::string& text) {
    return ParseByteRange(text) ? std::string() : std::string(cli_texts::kBadRange);
}

// Returns the --range option, to see afterwards whether it was given.
CLI::Option* AddScanOptions(CLI::App& command, CliOptions& options, std::string& rangeText) {
    CLI::Option* advanced =
        command.add_flag("--advanced", options.bAdvanced, cli_texts::kAdvancedHelp);
    command.add_flag("--heuristic", options.bHeuristic, cli_texts::kHeuristicHelp)->needs(advanced);
    return command.add_option("--range", rangeText, cli_texts::kRangeHelp)
        ->type_name("START:END")
        ->check(ValidateRange);
}

void AddInput(CLI::App& command, CliOptions& options) {
    command.add_option("IMAGE", options.strInput, cli_texts::kImageHelp)->type_name("")->required();
}

}  // namespace

std::optional<ByteRange> ParseByteRange(const std::string& text) {
    size_t colon = text.find(':');
    if (colon == std::string::npos || text.find(':', colon + 1) != std::string::npos) return {};
    ByteRange range;
    std::string_view view(text);
    if (!ParseDecimal(view.substr(0, colon), range.nStart) ||
        !ParseDecimal(view.substr(colon + 1), range.nEnd)) {
        return {};
    }
    if (range.nEnd != 0 && range.nStart >= range.nEnd) return {};
    return range;
}

bool IsSnapshotPath(const std::string& path) {
    std::string suffix = std::string(".") + texts::kSnapshotExtension;
    if (path.size() < suffix.size()) return false;
    return std::equal(suffix.begin(), suffix.end(), path.end() - suffix.size(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) ==
               std::tolower(static_cast<unsigned char>(b));
    });
}

ParseOutcome ParseCommandLine(int argc, char** argv, CliOptions& options) {
    CLI::App app(cli_texts::kDescription, cli_texts::kProgramName);
    app.footer(cli_texts::kFooter);
    app.require_subcommand(1);
    app.get_formatter()->column_width(32);

    std::string rangeText;
    std::string patternText;
    std::string continuedText;
    std::vector<CLI::Option*> rangeOptions;

    CLI::App* scan = app.add_subcommand("scan", cli_texts::kScanHelp);
    scan->footer(cli_texts::kScanFooter);
    AddInput(*scan, options);
    rangeOptions.push_back(AddScanOptions(*scan, options, rangeText));
    scan->add_option("--snapshot", options.strSnapshotOut, cli_texts::kSnapshotHelp)
        ->type_name("OUT");
    scan->add_flag("--json", options.bJson, cli_texts::kJsonHelp);

    CLI::App* list = app.add_subcommand("list", cli_texts::kListHelp);
    list->footer(cli_texts::kListFooter);
    AddInput(*list, options);
    rangeOptions.push_back(AddScanOptions(*list, options, rangeText));
    list->add_flag("--json", options.bJson, cli_texts::kJsonHelp);

    CLI::App* search = app.add_subcommand("search", cli_texts::kSearchHelp);
    search->footer(cli_texts::kSearchFooter);
    AddInput(*search, options);
    search->add_option("PATTERN", patternText, cli_texts::kPatternArgHelp)
        ->type_name("")
        ->required();
    rangeOptions.push_back(AddScanOptions(*search, options, rangeText));
    search->add_flag("--json", options.bJson, cli_texts::kJsonHelp);

    CLI::App* extract = app.add_subcommand("extract", cli_texts::kExtractHelp);
    extract->footer(cli_texts::kExtractFooter);
    AddInput(*extract, options);
    extract->add_option("-o,--output", options.strOutputDir, cli_texts::kOutputHelp)
        ->type_name("DIR")
        ->required();
    rangeOptions.push_back(AddScanOptions(*extract, options, rangeText));
    extract->add_flag("--flat", options.bFlat, cli_texts::kFlatHelp);
    CLI::Option* patternOption =
        extract->add_option("--pattern", patternText, cli_texts::kPatternOptionHelp)
            ->type_name("P");
    extract->add_option("--next", options.nextFiles, cli_texts::kNextHelp)
        ->type_name("FILE")
        ->check(CLI::ExistingFile.description(""))
        ->allow_extra_args(false)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    CLI::Option* continuedOption =
        extract->add_option("--continued", continuedText, cli_texts::kContinuedHelp)
            ->type_name("yes|no")
            ->check([](const std::string& value) {
                return value == "yes" || value == "no" ? std::string()
                                                       : std::string("expected yes or no");
            });
    extract->add_option("--log", options.strLogPath, cli_texts::kLogHelp)->type_name("FILE");

    try {
        app.parse(argc, argv);
        for (CLI::Option* range : rangeOptions) {
            if (range->count()) options.range = ParseByteRange(rangeText);
        }
        if (IsSnapshotPath(options.strInput) &&
            (options.bAdvanced || options.bHeuristic || options.range)) {
            throw CLI::ValidationError(cli_texts::kSnapshotWithScanOptions);
        }
        // As the save dialog's default extension does: only so is the file known as a snapshot.
        if (!options.strSnapshotOut.empty() && !IsSnapshotPath(options.strSnapshotOut)) {
            options.strSnapshotOut += std::string(".") + texts::kSnapshotExtension;
        }
        if (NamesSameFile(options.strSnapshotOut, options.strInput) ||
            NamesSameFile(options.strLogPath, options.strInput)) {
            throw CLI::ValidationError(cli_texts::kWouldOverwriteInput);
        }
    } catch (const CLI::ParseError& e) {
        int code = app.exit(e, std::cout, std::cerr);
        return {false, code == 0 ? kExitDone : kExitUsage};
    }

    if (app.got_subcommand(scan)) options.command = Command::kScan;
    if (app.got_subcommand(list)) options.command = Command::kList;
    if (app.got_subcommand(search)) {
        options.command = Command::kSearch;
        options.pattern = patternText;
    }
    if (app.got_subcommand(extract)) {
        options.command = Command::kExtract;
        if (patternOption->count()) options.pattern = patternText;
        if (continuedOption->count()) options.continued = continuedText == "yes";
    }
    return {true, kExitDone};
}

}  // namespace kelvara::cli
