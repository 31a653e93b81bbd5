#include <gtest/gtest.h>

#include "engine/engine_texts.h"
#include "tests/engine/scan_fixture.h"

namespace kelvara::testing {
namespace {

TEST(StandardScan, WellFormedImageBuildsTheWholeHierarchy) {
    ImageBuilder img;
    img.Tape(u"Media 1").Sset(2, u"Daily").Volb(u"C:").Dirb(u"a\\b");
    img.File(u"x.txt", {Ntoi(), Stan("hello world")});
    const uint64_t data = img.LastDataOffset();
    img.Eset();
    auto run = ScanImage(img);
    ASSERT_EQ(run->result, 1);
    EXPECT_EQ(Dump(*run->scanner),
              "Media 1\n"
              "  SET 2 :Daily\n"
              "    C:\n"
              "      a\n"
              "        b\n"
              "          - x.txt 11@" + std::to_string(data) + "\n");
    EXPECT_EQ(run->scanner->FilesFound(), 1u);
    const BKFFILEREC& rec = run->scanner->Files().At(0);
    EXPECT_EQ(Copy(rec.wNameSize), 10);
    EXPECT_EQ(Copy(rec.chKind), 'F');
    EXPECT_EQ(Copy(rec.nSelf), 0);
    EXPECT_EQ(run->host.finished, 1);
    EXPECT_TRUE(run->host.messages.empty());
}

TEST(StandardScan, FileWithoutContainersGetsPlaceholders) {
    ImageBuilder img;
    img.File(u"lost.doc", Stan("x"));
    auto run = ScanImage(img);
    EXPECT_EQ(DumpNames(*run->scanner),
              "TAPE CREATED \n"
              "  SET CREATED \n"
              "    DUMY VOLUME XX: \n"
              "      - lost.doc\n");
}

TEST(StandardScan, SecondSetWithoutVolumeAnchorsInThePreviousVolume) {
    ImageBuilder img;
    img.Tape(u"M").Sset(1, u"S1").Volb(u"C:").Dirb(u"a\\x").File(u"f1", Stan("1"));
    // The volume path is empty now, so "a\b" anchors on the first folder a below C:.
    img.Sset(2, u"S2").Dirb(u"a\\b").File(u"f2", Stan("2"));
    // And "z\q" finds no anchor: nothing is added; the file joins the node added last.
    img.Dirb(u"z\\q").File(u"f3", Stan("3"));
    auto run = ScanImage(img);
    EXPECT_EQ(DumpNames(*run->scanner),
              "M\n"
              "  SET 2 :S2\n"
              "  SET 1 :S1\n"
              "    C:\n"
              "      a\n"
              "        b\n"
              "          - f2\n"
              "          - f3\n"
              "        x\n"
              "          - f1\n");
}

TEST(StandardScan, RootDirectoryAddsNothing) {
    ImageBuilder img;
    img.Tape(u"M").Sset(1, u"S").Volb(u"D:").Dirb(u"docs").File(u"a", Stan("a"));
    img.Dirb(u"").File(u"b", Stan("b"));
    auto run = ScanImage(img);
    EXPECT_EQ(DumpNames(*run->scanner),
              "M\n  SET 1 :S\n    D:\n      docs\n        - a\n        - b\n");
}

TEST(StandardScan, DeviceNameWithBackslashAddsNoFolders) {
    ImageBuilder img;
    img.Tape(u"M").Sset(1, u"S").Volb(u"\\\\server\\share").Dirb(u"a").File(u"f", Stan("f"));
    auto run = ScanImage(img);
    EXPECT_EQ(DumpNames(*run->scanner), "M\n  SET 1 :S\n    \\\\server\\share\n      - f\n");
}

// A folder whose name also exists deeper down is still its own folder.
TEST(StandardScan, RepeatedFolderNamesKeepTheirPlace) {
    ImageBuilder img;
    img.Tape(u"M").Sset(1, u"S").Volb(u"C:");
    img.Dirb(u"a").Dirb(u"a\\b").Dirb(u"a\\b\\c").File(u"deep", Stan("1"));
    img.Dirb(u"a\\c").File(u"shallow", Stan("2"));
    img.Dirb(u"a\\b\\c").File(u"again", Stan("3"));
    auto run = ScanImage(img);
    EXPECT_EQ(DumpNames(*run->scanner),
              "M\n"
              "  SET 1 :S\n"
              "    C:\n"
              "      a\n"
              "        c\n"
              "          - shallow\n"
              "          - again\n"
              "        b\n"
              "          c\n"
              "            - deep\n");
}

TEST(StandardScan, DirectoryBeforeAnyVolumeGetsPlaceholderSetAndVolume) {
    ImageBuilder img;
    img.Dirb(u"first").File(u"f1", Stan("1"));
    img.Dirb(u"second\\inner").File(u"f2", Stan("2"));
    auto run = ScanImage(img);
    // The first directory's path had no volume, so it found no anchor; later ones nest below
    // the placeholder volume.
    EXPECT_EQ(DumpNames(*run->scanner),
              "DUMY SET CREATED \n"
              "  DUMY VOLUME XX: \n"
              "    second\n"
              "      inner\n"
              "        - f2\n"
              "    - f1\n");
}

TEST(StandardScan, StreamsAndDataLocation) {
    ImageBuilder img;
    img.Tape(u"M").Sset(1, u"S").Volb(u"C:");
    BlockOptions at300;
    at300.firstStreamOffset = 300;
    img.File(u"f", Stan(ByteVector(100, 7)), at300);
    const uint64_t block = img.LastBlockOffset();
    auto run = ScanImage(img);
    ASSERT_EQ(run->scanner->Files().Count(), 1);
    EXPECT_EQ(Copy(run->scanner->Files().At(0).nDataOffset), block + 322);
    EXPECT_EQ(Copy(run->scanner->Files().At(0).nDataSize), 100u);
}

TEST(StandardScan, FileWhoseStreamsLeaveTheWindowHasNoData) {
    ImageBuilder img;
    img.Tape(u"M").Sset(1, u"S").Volb(u"C:");
    img.File(u"nodata", {Nacl(ByteVector(2000, 1)), Stan("late")});
    const uint64_t block = img.LastBlockOffset();
    const uint64_t m = img.Last().streams[1].headerOffset - block;  // just past the NACL
    auto run = ScanImage(img);
    ASSERT_EQ(run->scanner->Files().Count(), 1);
    EXPECT_EQ(Copy(run->scanner->Files().At(0).nDataSize), 0u);
    EXPECT_EQ(Copy(run->scanner->Files().At(0).nDataOffset), block + m + 22);
}

TEST(StandardScan, FirstStreamAt1024OrMoreGivesPlaceholdersButNoRecord) {
    ImageBuilder img;
    BlockOptions far;
    far.firstStreamOffset = 1500;
    img.File(u"f", Stan("x"), far);
    auto run = ScanImage(img);
    EXPECT_EQ(run->scanner->Files().Count(), 0);
    EXPECT_EQ(run->scanner->Tree().NodeCount(), 4);
}

TEST(StandardScan, RangeEndDropsFilesThatCannotFit) {
    ImageBuilder img;
    img.Tape(u"M").Sset(1, u"S").Volb(u"C:");
    img.File(u"small", Stan("abc"));
    img.File(u"huge", Stan("x").Length(2000000));
    img.File(u"after", Stan("def"));
    img.Zeros(1200000);
    auto run = ScanImage(img, {.rangeEnd = 1048576});
    EXPECT_EQ(DumpNames(*run->scanner), "M\n  SET 1 :S\n    C:\n      - small\n      - after\n");
    EXPECT_TRUE(run->host.messages.empty());
}

TEST(StandardScan, RangeCorrections) {
    ImageBuilder img;
    img.File(u"f", Stan("x"));
    const uint64_t length = img.Size();
    struct Case {
        uint64_t start, end;
        std::vector<std::string> messages;
        uint64_t correctedStart, correctedEnd;
    } cases[] = {
        {length + 1, 0, {texts::kRangeStartTooLarge}, 0, length},
        {0, length + 1, {texts::kRangeEndTooLarge}, 0, length},
        {length + 5, length + 5, {texts::kRangeStartTooLarge, texts::kRangeEndTooLarge}, 0, length},
        {length, 0, {}, length, length},  // a start equal to the length stays
        {0, 0, {}, 0, length},
    };
    for (const Case& c : cases) {
        auto run = ScanImage(img, {.rangeStart = c.start, .rangeEnd = c.end});
        EXPECT_EQ(run->host.messages, c.messages) << c.start << ":" << c.end;
        EXPECT_EQ(run->scanner->RangeStart(), c.correctedStart);
        EXPECT_EQ(run->scanner->RangeEnd(), c.correctedEnd);
        EXPECT_EQ(run->host.finished, 1);
        EXPECT_EQ(run->scanner->Files().Count(), c.correctedStart == 0 ? 1 : 0);
    }
}

TEST(StandardScan, MissingOrEmptyImages) {
    auto missing = ScanPath("/nonexistent/kelvara/image.bkf");
    EXPECT_EQ(missing->result, 0);
    EXPECT_EQ(missing->host.finished, 0);
    EXPECT_FALSE(missing->scanner->ImageError().empty());

    for (size_t size : {0, 1, 3, 100, 1023}) {
        auto run = ScanBytes(ByteVector(size, 'F'));
        EXPECT_EQ(run->result, 1) << size;
        EXPECT_EQ(run->scanner->Tree().NodeCount(), 1);
        EXPECT_EQ(run->host.finished, 1);
    }
}

// A DIRB with a bad name field makes the next window start one byte after it, so a block 1020
// bytes further on, at an offset a 1024-byte step never examines, is found.
TEST(StandardScan, BadDirectoryNameStepsOneByte) {
    for (bool badName : {false, true}) {
        ImageBuilder img;
        img.Tape(u"M").Sset(1, u"S").Volb(u"C:");
        BlockOptions options;
        if (badName) options.name.offset = 0;
        img.Dirb(u"d", options);
        const uint64_t dirb = img.LastBlockOffset();
        BlockOptions at;
        at.at = dirb + 1020;
        img.File(u"f", Stan("x"), at);
        auto run = ScanImage(img);
        EXPECT_EQ(run->scanner->Files().Count(), badName ? 1 : 0) << badName;
    }
}

TEST(StandardScan, CfilAndSfmbArePassedOverAndLastOffsetsNeverExamined) {
    ImageBuilder img;
    img.Tape(u"M").Sset(1, u"S").Volb(u"C:").AlignTo(1024);
    const uint64_t base = img.Size();
    BlockOptions at;
    at.at = base + 1019;
    img.Cfil({}, at);  // passed over in standard mode
    BlockOptions at2;
    at2.at = base + 2048 + 1021;
    img.File(u"never", Stan("x"), at2);  // window offset 1021: never examined
    img.AlignTo(1024);
    img.File(u"seen", Stan("y"));
    auto run = ScanImage(img);
    EXPECT_EQ(DumpNames(*run->scanner), "M\n  SET 1 :S\n    C:\n      - seen\n");
}

TEST(StandardScan, JumpLandsOnTheBoundaryBelowTheDataEnd) {
    ImageBuilder img;
    img.Tape(u"M").Sset(1, u"S").Volb(u"C:");
    img.File(u"big", Stan(ByteVector(5000, 0)));
    const uint64_t block = img.LastBlockOffset();
    const uint64_t r = img.LastDataOffset() - 22 - block + 5000;
    img.File(u"next", Stan("z"));
    img.Zeros(4096);
    auto run = ScanImage(img);
    auto trail = run->host.Trail();
    // After the FILE block the next window starts at the 1024 boundary at or below R.
    bool landed = std::find(trail.begin(), trail.end(), block + (r & ~uint64_t(1023))) != trail.end();
    EXPECT_TRUE(landed);
    for (uint64_t p : trail) EXPECT_FALSE(p > block && p < block + (r & ~uint64_t(1023))) << p;
    EXPECT_EQ(run->scanner->Files().Count(), 2);
}

TEST(StandardScan, StopKeepsWhatWasFound) {
    ImageBuilder img;
    img.Tape(u"M").Sset(1, u"S").Volb(u"C:");
    for (int i = 0; i < 50; ++i) img.File("f" + std::to_string(i), Stan("data"));
    TempImage image(img);
    std::atomic<int32_t> busy{1};
    RecordingHost host;
    host.stopAfterWindows = &busy;
    host.windowsBeforeStop = 10;
    bkf scanner(busy);
    scanner.SetHost(&host);
    EXPECT_EQ(scanner.ScanFile(image.Path().string()), 1);
    EXPECT_EQ(host.finished, 1);
    EXPECT_GT(scanner.Files().Count(), 0);
    EXPECT_LT(scanner.Files().Count(), 50);
    EXPECT_EQ(scanner.FilesFound(), static_cast<uint64_t>(scanner.Files().Count()));
}

TEST(StandardScan, ProgressIsThrottledPerMilleWithAHeartbeatForEmptyWindows) {
    ImageBuilder img;
    img.File(u"f", Stan("x"));
    img.Zeros(4 * 1024 * 1024);
    auto run = ScanImage(img);
    const uint64_t windows = run->scanner->Image().Length() / 1024;
    // One heartbeat per empty window, plus at most one per per-mille.
    EXPECT_GE(run->host.progress.size(), windows - 2);
    EXPECT_LE(run->host.progress.size(), windows + 1001);
    EXPECT_EQ(run->host.progress.back().nImageLength, run->scanner->Image().Length());
    EXPECT_EQ(run->host.progress.back().nFilesFound, 1u);
    EXPECT_GT(run->host.progress.back().fPercent, 99.0f);
}

}  // namespace
}  // namespace kelvara::testing
