// scan, list and search through the built binary.
#include <signal.h>

#include <chrono>
#include <nlohmann/json.hpp>
#include <thread>

#include "tests/cli/cli_fixture.h"

namespace kelvara::testing {
namespace {

using nlohmann::json;

class BrowseTest : public ::testing::Test {
protected:
    SampleImage sample;
    TempImage image{sample.builder};
    std::string Image() const { return Str(image.Path()); }
};

TEST_F(BrowseTest, ScanPrintsTreeNewestFirstWithFilesAfterSubfolders) {
    CliResult run = RunCli({"scan", Image()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string expected =
        "Media 1\\\n"
        "  SET 2 :Weekly\\\n"
        "    D:\\\n"
        "      x\\\n"
        "        Report.txt  (5 bytes, offset " +
        std::to_string(sample.reportTxt) +
        ")\n"
        "        a.txt  (6 bytes, offset " +
        std::to_string(sample.secondA) +
        ")\n"
        "  SET 1 :Daily\\\n"
        "    C:\\\n"
        "      docs\\\n"
        "        sub\\\n"
        "          b.txt  (2 bytes, offset " +
        std::to_string(sample.bTxt) +
        ")\n"
        "        a.txt  (5 bytes, offset " +
        std::to_string(sample.aTxt) +
        ")\n"
        "        report.doc  (16 bytes, offset " +
        std::to_string(sample.reportDoc) +
        ")\n"
        "Total number of files found: 5\n";
    EXPECT_EQ(run.out, expected);
    EXPECT_EQ(run.err, "");  // not a terminal: no progress
}

TEST_F(BrowseTest, ListPrintsPathAndSizeInTableOrder) {
    CliResult run = RunCli({"list", Image()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out,
              "Media 1\\SET 1 :Daily\\C:\\docs\\a.txt\t5\n"
              "Media 1\\SET 1 :Daily\\C:\\docs\\report.doc\t16\n"
              "Media 1\\SET 1 :Daily\\C:\\docs\\sub\\b.txt\t2\n"
              "Media 1\\SET 2 :Weekly\\D:\\x\\Report.txt\t5\n"
              "Media 1\\SET 2 :Weekly\\D:\\x\\a.txt\t6\n");
}

TEST_F(BrowseTest, ListJsonHasOneObjectPerFile) {
    CliResult run = RunCli({"list", Image(), "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    json files = json::parse(run.out);
    ASSERT_TRUE(files.is_array());
    ASSERT_EQ(files.size(), 5u);
    EXPECT_EQ(files[1]["path"], "Media 1\\SET 1 :Daily\\C:\\docs\\report.doc");
    EXPECT_EQ(files[1]["name"], "report.doc");
    EXPECT_EQ(files[1]["size"], 16);
    EXPECT_EQ(files[1]["offset"], sample.reportDoc);
    EXPECT_EQ(files[1]["index"], 1);
    EXPECT_EQ(files[4]["offset"], sample.secondA);
}

void CollectFiles(const json& node, std::vector<json>& out) {
    for (const json& child : node["children"]) CollectFiles(child, out);
    for (const json& file : node["files"]) out.push_back(file);
}

TEST_F(BrowseTest, ScanJsonNestsNodesWithTheListsFileObjectsAtTheLeaves) {
    CliResult run = RunCli({"scan", Image(), "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    json tree = json::parse(run.out);
    EXPECT_EQ(tree["image"], std::filesystem::absolute(image.Path()).lexically_normal().string());
    EXPECT_EQ(tree["total_files"], 5);
    EXPECT_EQ(tree["stopped"], false);
    ASSERT_EQ(tree["children"].size(), 1u);
    const json& media = tree["children"][0];
    EXPECT_EQ(media["name"], "Media 1");
    ASSERT_EQ(media["children"].size(), 2u);
    EXPECT_EQ(media["children"][0]["name"], "SET 2 :Weekly");
    EXPECT_EQ(media["children"][1]["path"], "Media 1\\SET 1 :Daily\\");
    const json& docs = media["children"][1]["children"][0]["children"][0];
    EXPECT_EQ(docs["name"], "docs");
    EXPECT_EQ(docs["children"][0]["name"], "sub");
    EXPECT_EQ(docs["files"].size(), 2u);

    std::vector<json> leaves;
    CollectFiles(tree, leaves);
    std::sort(leaves.begin(), leaves.end(),
              [](const json& a, const json& b) { return a["index"] < b["index"]; });
    json listed = json::parse(RunCli({"list", Image(), "--json"}).out);
    EXPECT_EQ(json(leaves), listed);
}

TEST_F(BrowseTest, SearchPrintsMatchingRowsInTableOrderAndTheTotal) {
    CliResult run = RunCli({"search", Image(), "report"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out,
              "Media 1\\SET 1 :Daily\\C:\\docs\\report.doc\t16\n"
              "Total No. of files : 1\n");

    run = RunCli({"search", Image(), "a.*"});
    EXPECT_EQ(run.out,
              "Media 1\\SET 1 :Daily\\C:\\docs\\a.txt\t5\n"
              "Media 1\\SET 2 :Weekly\\D:\\x\\a.txt\t6\n"
              "Total No. of files : 2\n");

    run = RunCli({"search", Image(), "nothing"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "Total No. of files : 0\n");

    json rows = json::parse(RunCli({"search", Image(), "?eport*", "--json"}).out);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0]["name"], "report.doc");
    EXPECT_EQ(rows[1]["name"], "Report.txt");
}

TEST_F(BrowseTest, RangeLimitsTheScanAndOversizedEndIsCorrected) {
    // The second set starts at the block after b.txt's.
    const uint64_t secondSet = sample.builder.Blocks()[8].offset;
    ASSERT_EQ(sample.builder.Blocks()[8].tag, "SSET");
    CliResult run = RunCli({"list", Image(), "--range", "0:" + std::to_string(secondSet)});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(Lines(run.out).size(), 3u);

    run = RunCli({"list", Image(), "--range", ":999999999"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(Lines(run.out).size(), 5u);
    EXPECT_EQ(run.err,
              "End range exceeds the file size so file will parse to the end of file size.\n");
}

TEST_F(BrowseTest, AdvancedModeFindsTheSameFiles) {
    CliResult standard = RunCli({"list", Image()});
    CliResult advanced = RunCli({"list", Image(), "--advanced", "--heuristic"});
    ASSERT_EQ(advanced.exitCode, 0) << advanced.err;
    EXPECT_EQ(advanced.out, standard.out);
}

TEST(BrowseNames, ControlCharactersCannotBreakLinesOrReachTheTerminal) {
    ImageBuilder builder;
    builder.Tape(u"M").Sset(1, u"S").Volb(u"C:").Dirb(u"d");
    builder.File(u"evil\x1b[2J\nname\tx", Stan("x"));
    builder.File(u"ok", Stan("y"));
    TempImage image(builder);

    CliResult listed = RunCli({"list", Str(image.Path())});
    ASSERT_EQ(listed.exitCode, 0);
    EXPECT_EQ(listed.out.find('\x1b'), std::string::npos);
    ASSERT_EQ(Lines(listed.out).size(), 2u);
    EXPECT_EQ(Lines(listed.out)[0], "M\\SET 1 :S\\C:\\d\\evil\u241b[2J\u240aname\u2409x\t1");

    json files = json::parse(RunCli({"list", Str(image.Path()), "--json"}).out);
    EXPECT_EQ(files[0]["name"], "evil\x1b[2J\nname\tx");
}

TEST(BrowseNames, DeeplyNestedCatalogueStaysValidJson) {
    // Every TAPE block nests below the node added before it.
    constexpr int kDepth = 2000;
    ImageBuilder builder;
    for (int i = 0; i < kDepth; ++i) builder.Tape(u"t");
    builder.File(u"deep.txt", Stan("z"));
    TempImage image(builder);

    CliResult run = RunCli({"scan", Str(image.Path()), "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const json root = json::parse(run.out);
    const json* node = &root;
    int depth = 0;
    while (!(*node)["children"].empty()) {
        node = &(*node)["children"][0];
        ++depth;
    }
    EXPECT_EQ(depth, kDepth + 2);  // the tapes, then the placeholder set and volume
    ASSERT_EQ((*node)["files"].size(), 1u);
    EXPECT_EQ((*node)["files"][0]["name"], "deep.txt");

    CliResult text = RunCli({"scan", Str(image.Path())});
    std::vector<std::string> lines = Lines(text.out);
    ASSERT_EQ(lines.size(), static_cast<size_t>(kDepth + 2 + 1 + 1));
    EXPECT_EQ(lines[kDepth + 2], std::string(2 * (kDepth + 2), ' ') +
                                     "deep.txt  (1 bytes, offset " +
                                     std::to_string(builder.LastDataOffset()) + ")");
}

TEST(BrowseStop, CtrlCEndsTheScanAndPrintsWhatWasFound) {
    ImageBuilder builder;
    builder.Tape(u"M").Sset(1, u"S").Volb(u"C:").Dirb(u"d").File(u"first.txt", Stan("1"));
    TempImage image(builder);
    // A long sparse tail of zeros keeps the scan busy.
    std::error_code error;
    std::filesystem::resize_file(image.Path(), 64ull << 30, error);
    if (error) GTEST_SKIP() << "no sparse files here: " << error.message();

    TempDir dir;
    const std::string snapshot = Str(dir.Path() / "partial.EXECBKFQUAREL");
    CliProcess process({"scan", Str(image.Path()), "--snapshot", snapshot});
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    process.Signal(SIGINT);
    CliResult run = process.Wait();
    EXPECT_EQ(run.exitCode, 130) << run.err;
    EXPECT_NE(run.out.find("first.txt  (1 bytes"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("Total number of files found: 1\n"), std::string::npos);
    EXPECT_NE(run.err.find("Stopped"), std::string::npos);
    // The partial catalogue is kept in the snapshot too.
    CliResult listed = RunCli({"list", snapshot});
    EXPECT_EQ(listed.exitCode, 0) << listed.err;
    EXPECT_EQ(listed.out, "M\\SET 1 :S\\C:\\d\\first.txt\t1\n");
}

}  // namespace
}  // namespace kelvara::testing
