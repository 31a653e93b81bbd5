// Exit statuses and the messages that come with them; snapshots through the command line.
#include "tests/cli/cli_fixture.h"

namespace kelvara::testing {
namespace {

class ErrorsTest : public ::testing::Test {
protected:
    SampleImage sample;
    TempImage image{sample.builder};
    TempDir dir;
    std::string Image() const { return Str(image.Path()); }
};

TEST_F(ErrorsTest, UsageErrorsExitWith2) {
    const std::string out = Str(dir.Path());
    const std::string snapshot = Str(dir.Path() / "s.execbkfquarel");
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"frobnicate"},
        {"scan"},
        {"scan", Image(), "--heuristic"},
        {"scan", Image(), "--range", "10:5"},
        {"scan", Image(), "--range", "12"},
        {"scan", Image(), "--range", "1x:5"},
        {"list", snapshot, "--advanced"},
        {"list", snapshot, "--range", "0:100"},
        {"search", Image()},
        {"extract", Image()},
        {"extract", Image(), "-o", out, "--continued", "maybe"},
        {"extract", Image(), "-o", out, "--next", Str(dir.Path() / "missing.bkf")},
        // Writing over the image being read.
        {"extract", Image(), "-o", out, "--log", Image()},
    };
    for (const auto& args : cases) {
        CliResult run = RunCli(args);
        EXPECT_EQ(run.exitCode, 2) << ::testing::PrintToString(args);
        EXPECT_FALSE(run.err.empty()) << ::testing::PrintToString(args);
        EXPECT_EQ(run.out, "") << ::testing::PrintToString(args);
    }
}

TEST_F(ErrorsTest, BlankPatternAndMissingDestinationUseTheSystemsMessages) {
    CliResult run = RunCli({"search", Image(), "  "});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.err, "Enter text pattern to search files.\n");

    // A destination that cannot be made: a folder below a file.
    const std::string blocked = Str(dir.Write("plain-file", {}) / "below");
    run = RunCli({"extract", Image(), "-o", blocked});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("Please select valid path to save recovered files."), std::string::npos);

    // A missing one is made.
    run = RunCli({"extract", Image(), "-o", Str(dir.Path() / "new" / "folder")});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(std::filesystem::is_directory(dir.Path() / "new" / "folder"));
}

TEST_F(ErrorsTest, HelpExitsWith0) {
    for (const char* command : {"scan", "list", "search", "extract"}) {
        CliResult run = RunCli({command, "--help"});
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_NE(run.out.find("Usage: kelvara-cli " + std::string(command)), std::string::npos);
    }
    EXPECT_NE(RunCli({"--help"}).out.find("Exit status"), std::string::npos);
}

TEST_F(ErrorsTest, ImageThatCannotBeOpenedExitsWith1AndSaysWhy) {
    CliResult run = RunCli({"scan", Str(dir.Path() / "missing.bkf")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("No such file or directory"), std::string::npos);
    EXPECT_NE(run.err.find("Scanning for BKF file process aborted.\n"), std::string::npos);

    run = RunCli({"list", Str(dir.Path())});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("Is a directory"), std::string::npos);

    run = RunCli({"search", Str(dir.Path() / "missing.EXECBKFQUAREL"), "x"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("No such file or directory"), std::string::npos);
    EXPECT_NE(run.err.find("Snapshot loading process aborted.\n"), std::string::npos);
}

TEST_F(ErrorsTest, SnapshotRoundTripGivesTheSameCatalogue) {
    const std::string snapshot = Str(dir.Path() / "saved.EXECBKFQUAREL");
    CliResult scanned = RunCli({"scan", Image(), "--snapshot", snapshot});
    ASSERT_EQ(scanned.exitCode, 0) << scanned.err;

    CliResult loaded = RunCli({"scan", snapshot});
    ASSERT_EQ(loaded.exitCode, 0) << loaded.err;
    EXPECT_EQ(loaded.out, scanned.out);
    EXPECT_EQ(RunCli({"list", snapshot, "--json"}).out, RunCli({"list", Image(), "--json"}).out);
    EXPECT_EQ(RunCli({"search", snapshot, "a"}).out, RunCli({"search", Image(), "a"}).out);
    // The extension is recognised in any letter case.
    const std::string lower = Str(dir.Path() / "copy.execbkfquarel");
    std::filesystem::copy_file(snapshot, lower);
    EXPECT_EQ(RunCli({"list", lower}).out, RunCli({"list", Image()}).out);
}

TEST_F(ErrorsTest, SnapshotGetsItsExtensionAndLeavesTheImageAlone) {
    const std::string size = std::to_string(std::filesystem::file_size(image.Path()));
    CliResult run = RunCli({"scan", Image(), "--snapshot", Str(dir.Path() / "plain")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(std::filesystem::exists(dir.Path() / "plain.EXECBKFQUAREL"));
    EXPECT_EQ(RunCli({"list", Str(dir.Path() / "plain.EXECBKFQUAREL")}).exitCode, 0);

    const std::filesystem::path alias = dir.Path() / "alias.EXECBKFQUAREL";
    std::filesystem::create_symlink(image.Path(), alias);
    EXPECT_EQ(RunCli({"scan", Image(), "--snapshot", Str(alias)}).exitCode, 2);
    EXPECT_EQ(std::to_string(std::filesystem::file_size(image.Path())), size);
}

TEST_F(ErrorsTest, SnapshotWhoseImageMovedExitsWith1) {
    const std::filesystem::path copy = dir.Path() / "moving.bkf";
    std::filesystem::copy_file(image.Path(), copy);
    const std::string snapshot = Str(dir.Path() / "moving.EXECBKFQUAREL");
    ASSERT_EQ(RunCli({"scan", Str(copy), "--snapshot", snapshot}).exitCode, 0);
    std::filesystem::remove(copy);

    CliResult run = RunCli({"list", snapshot});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("file cannot opened."), std::string::npos);
    EXPECT_NE(run.err.find(Str(copy)), std::string::npos);
    EXPECT_NE(run.err.find("Snapshot loading process aborted.\n"), std::string::npos);
}

TEST_F(ErrorsTest, SnapshotThatCannotBeWrittenExitsWith1AfterPrintingTheTree) {
    CliResult run =
        RunCli({"scan", Image(), "--snapshot", Str(dir.Path() / "no" / "s.EXECBKFQUAREL")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.out.find("Total number of files found: 5"), std::string::npos);
    EXPECT_NE(run.err.find("No such file or directory"), std::string::npos);
}

}  // namespace
}  // namespace kelvara::testing
