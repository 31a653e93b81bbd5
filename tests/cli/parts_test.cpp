// Pieces of the command line tested in-process: argument rules and the answers to the extraction's
// questions.
#include <gtest/gtest.h>

#include <deque>

#include "cli/extract_prompts.h"
#include "cli/options.h"
#include "tests/support/mtf_writer.h"

namespace kelvara::cli {
namespace {

TEST(ParseByteRange, AcceptsEitherBoundLeftOut) {
    struct Case {
        const char* text;
        bool ok;
        uint64_t start, end;
    };
    const Case cases[] = {
        {"0:100", true, 0, 100},
        {"100:", true, 100, 0},
        {":4096", true, 0, 4096},
        {":", true, 0, 0},
        {"18446744073709551615:", true, UINT64_MAX, 0},
        {"5:5", false, 0, 0},
        {"6:5", false, 0, 0},
        {"5", false, 0, 0},
        {"1:2:3", false, 0, 0},
        {"-1:5", false, 0, 0},
        {"0x10:20", false, 0, 0},
        {"18446744073709551616:", false, 0, 0},
        {" 1:2", false, 0, 0},
    };
    for (const Case& c : cases) {
        auto range = ParseByteRange(c.text);
        ASSERT_EQ(range.has_value(), c.ok) << c.text;
        if (!c.ok) continue;
        EXPECT_EQ(range->nStart, c.start) << c.text;
        EXPECT_EQ(range->nEnd, c.end) << c.text;
    }
}

TEST(IsSnapshotPath, ExtensionInAnyLetterCase) {
    EXPECT_TRUE(IsSnapshotPath("a.EXECBKFQUAREL"));
    EXPECT_TRUE(IsSnapshotPath("dir/a.ExecBkfQuarel"));
    EXPECT_TRUE(IsSnapshotPath(".execbkfquarel"));
    EXPECT_FALSE(IsSnapshotPath("a.bkf"));
    EXPECT_FALSE(IsSnapshotPath("aEXECBKFQUAREL"));
    EXPECT_FALSE(IsSnapshotPath("a.EXECBKFQUAREL.bkf"));
}

// Terminal answers for the interactive cases.
std::deque<std::string> g_typed;
bool TypedLine(std::string& line) {
    if (g_typed.empty()) return false;
    line = g_typed.front();
    g_typed.pop_front();
    return true;
}

class PromptsTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_typed.clear();
        first = files.Write("part2.bkf", {1});
        second = files.Write("part3.bkf", {2});
    }
    CliExtractionPrompts Make(std::vector<std::string> next, std::optional<bool> continued,
                              bool interactive) {
        CliExtractionPrompts::Settings settings;
        settings.nextFiles = std::move(next);
        settings.continued = continued;
        settings.interactive = interactive;
        settings.readLine = TypedLine;
        return CliExtractionPrompts(std::move(settings), status);
    }

    StatusLine status{false};
    testing::TempDir files;
    std::string first, second;
};

TEST_F(PromptsTest, NextFilesInOrderStartingOverForEachFile) {
    CliExtractionPrompts prompts = Make({first, second}, {}, false);
    ASSERT_TRUE(prompts.AskContinueInNextFile(u"?"));
    EXPECT_EQ(prompts.ChooseNextBkfFile(), first);
    ASSERT_TRUE(prompts.AskContinueInNextFile(u"?"));
    EXPECT_EQ(prompts.ChooseNextBkfFile(), second);
    // No third file and no terminal: decline.
    EXPECT_FALSE(prompts.AskContinueInNextFile(u"?"));

    prompts.BeginFile();
    ASSERT_TRUE(prompts.AskContinueInNextFile(u"?"));
    EXPECT_EQ(prompts.ChooseNextBkfFile(), first);
}

TEST_F(PromptsTest, UnreadableNextFileIsPassedOver) {
    CliExtractionPrompts prompts = Make({files.Path().string() + "/gone.bkf", second}, {}, false);
    ASSERT_TRUE(prompts.AskContinueInNextFile(u"?"));
    EXPECT_EQ(prompts.ChooseNextBkfFile(), second);
}

TEST_F(PromptsTest, TerminalIsAskedOnceTheNextFilesAreUsedUp) {
    CliExtractionPrompts prompts = Make({first}, {}, true);
    ASSERT_TRUE(prompts.AskContinueInNextFile(u"?"));
    EXPECT_EQ(prompts.ChooseNextBkfFile(), first);

    g_typed = {"perhaps", "y", "  " + second + " "};
    ASSERT_TRUE(prompts.AskContinueInNextFile(u"?"));
    EXPECT_EQ(prompts.ChooseNextBkfFile(), second);

    g_typed = {"yes", ""};  // an empty path declines
    ASSERT_TRUE(prompts.AskContinueInNextFile(u"?"));
    EXPECT_EQ(prompts.ChooseNextBkfFile(), "");

    g_typed = {"n"};
    EXPECT_FALSE(prompts.AskContinueInNextFile(u"?"));
    g_typed = {};  // end of input (or Ctrl-C) declines
    EXPECT_FALSE(prompts.AskContinueInNextFile(u"?"));
}

TEST_F(PromptsTest, ContinuedStreamFollowsTheFlagThenTheTerminalThenYes) {
    EXPECT_FALSE(Make({}, false, true).AskRecoverContinuedStream(u"f", u"fq"));
    EXPECT_TRUE(Make({}, true, false).AskRecoverContinuedStream(u"f", u"fq"));
    EXPECT_TRUE(Make({}, {}, false).AskRecoverContinuedStream(u"f", u"fq"));
    g_typed = {"no"};
    EXPECT_FALSE(Make({}, {}, true).AskRecoverContinuedStream(u"f", u"fq"));
    EXPECT_TRUE(g_typed.empty());
}

}  // namespace
}  // namespace kelvara::cli
