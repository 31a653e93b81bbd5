#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <cstring>
#include <iterator>

#include "engine/mtf.h"

#include "engine/snapshot.h"
#include "tests/engine/scan_fixture.h"

namespace kelvara::testing {
namespace {

ByteVector ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return ByteVector(std::istreambuf_iterator<char>(in), {});
}

ByteVector ExampleImage() {
    ImageBuilder img;
    img.Tape(u"Media").Sset(3, u"Weekly").Volb(u"C:").Dirb(u"Users\\ann").File(u"a.txt", Stan("aaa"));
    img.File(u"b.bin", Stan(ByteVector(3000, 1))).Dirb(u"Users\\bob").File(u"c", Stan("c"));
    return img.Bytes();
}

TEST(Snapshot, RootOnlyCatalogueBytes) {
    TempImage image(ByteVector(10, 0));
    std::atomic<int32_t> busy{1};
    bkf scanner(busy);
    ASSERT_TRUE(scanner.OpenImage(image.Path().string()));
    TempDir dir;
    auto snap = dir.Path() / "root.EXECBKFQUAREL";
    ASSERT_TRUE(SaveSnapshot(scanner, snap.string(), busy).ok());

    ByteVector expected;
    auto put32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i) expected.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    auto put64 = [&](int64_t v) {
        for (int i = 0; i < 8; ++i) expected.push_back(static_cast<uint8_t>(uint64_t(v) >> (8 * i)));
    };
    ByteVector path = Utf16Le(Text(image.Path().string()).value);
    put32(static_cast<uint32_t>(path.size() + 2));
    expected.insert(expected.end(), path.begin(), path.end());
    expected.push_back(0);
    expected.push_back(0);
    expected.push_back('T');
    put32(10);
    put32(0);
    put32(0);           // name slot
    put64(-1);          // nParent
    put64(-1);          // nFirstChild
    put64(-1);          // nNextSibling
    put64(0);           // nSelf
    put64(-1);          // nFirstFile
    put64(-1);          // nLastFile
    expected.push_back(0);
    expected.push_back(0);
    ByteVector root = Utf16Le(u"ROOT");
    expected.insert(expected.end(), root.begin(), root.end());
    expected.push_back(0);
    expected.push_back(0);
    for (int end = 0; end < 2; ++end) {
        expected.push_back('E');
        put32(0);
        put32(0);
    }
    EXPECT_EQ(ReadAll(snap), expected);
}

TEST(Snapshot, SaveAndLoadGiveTheSameCatalogue) {
    TempImage image(ExampleImage());
    for (Mode mode : {Mode::kStandard, Mode::kAdvanced}) {
        auto run = ScanPath(image.Path().string(), {.mode = mode});
        run->scanner->Tree().Node(2).byCheck = kUnchecked;
        run->scanner->Files().At(1).byCheck = kChecked;
        run->scanner->RenameFile(0, u"renamed with a longer name.txt");
        TempDir dir;
        auto snap = (dir.Path() / "s.EXECBKFQUAREL").string();
        ASSERT_TRUE(SaveSnapshot(*run->scanner, snap, run->busy).ok());

        std::unique_ptr<bkf> loaded;
        std::u16string imagePath;
        SnapshotResult result = LoadSnapshot(snap, run->busy, loaded, imagePath);
        ASSERT_TRUE(result.ok()) << result.reason;
        EXPECT_EQ(Utf16ToUtf8(imagePath), image.Path().string());
        EXPECT_EQ(typeid(*loaded), typeid(bkf));  // always a standard scanner
        EXPECT_EQ(Dump(*loaded), Dump(*run->scanner));
        ASSERT_EQ(loaded->Tree().NodeCount(), run->scanner->Tree().NodeCount());
        for (int64_t i = 0; i < loaded->Tree().NodeCount(); ++i) {
            BKFTREENODE a = loaded->Tree().Node(i), b = run->scanner->Tree().Node(i);
            a.pszName = b.pszName = 0;
            EXPECT_EQ(std::memcmp(&a, &b, sizeof a), 0) << i;
        }
        ASSERT_EQ(loaded->Files().Count(), run->scanner->Files().Count());
        for (int64_t i = 0; i < loaded->Files().Count(); ++i) {
            BKFFILEREC a = loaded->Files().At(i), b = run->scanner->Files().At(i);
            a.pszName = b.pszName = 0;
            EXPECT_EQ(std::memcmp(&a, &b, sizeof a), 0) << i;
            EXPECT_EQ(loaded->Files().Name(i), run->scanner->Files().Name(i));
        }
        EXPECT_TRUE(loaded->Image().IsOpen());
    }
}

TEST(Snapshot, NameByteCountIsTwicePlusTwo) {
    TempImage image(ByteVector(10, 0));
    std::atomic<int32_t> busy{1};
    bkf scanner(busy);
    ASSERT_TRUE(scanner.OpenImage(image.Path().string()));
    scanner.Tree().AddNode(u"abc", 0);
    TempDir dir;
    auto snap = dir.Path() / "n.EXECBKFQUAREL";
    ASSERT_TRUE(SaveSnapshot(scanner, snap.string(), busy).ok());
    ByteVector bytes = ReadAll(snap);
    size_t second = 4 + kelvara::ReadLE32(bytes.data()) + 9 + 54 + 10;
    ASSERT_EQ(bytes[second], 'T');
    EXPECT_EQ(kelvara::ReadLE32(bytes.data() + second + 1), 8u);
}

class SnapshotDamage : public ::testing::Test {
protected:
    void SetUp() override {
        auto run = ScanPath(image.Path().string());
        path = (dir.Path() / "d.EXECBKFQUAREL").string();
        ASSERT_TRUE(SaveSnapshot(*run->scanner, path, run->busy).ok());
        bytes = ReadAll(path);
    }
    SnapshotResult LoadBytes(const ByteVector& b) {
        std::ofstream(path, std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
        std::unique_ptr<bkf> loaded;
        std::u16string imagePath;
        auto result = LoadSnapshot(path, busy, loaded, imagePath);
        EXPECT_EQ(result.ok(), loaded != nullptr);
        return result;
    }
    size_t FirstNodeEntry() const { return 4 + kelvara::ReadLE32(bytes.data()); }

    TempImage image{ExampleImage()};
    TempDir dir;
    std::string path;
    ByteVector bytes;
    std::atomic<int32_t> busy{1};
};

TEST_F(SnapshotDamage, EveryTruncationFails) {
    for (size_t size = 0; size < bytes.size(); size += 7) {
        ByteVector cut(bytes.begin(), bytes.begin() + static_cast<long>(size));
        EXPECT_FALSE(LoadBytes(cut).ok()) << size;
    }
    EXPECT_TRUE(LoadBytes(bytes).ok());
}

TEST_F(SnapshotDamage, NameOf4096BytesOrMoreFails) {
    ByteVector b = bytes;
    PutLE32(b, FirstNodeEntry() + 1, 4096);
    EXPECT_EQ(LoadBytes(b).status, SnapshotStatus::kCorrupt);
}

TEST_F(SnapshotDamage, LinksThatCouldLoopFail) {
    const size_t record = FirstNodeEntry() + 9;
    struct Case {
        size_t field;
        int64_t value;
    } cases[] = {{4, 5}, {12, 0x7fffffff}, {28, 3}, {36, 999}};
    for (const Case& c : cases) {
        ByteVector b = bytes;
        PutLE64(b, record + c.field, static_cast<uint64_t>(c.value));
        EXPECT_EQ(LoadBytes(b).status, SnapshotStatus::kCorrupt) << c.field;
    }
}

TEST_F(SnapshotDamage, MovedImageCannotBeOpened) {
    std::filesystem::remove(image.Path());
    EXPECT_EQ(LoadBytes(bytes).status, SnapshotStatus::kCannotOpenImage);
}

TEST(Snapshot, MissingSnapshotCannotBeOpened) {
    std::atomic<int32_t> busy{1};
    std::unique_ptr<bkf> loaded;
    std::u16string imagePath;
    EXPECT_EQ(LoadSnapshot("/nonexistent/x.EXECBKFQUAREL", busy, loaded, imagePath).status,
              SnapshotStatus::kCannotOpen);
}

TEST(Snapshot, UnwritablePathFails) {
    TempImage image(ByteVector(10, 0));
    std::atomic<int32_t> busy{1};
    bkf scanner(busy);
    ASSERT_TRUE(scanner.OpenImage(image.Path().string()));
    EXPECT_EQ(SaveSnapshot(scanner, "/nonexistent/dir/x.EXECBKFQUAREL", busy).status,
              SnapshotStatus::kCannotCreate);
    if (std::filesystem::exists("/dev/full")) {
        EXPECT_EQ(SaveSnapshot(scanner, "/dev/full", busy).status, SnapshotStatus::kCannotCreate);
    }
}

}  // namespace
}  // namespace kelvara::testing
