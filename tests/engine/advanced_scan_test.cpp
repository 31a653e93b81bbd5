#include <gtest/gtest.h>

#include <algorithm>

#include "tests/engine/scan_fixture.h"

namespace kelvara::testing {
namespace {

bool Visited(const std::vector<uint64_t>& trail, uint64_t position) {
    return std::find(trail.begin(), trail.end(), position) != trail.end();
}

TEST(AdvancedScan, CfilChainMovesTheScanRoundedUpTo512) {
    ImageBuilder img;
    img.FillGapsWithZeros();
    img.Tape(u"M").Sset(1, u"S").Volb(u"C:");
    img.AlignTo(1024);
    BlockOptions at92;
    at92.firstStreamOffset = 92;
    img.Cfil(Stan(ByteVector(10000, 0)).NoPadding(), at92);
    const uint64_t block = img.LastBlockOffset();
    img.Zeros(16 * 1024);
    auto run = ScanImage(img, {.mode = Mode::kAdvanced});
    auto trail = run->host.Trail();
    // R = 92 + 22 + 10,000 + 2 = 10,116, rounded up to 10,240.
    EXPECT_TRUE(Visited(trail, block + 10240));
    for (uint64_t p : trail) EXPECT_FALSE(p > block && p < block + 10240) << p;
}

TEST(AdvancedScan, FileChainMovesTheScanRoundedDownTo1024) {
    ImageBuilder img;
    img.FillGapsWithZeros();
    img.Tape(u"M").Sset(1, u"S").Volb(u"C:");
    img.AlignTo(1024);
    BlockOptions at92;
    at92.firstStreamOffset = 92;
    at92.name.offset = 40;  // a name in an unused part of the header, before the streams
    at92.name.size = 2;
    img.File(u"f", Stan(ByteVector(10000, 0)).NoPadding(), at92);
    const uint64_t block = img.LastBlockOffset();
    img.Zeros(16 * 1024);
    ByteVector bytes = img.Bytes();
    Overwrite(bytes, block + 40, ByteVector{'f', 0});
    auto run = ScanBytes(bytes, {.mode = Mode::kAdvanced});
    auto trail = run->host.Trail();
    EXPECT_TRUE(Visited(trail, block + 9216));
    for (uint64_t p : trail) EXPECT_FALSE(p > block && p < block + 9216) << p;
    ASSERT_EQ(run->scanner->Files().Count(), 1);
    EXPECT_EQ(Copy(run->scanner->Files().At(0).nDataOffset), block + 92 + 22);
    EXPECT_EQ(Copy(run->scanner->Files().At(0).nDataSize), 10000u);
}

TEST(AdvancedScan, StreamIdValidityWithAndWithoutHeuristics) {
    for (Mode mode : {Mode::kAdvanced, Mode::kHeuristic}) {
        ImageBuilder img;
        img.Tape(u"M").Sset(1, u"S").Volb(u"C:");
        // An unknown but well-formed id inside the chain, with a decoy FILE in its data.
        ByteVector unknownData(3000, 0);
        const ByteVector decoy = BytesOf("FILE");
        std::copy(decoy.begin(), decoy.end(), unknownData.begin() + 2048);
        img.File(u"f", {Stan("abc"), StreamOf("AB12", unknownData), Stan("tail")});
        auto run = ScanImage(img, {.mode = mode});
        // Without heuristics the chain ends at AB12 and the scan walks into its data, where the
        // decoy's bad name makes it ignored; the only visible difference is the trail.
        auto trail = run->host.Trail();
        const uint64_t block = img.LastBlockOffset();
        bool enteredData = std::any_of(trail.begin(), trail.end(), [&](uint64_t p) {
            return p > block && p < block + 3072;
        });
        EXPECT_EQ(enteredData, mode == Mode::kAdvanced);
        EXPECT_EQ(run->scanner->Files().Count(), 1);
    }
}

TEST(AdvancedScan, FileStreamsBeyond1024AreReadFromA2048Window) {
    ImageBuilder img;
    img.Tape(u"M").Sset(1, u"S").Volb(u"C:");
    BlockOptions far;
    far.firstStreamOffset = 1500;
    img.File(u"far", Stan("payload"), far);
    const uint64_t data = img.LastDataOffset();
    auto standard = ScanImage(img);
    auto advanced = ScanImage(img, {.mode = Mode::kAdvanced});
    EXPECT_EQ(standard->scanner->Files().Count(), 0);
    ASSERT_EQ(advanced->scanner->Files().Count(), 1);
    EXPECT_EQ(Copy(advanced->scanner->Files().At(0).nDataOffset), data);
    EXPECT_EQ(Copy(advanced->scanner->Files().At(0).nDataSize), 7u);
}

TEST(AdvancedScan, CpadSuppressesRoundingInTheWideWindow) {
    ImageBuilder img;
    img.Tape(u"M").Sset(1, u"S").Volb(u"C:");
    BlockOptions far;
    far.firstStreamOffset = 1200;
    img.File(u"f", {Cpad(5), Stan("x")}, far);
    const uint64_t data = img.LastDataOffset();
    auto run = ScanImage(img, {.mode = Mode::kAdvanced});
    ASSERT_EQ(run->scanner->Files().Count(), 1);
    EXPECT_EQ(Copy(run->scanner->Files().At(0).nDataOffset), data);
    EXPECT_EQ(Copy(run->scanner->Files().At(0).nDataSize), 1u);
}

TEST(AdvancedScan, VolumeNodesAreDriveNames) {
    struct Case {
        std::u16string device;
        std::string node;
        std::string folders;  // a backslash in the node name breaks the anchor
    } cases[] = {
        {u"C:", "C:", "      a\n        - f\n"},
        {u"D: Data disk", "D:", "      a\n        - f\n"},
        {u"\\\\server\\share", "\\\\server\\share", "      - f\n"},
        {u":odd", ":odd", "      a\n        - f\n"},
        {u"Vol X:", "X:", "      a\n        - f\n"},
    };
    for (const Case& c : cases) {
        ImageBuilder img;
        img.Tape(u"M").Sset(1, u"S").Volb(c.device).Dirb(u"a").File(u"f", Stan("1"));
        auto run = ScanImage(img, {.mode = Mode::kAdvanced});
        EXPECT_EQ(DumpNames(*run->scanner),
                  "M\n  SET 1 :S\n    " + c.node + "\n" + c.folders)
            << c.node;
    }
}

TEST(AdvancedScan, TapeWithoutMediaNameTakesTheSoftwareName) {
    BlockOptions options;
    options.name.size = 0;
    options.name.offset = 0;
    options.softwareName = Text(u"Backup Software");
    ImageBuilder img;
    img.Tape(u"", options).Sset(1, u"S").Volb(u"C:").File(u"f", Stan("1"));
    auto advanced = ScanImage(img, {.mode = Mode::kAdvanced});
    auto standard = ScanImage(img);
    EXPECT_EQ(DumpNames(*advanced->scanner),
              "Backup Software\n  SET 1 :S\n    C:\n      - f\n");
    EXPECT_EQ(DumpNames(*standard->scanner),
              "TAPE CREATED \n  SET 1 :S\n    C:\n      - f\n");
}

TEST(AdvancedScan, EmptySetNameAddsNothing) {
    ImageBuilder img;
    img.Tape(u"M").Sset(1, u"").Volb(u"C:").File(u"f", Stan("1"));
    auto advanced = ScanImage(img, {.mode = Mode::kAdvanced});
    auto standard = ScanImage(img);
    EXPECT_EQ(DumpNames(*advanced->scanner), "M\n  SET CREATED \n    C:\n      - f\n");
    EXPECT_EQ(DumpNames(*standard->scanner), "M\n  SET 1 :\n    C:\n      - f\n");
}

TEST(AdvancedScan, OsVersion33IsNotABlock) {
    BlockOptions v33;
    v33.osVersion = 33;
    ImageBuilder img;
    img.Tape(u"M").Sset(1, u"S").Volb(u"C:").Dirb(u"a", v33).File(u"f", Stan("1"), v33);
    auto advanced = ScanImage(img, {.mode = Mode::kAdvanced});
    auto standard = ScanImage(img);
    EXPECT_EQ(DumpNames(*advanced->scanner), "M\n  SET 1 :S\n    C:\n");
    EXPECT_EQ(DumpNames(*standard->scanner), "M\n  SET 1 :S\n    C:\n      a\n        - f\n");
}

TEST(AdvancedScan, EspbNeverMovesTheScanFurther) {
    ImageBuilder img;
    img.FillGapsWithZeros();
    img.Tape(u"M").Sset(1, u"S").Volb(u"C:");
    img.AlignTo(1024);
    img.Espb(Stan(ByteVector(8000, 0)));
    const uint64_t block = img.LastBlockOffset();
    img.Zeros(10000);
    auto run = ScanImage(img, {.mode = Mode::kAdvanced});
    EXPECT_TRUE(Visited(run->host.Trail(), block + 1024));
}

// One later header with an absurd length must not throw the scan past the end of the image.
TEST(AdvancedScan, ImplausibleLaterLengthEndsTheChainWithoutCountingIt) {
    ImageBuilder img;
    img.Tape(u"M").Sset(1, u"S").Volb(u"C:");
    img.File(u"first", {Stan("abc"), StreamOf("CSUM", ByteVector(4, 0)).Length(1ull << 40)});
    for (int i = 0; i < 5; ++i) img.File("later" + std::to_string(i), Stan("x"));
    auto run = ScanImage(img, {.mode = Mode::kAdvanced});
    EXPECT_EQ(run->scanner->Files().Count(), 6);
}

TEST(AdvancedScan, DamagedFirstHeaderMovesOnlyOneWindow) {
    ImageBuilder img;
    img.Tape(u"M").Sset(1, u"S").Volb(u"C:");
    img.File(u"a", Stan(ByteVector(5000, 0)).Length(1ull << 50));
    img.File(u"b", Stan("b"));
    auto run = ScanImage(img, {.mode = Mode::kAdvanced});
    EXPECT_EQ(run->scanner->Files().Count(), 2);
    // No range test in advanced mode: the file with the absurd length is still recorded.
    EXPECT_EQ(Copy(run->scanner->Files().At(0).nDataSize), 1ull << 50);
}

}  // namespace
}  // namespace kelvara::testing

namespace kelvara::testing {
namespace {

// FILE blocks with unusable names still walk their stream chains; here every block's chain runs
// on through all the blocks after it. The walks must share their common part (the scan stays
// linear in the image) and give the same distances as walking each chain in full.
TEST(AdvancedScan, InterlockedChainsOfIgnoredBlocks) {
    constexpr int kBlocks = 20000;
    ByteVector bytes(size_t(kBlocks) * 1024 + 4096, 0);
    for (int k = 0; k < kBlocks; ++k) {
        const size_t b = size_t(k) * 1024;
        Overwrite(bytes, b, "FILE");
        PutLE16(bytes, b + 8, 92);
        PutLE16(bytes, b + 84, 2);  // name size 2, offset 0: unusable
        Overwrite(bytes, b + 92, "SPAD");
        PutLE64(bytes, b + 92 + 8, 1002);  // the next header is the next block's first
    }
    // A usable FILE whose chain starts inside the interlocked run near its end.
    const size_t last = size_t(kBlocks - 2) * 1024;
    PutLE16(bytes, last + 84, 2);
    PutLE16(bytes, last + 86, 200);
    Overwrite(bytes, last + 200, ByteVector{'z', 0});
    auto run = ScanBytes(bytes, {.mode = Mode::kAdvanced});
    ASSERT_EQ(run->scanner->Files().Count(), 1);
    // Its chain covers its own SPAD and the last block's: R = 92 + 2 x 1024, rounded down.
    auto trail = run->host.Trail();
    EXPECT_TRUE(std::find(trail.begin(), trail.end(), last + 2048) != trail.end());
}

}  // namespace
}  // namespace kelvara::testing
