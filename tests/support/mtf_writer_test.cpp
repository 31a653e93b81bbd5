// The fixture writer must lay images out exactly as the readers expect, or every engine test built
// on it proves nothing.
#include "tests/support/mtf_writer.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "engine/mtf.h"

namespace kelvara::testing {
namespace {

const uint8_t* At(const ByteVector& bytes, uint64_t offset) {
    return bytes.data() + offset;
}

NameField Field(const ByteVector& bytes, const BlockInfo& block, size_t fieldOffset) {
    return ReadNameField(At(bytes, block.offset), fieldOffset);
}

ByteVector ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return ByteVector(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(MtfWriter, FileBlockLayoutAndStanLocation) {
    ImageBuilder img;
    img.File(u"x.txt", {Ntoi(ByteVector(5, 1)), Stan("hello"), Csum()});
    const ByteVector& b = img.Bytes();
    const BlockInfo& file = img.Last();

    EXPECT_EQ(file.offset, 0u);
    EXPECT_EQ(FindBlockType(At(b, 0)), kBlockFile);
    EXPECT_EQ(b[kBlockOsVersion], 0x05);
    const NameField name = Field(b, file, kFileNameField);
    EXPECT_EQ(name.size, 10);
    EXPECT_EQ(name.offset, ImageBuilder::kNameArea);
    EXPECT_EQ(TakeName(At(b, name.offset), name.size), u"x.txt");

    // Streams start past the name, on a multiple of 4.
    const uint16_t first = ReadLE16(At(b, kBlockFirstStreamOffset));
    EXPECT_EQ(first, ImageBuilder::kNameArea + 12);
    EXPECT_EQ(FindStreamType(At(b, first)), 4);  // NTOI
    // NTOI: 22 + 5 bytes, next header rounded up to 4.
    const uint64_t stan = first + 28;
    EXPECT_EQ(FindStreamType(At(b, stan)), kStreamStan);
    EXPECT_EQ(ReadLE64(At(b, stan + kStreamLength)), 5u);
    EXPECT_EQ(std::string(b.begin() + stan + 22, b.begin() + stan + 27), "hello");
    EXPECT_EQ(img.LastDataOffset(), stan + 22);
    EXPECT_EQ(FindStreamType(At(b, stan + 28)), 3);  // CSUM
    EXPECT_EQ(file.end, stan + 28 + 28);
}

TEST(MtfWriter, EveryBlockTypeCarriesItsTagAndNameFields) {
    ImageBuilder img;
    img.Tape(u"Media 1", {.softwareName = u"Writer"})
        .Sset(7, u"Daily")
        .Volb(u"C:")
        .Dirb(u"a")
        .File(u"f")
        .Cfil()
        .Sfmb()
        .Eset()
        .Eotm()
        .Espb();
    const ByteVector& b = img.Bytes();
    ASSERT_EQ(img.Blocks().size(), 10u);
    struct Expect {
        int type;
        size_t nameField;  // 0: none
        std::u16string name;
    };
    const Expect table[] = {
        {kBlockTape, kTapeMediaNameField, u"Media 1"},
        {kBlockSset, kSsetNameField, u"Daily"},
        {kBlockVolb, kVolbDeviceNameField, u"C:"},
        {kBlockDirb, kDirbNameField, u"a"},
        {kBlockFile, kFileNameField, u"f"},
        {kBlockCfil, 0, u""},
        {kBlockSfmb, 0, u""},
        {kBlockEset, 0, u""},
        {kBlockEotm, 0, u""},
        {kBlockEspb, 0, u""},
    };
    for (size_t i = 0; i < std::size(table); ++i) {
        SCOPED_TRACE(i);
        const BlockInfo& block = img.Blocks()[i];
        EXPECT_EQ(block.offset, i * 1024);
        EXPECT_EQ(FindBlockType(At(b, block.offset)), table[i].type);
        if (table[i].nameField == 0) continue;
        const NameField f = Field(b, block, table[i].nameField);
        EXPECT_GE(f.offset, 5);
        EXPECT_LE(f.offset, 1023);
        EXPECT_EQ(TakeName(At(b, block.offset + f.offset), f.size), table[i].name);
    }
    EXPECT_EQ(ReadLE16(At(b, 1024 + kSsetNumber)), 7);
    const NameField software = Field(b, img.Blocks()[0], kTapeSoftwareNameField);
    EXPECT_EQ(TakeName(At(b, software.offset), software.size), u"Writer");
}

TEST(MtfWriter, DirectoryNamesAreNulTerminatedComponents) {
    struct Case {
        std::u16string path;
        std::u16string stored;
        std::u16string converted;
    };
    const Case cases[] = {
        {u"a\\b", std::u16string(u"a\0b\0", 4), u"a\\b"},
        {u"", std::u16string(u"\0", 1), u""},
        {u"dir one\\x\\y", std::u16string(u"dir one\0x\0y\0", 12), u"dir one\\x\\y"},
    };
    for (const Case& c : cases) {
        ImageBuilder img;
        img.Dirb(c.path);
        const NameField f = Field(img.Bytes(), img.Last(), kDirbNameField);
        const ByteVector stored(img.Bytes().begin() + f.offset,
                                img.Bytes().begin() + f.offset + f.size);
        EXPECT_EQ(stored, Utf16Le(c.stored));
        EXPECT_EQ(ConvertDirectoryName(stored.data(), stored.size()), c.converted);
    }
}

TEST(MtfWriter, UtfEightNamesAreStoredAsUtf16) {
    ImageBuilder img;
    img.File("caf\xC3\xA9.txt");
    const NameField f = Field(img.Bytes(), img.Last(), kFileNameField);
    EXPECT_EQ(TakeName(At(img.Bytes(), f.offset), f.size), u"caf\u00e9.txt");
}

// Padding counts from the block start, not from the image start, so an odd block position must not
// shift the stream headers.
TEST(MtfWriter, StreamsArePaddedToFourFromTheBlockStart) {
    for (uint64_t length = 0; length <= 5; ++length) {
        SCOPED_TRACE(length);
        ImageBuilder img;
        img.Raw(ByteVector(3, 0xEE))
            .File(u"f", {Stan(ByteVector(length, 'd')), StreamOf("XY12", BytesOf("z"))},
                  {.packed = true});
        const BlockInfo& file = img.Last();
        ASSERT_EQ(file.offset, 3u);
        ASSERT_EQ(file.streams.size(), 2u);
        const uint64_t expected = RoundUp4(file.firstStreamOffset + 22 + length);
        EXPECT_EQ(file.streams[1].headerOffset - file.offset, expected);
        EXPECT_EQ(std::string(img.Bytes().begin() + file.offset + expected,
                              img.Bytes().begin() + file.offset + expected + 4),
                  "XY12");
        for (uint64_t p = file.streams[0].dataOffset + length; p < file.streams[1].headerOffset;
             ++p)
            EXPECT_EQ(img.Bytes()[p], 0);
    }
}

TEST(MtfWriter, CpadIsFollowedDirectlyByTheNextHeader) {
    ImageBuilder img;
    img.Cfil({Cpad(3), Stan("abc")}, {.firstStreamOffset = 92});
    const BlockInfo& cfil = img.Last();
    EXPECT_EQ(cfil.streams[0].headerOffset, 92u);
    EXPECT_EQ(cfil.streams[1].headerOffset, 92u + 22 + 3);
    EXPECT_EQ(FindStreamType(At(img.Bytes(), 92)), kStreamCpad);
    EXPECT_EQ(FindStreamType(At(img.Bytes(), 117)), kStreamStan);
}

// Walking the stream chain of each block must land exactly on the next block, as in a real image.
TEST(MtfWriter, BlocksAreAlignedAndGapsAreSpadStreams) {
    ImageBuilder img;
    img.Sset(1, u"s").File(u"a", Stan(ByteVector(1500, 'a'))).File(u"b", Stan("b")).Eset();
    const ByteVector& b = img.Bytes();
    const auto& blocks = img.Blocks();
    ASSERT_EQ(blocks.size(), 4u);
    EXPECT_EQ(blocks[1].offset, 1024u);
    EXPECT_EQ(blocks[2].offset, 3072u);
    EXPECT_EQ(blocks[3].offset, 4096u);
    for (size_t i = 0; i + 1 < blocks.size(); ++i) {
        SCOPED_TRACE(i);
        uint64_t p = blocks[i].offset + blocks[i].firstStreamOffset;
        while (p < blocks[i + 1].offset) {
            ASSERT_GE(FindStreamType(At(b, p)), 0) << "at " << p;
            p = blocks[i].offset + RoundUp4(p - blocks[i].offset + 22 + ReadLE64(At(b, p + 8)));
        }
        EXPECT_EQ(p, blocks[i + 1].offset);
        EXPECT_EQ(blocks[i].streams.back().id, "SPAD");
        EXPECT_EQ(blocks[i].end, blocks[i + 1].offset);
    }
}

TEST(MtfWriter, GapTooSmallForAStreamHeaderGrowsByOneLogicalBlock) {
    ImageBuilder img;
    // Streams from 0x84 with 22 + 862 bytes end 8 bytes before 1024.
    img.File(u"a", Stan(ByteVector(1024 - 8 - 0x84 - 22, 'x'))).Eset();
    EXPECT_EQ(img.Blocks()[0].streams.back().id, "SPAD");
    EXPECT_EQ(img.LastBlockOffset(), 2048u);
}

TEST(MtfWriter, ZeroFilledGapsAndUnalignedPlacement) {
    ImageBuilder img;
    img.FillGapsWithZeros().File(u"a", Stan("a")).Espb({}, {.packed = true});
    const uint64_t espb = img.LastBlockOffset();
    EXPECT_EQ(espb, img.Blocks()[0].end);
    img.Eset({}, {.at = 5000});
    EXPECT_EQ(img.LastBlockOffset(), 5000u);
    img.Eotm();
    EXPECT_EQ(img.LastBlockOffset(), 6144u);
    for (uint64_t p = img.Blocks()[2].end; p < 6144; ++p) EXPECT_EQ(img.Bytes()[p], 0);
}

TEST(MtfWriter, OverridesProduceTheRequestedInvalidFields) {
    ImageBuilder img;
    img.File(u"x", Stan("data").Length(2'000'000).Continue(),
             {.firstStreamOffset = 1500, .osVersion = 33, .name = {.size = 600, .offset = 0}});
    const ByteVector& b = img.Bytes();
    EXPECT_EQ(FindBlockType(At(b, 0)), kBlockFile);  // the name bytes did not land on the tag
    EXPECT_EQ(b[kBlockOsVersion], 33);
    const NameField f = Field(b, img.Last(), kFileNameField);
    EXPECT_EQ(f.size, 600);
    EXPECT_EQ(f.offset, 0);
    EXPECT_EQ(img.LastDataOffset(), 1522u);
    EXPECT_EQ(ReadLE64(At(b, 1500 + kStreamLength)), 2'000'000u);
    EXPECT_EQ(ReadLE16(At(b, 1500 + kStreamMediaAttributes)) & kStreamContinue, kStreamContinue);
    EXPECT_EQ(std::string(b.begin() + 1522, b.begin() + 1526), "data");

    ImageBuilder raw;
    raw.Volb(u"C:", {.name = {.offset = 1000, .raw = Utf16Le(u"D:")}})
        .Tape(u"", {.name = {.size = 0, .offset = 0}});
    const NameField v = Field(raw.Bytes(), raw.Blocks()[0], kVolbDeviceNameField);
    EXPECT_EQ(v.offset, 1000);
    EXPECT_EQ(TakeName(At(raw.Bytes(), 1000), v.size), u"D:");
    EXPECT_EQ(raw.Blocks()[0].firstStreamOffset, 1004);
}

TEST(MtfWriter, DamageHelpers) {
    ImageBuilder img;
    img.File(u"a", Stan("a")).File(u"b", Stan("b")).Eset();
    ByteVector b = img.Bytes();
    const BlockInfo second = img.Blocks()[1];

    ByteVector cut = b;
    CutOut(cut, second);
    EXPECT_EQ(cut.size(), b.size() - 1024);
    EXPECT_EQ(FindBlockType(At(cut, 1024)), kBlockEset);

    ByteVector flipped = b;
    FlipBytes(flipped, 1024, 1);
    EXPECT_EQ(FindBlockType(At(flipped, 1024)), -2);

    ByteVector renamed = b;
    Overwrite(renamed, 1024, "FILX");
    EXPECT_EQ(FindBlockType(At(renamed, 1024)), -1);

    ZeroRange(b, 1024, 4);
    EXPECT_EQ(FindBlockType(At(b, 1024)), -2);
    Truncate(b, 100);
    EXPECT_EQ(b.size(), 100u);
    EXPECT_THROW(ZeroRange(b, 90, 20), std::out_of_range);

    EXPECT_EQ(RandomBytes(64, 1), RandomBytes(64, 1));
    EXPECT_NE(RandomBytes(64, 1), RandomBytes(64, 2));
}

TEST(MtfWriter, TempFilesHoldTheImageAndAreRemoved) {
    ImageBuilder img;
    img.Tape(u"m").File(u"f", Stan("abc"));
    std::filesystem::path imagePath, dirPath;
    {
        TempImage image(img);
        TempImage other(img.Bytes());
        TempDir dir;
        imagePath = image.Path();
        dirPath = dir.Path();
        EXPECT_NE(image.Path(), other.Path());
        EXPECT_EQ(ReadFile(image.Path()), img.Bytes());
        EXPECT_EQ(ReadFile(dir.Write("part2.bkf", {1, 2})), ByteVector({1, 2}));
    }
    EXPECT_FALSE(std::filesystem::exists(imagePath));
    EXPECT_FALSE(std::filesystem::exists(dirPath));
}

// A streamed image must be byte for byte the one built in memory, with the same offsets.
TEST(MtfWriter, StreamingWriterMatchesInMemoryImage) {
    auto build = [](ImageBuilder& img) {
        img.Tape(u"m").Sset(1, u"s").Volb(u"C:");
        for (int i = 0; i < 20; ++i) img.File(u"f", StanFill(3000 + i, uint8_t(i)));
        img.File(u"big", StanFill(3 << 20, 0x5A));  // crosses flushes mid-stream
        img.Eset();
    };
    ImageBuilder memory;
    build(memory);
    TempDir dir;
    const std::filesystem::path path = dir.Path() / "big.bkf";
    size_t blocksKept = 0;
    {
        StreamingImageWriter streamed(path, 4096);
        build(streamed);
        EXPECT_LT(streamed.Bytes().size(), memory.Bytes().size());
        EXPECT_EQ(streamed.LastBlockOffset(), memory.LastBlockOffset());
        blocksKept = streamed.Blocks().size();
        EXPECT_EQ(streamed.Finish(), memory.Size());
    }
    EXPECT_LT(blocksKept, memory.Blocks().size());  // flushed blocks are forgotten
    EXPECT_EQ(ReadFile(path), memory.Bytes());
}

}  // namespace
}  // namespace kelvara::testing
