#include "search/search_job.h"

#include <gtest/gtest.h>

#include "search/search_texts.h"

namespace kelvara {
namespace {

// ROOT > Set > Vol > Docs holding three files, then Vol > Other holding two, plus an unnamed one.
class SearchJobTest : public ::testing::Test {
protected:
    void SetUp() override {
        int64_t set = tree.AddNode(u"SET 1 :Daily", 0);
        int64_t vol = tree.AddNode(u"C:", set);
        docs = tree.AddNode(u"Docs", vol);
        Add(u"report.doc", docs, 100);
        Add(u"Report.txt", docs, 200);
        Add(u"notes", docs, 300);
        other = tree.AddNode(u"Other", vol);
        Add(u"old report.doc", other, 400);
        Add(u"", other, 0);
    }
    void Add(std::u16string_view name, int64_t folder, uint64_t size) {
        BKFFILEREC r = MakeEmptyFileRecord();
        r.nFolder = folder;
        r.nSelf = files.Count();
        r.nDataOffset = 1000 + static_cast<uint64_t>(files.Count());
        r.nDataSize = size;
        files.Append(r, name);
    }
    SearchResult Run(std::u16string_view pattern, const SearchCallbacks& callbacks = {}) {
        return RunSearchJob(tree, files, pattern, busy, callbacks);
    }

    CVexloBKFTreeVectorClass tree;
    CBkfFileTable files;
    int64_t docs = 0;
    int64_t other = 0;
    std::atomic<int32_t> busy{1};
};

TEST_F(SearchJobTest, RowsInTableOrderWithFolderPathSizeAndIndex) {
    SearchResult result = Run(u"  report ");
    EXPECT_EQ(result.status, SearchStatus::kDone);
    EXPECT_EQ(result.pattern, u"*report*");
    ASSERT_EQ(result.rows.size(), 2u);
    EXPECT_EQ(result.rows[0].strPath, u"SET 1 :Daily\\C:\\Docs\\report.doc");
    EXPECT_EQ(result.rows[0].nDataSize, 100u);
    EXPECT_EQ(result.rows[0].nFileIndex, 0);
    EXPECT_EQ(result.rows[1].strPath, u"SET 1 :Daily\\C:\\Other\\old report.doc");
    EXPECT_EQ(result.rows[1].nDataSize, 400u);
    EXPECT_EQ(result.rows[1].nFileIndex, 3);
}

TEST_F(SearchJobTest, StarFindsEveryRecordIncludingTheUnnamedOne) {
    SearchResult result = Run(u"*");
    ASSERT_EQ(result.rows.size(), 5u);
    EXPECT_EQ(result.rows[4].strPath, u"SET 1 :Daily\\C:\\Other\\");
    EXPECT_EQ(Run(u"*.*").rows.size(), 3u);
    EXPECT_TRUE(Run(u"zzz").rows.empty());
}

TEST_F(SearchJobTest, WhiteSpacePatternRunsNoSearch) {
    int progressCalls = 0;
    SearchCallbacks callbacks;
    callbacks.onProgress = [&](int64_t, int64_t) { ++progressCalls; };
    SearchResult result = Run(u" \t ", callbacks);
    EXPECT_EQ(result.status, SearchStatus::kEmptyPattern);
    EXPECT_EQ(result.message, "Enter text pattern to search files.");
    EXPECT_TRUE(result.rows.empty());
    EXPECT_EQ(progressCalls, 0);
}

TEST_F(SearchJobTest, ProgressPerRecordThenTheTableSize) {
    std::vector<int64_t> positions;
    std::vector<size_t> rowCounts;
    SearchCallbacks callbacks;
    callbacks.onProgress = [&](int64_t k, int64_t total) {
        EXPECT_EQ(total, 5);
        positions.push_back(k);
    };
    callbacks.onRow = [&](const SearchRow&, size_t count) { rowCounts.push_back(count); };
    Run(u"o", callbacks);
    EXPECT_EQ(positions, (std::vector<int64_t>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(rowCounts, (std::vector<size_t>{1, 2, 3, 4}));
}

TEST_F(SearchJobTest, StopKeepsTheRowsFoundSoFar) {
    SearchCallbacks callbacks;
    callbacks.onRow = [&](const SearchRow&, size_t count) {
        if (count == 2) busy.store(0);
    };
    SearchResult result = Run(u"*", callbacks);
    EXPECT_EQ(result.status, SearchStatus::kStopped);
    ASSERT_EQ(result.rows.size(), 2u);
    EXPECT_EQ(result.rows[1].nFileIndex, 1);

    SearchResult none = Run(u"*");
    EXPECT_EQ(none.status, SearchStatus::kStopped);
    EXPECT_TRUE(none.rows.empty());
}

}  // namespace
}  // namespace kelvara
