#include "extract/segmented_source.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "tests/support/mtf_writer.h"

namespace kelvara {
namespace {

using testing::ByteVector;
using testing::TempImage;

// A source whose byte at offset i is i % 251, so every delivered byte shows where it came from.
ByteVector Numbered(size_t size) {
    ByteVector bytes(size);
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(i % 251);
    return bytes;
}

size_t OpenDescriptors() {
    size_t n = 0;
    for ([[maybe_unused]] auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) ++n;
    return n;
}

class ReadExtentsTest : public ::testing::Test {
protected:
    ReadExtentsTest() : m_file(Numbered(1000)) { EXPECT_TRUE(m_image.Open(m_file.Path())); }

    // Lengths 10, 5 and 10 at offsets 100, 200 and 300 of source 0.
    void UseThreeExtents() {
        m_lists.Sources().Append(m_image);
        m_lists.Extents() = {{100, 10, 0}, {200, 5, 0}, {300, 10, 0}};
    }

    TempImage m_file;
    ImageFile m_image;
    SegmentedSource m_lists;
};

TEST_F(ReadExtentsTest, ReadSpanningExtentsTakesEachPieceFromItsOwnOffset) {
    UseThreeExtents();
    uint8_t buffer[12] = {};
    uint64_t position = 8;
    EXPECT_EQ(m_lists.ReadExtents(buffer, 12, position), 12u);
    EXPECT_EQ(position, 20u);
    const uint8_t expected[12] = {108, 109,       200,       201,       202,       203,
                                  204, 300 % 251, 301 % 251, 302 % 251, 303 % 251, 304 % 251};
    EXPECT_EQ(0, std::memcmp(buffer, expected, 12));
}

TEST_F(ReadExtentsTest, EndOfStreamDeliversWhatRemainsThenNothing) {
    UseThreeExtents();
    uint8_t buffer[100] = {};
    uint64_t position = 20;
    EXPECT_EQ(m_lists.ReadExtents(buffer, 100, position), 5u);
    EXPECT_EQ(position, 25u);
    EXPECT_EQ(m_lists.ReadExtents(buffer, 100, position), 0u);
    EXPECT_EQ(position, 25u);
    position = 1000;
    EXPECT_EQ(m_lists.ReadExtents(buffer, 1, position), 0u);
    EXPECT_EQ(position, 1000u);
}

TEST_F(ReadExtentsTest, PositionAtACumulativeEndBelongsToTheNextExtent) {
    UseThreeExtents();
    uint8_t b = 0;
    uint64_t position = 15;
    EXPECT_EQ(m_lists.ReadExtents(&b, 1, position), 1u);
    EXPECT_EQ(b, 300 % 251);
}

TEST_F(ReadExtentsTest, EmptyExtentIsSkippedWithoutEndingTheRead) {
    m_lists.Sources().Append(m_image);
    m_lists.Extents() = {{0, 0, 0}, {10, 3, 0}, {500, 0, 0}, {20, 3, 0}};
    uint8_t buffer[6] = {};
    uint64_t position = 0;
    EXPECT_EQ(m_lists.ReadExtents(buffer, 6, position), 6u);
    const uint8_t expected[6] = {10, 11, 12, 20, 21, 22};
    EXPECT_EQ(0, std::memcmp(buffer, expected, 6));
}

TEST_F(ReadExtentsTest, ShortSourceStillCountsTheMissingBytesAndLeavesTheCallersZeros) {
    m_lists.Sources().Append(m_image);
    m_lists.Extents() = {{990, 13, 0}, {0, 2, 0}};  // the file ends 3 bytes before the extent does
    uint8_t buffer[15] = {};
    uint64_t position = 0;
    EXPECT_EQ(m_lists.ReadExtents(buffer, 15, position), 15u);
    EXPECT_EQ(position, 15u);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(buffer[i], (990 + i) % 251);
    for (int i = 10; i < 13; ++i) EXPECT_EQ(buffer[i], 0);
    EXPECT_EQ(buffer[13], 0);
    EXPECT_EQ(buffer[14], 1);
}

TEST_F(ReadExtentsTest, EmptyListReadsNothing) {
    m_lists.Sources().Append(m_image);
    uint8_t b = 0;
    uint64_t position = 0;
    EXPECT_EQ(m_lists.ReadExtents(&b, 1, position), 0u);
    EXPECT_EQ(position, 0u);
}

TEST_F(ReadExtentsTest, MissingSourceEndsTheCallKeepingEarlierPieces) {
    m_lists.Sources().Append(m_image);
    m_lists.Extents() = {{50, 4, 0}, {60, 4, 7}};
    uint8_t buffer[8] = {};
    uint64_t position = 0;
    EXPECT_EQ(m_lists.ReadExtents(buffer, 8, position), 0u);
    EXPECT_EQ(position, 4u);
    EXPECT_EQ(buffer[0], 50);
    EXPECT_EQ(buffer[3], 53);
}

TEST_F(ReadExtentsTest, HostileOffsetsAndLengthsNeitherWrapNorCrash) {
    m_lists.Sources().Append(m_image);
    m_lists.Extents() = {{UINT64_MAX - 2, UINT64_MAX, 0}, {0, 10, 0}};
    EXPECT_EQ(m_lists.TotalLength(), UINT64_MAX);
    uint8_t buffer[8] = {};
    uint64_t position = 0;
    EXPECT_EQ(m_lists.ReadExtents(buffer, 8, position), 8u);
    EXPECT_EQ(position, 8u);
    EXPECT_EQ(ByteVector(buffer, buffer + 8), ByteVector(8, 0));
}

TEST(SourceFileListTest, BorrowedFirstFileSurvivesClearingAndOwnedFilesAreClosed) {
    TempImage file(ByteVector(16, 7));
    ImageFile scanned;
    ASSERT_TRUE(scanned.Open(file.Path()));
    SourceFileList list;
    EXPECT_TRUE(list.Append(scanned));
    auto owned = std::make_unique<ImageFile>();
    ASSERT_TRUE(owned->Open(file.Path()));
    EXPECT_TRUE(list.Append(std::move(owned)));
    EXPECT_EQ(list.Count(), 2u);
    EXPECT_EQ(list.At(0), &scanned);
    EXPECT_EQ(list.At(2), nullptr);
    const size_t openBefore = OpenDescriptors();
    list.Clear();
    EXPECT_EQ(list.Count(), 0u);
    EXPECT_TRUE(scanned.IsOpen());
    EXPECT_EQ(OpenDescriptors(), openBefore - 1);
}

TEST(SourceFileListTest, A257thFileIsRefused) {
    TempImage file(ByteVector(16, 7));
    ImageFile scanned;
    ASSERT_TRUE(scanned.Open(file.Path()));
    SourceFileList list;
    for (size_t i = 0; i < SourceFileList::kMaxFiles; ++i) ASSERT_TRUE(list.Append(scanned));
    EXPECT_FALSE(list.Append(scanned));
    auto owned = std::make_unique<ImageFile>();
    ASSERT_TRUE(owned->Open(file.Path()));
    EXPECT_FALSE(list.Append(std::move(owned)));
    EXPECT_EQ(list.Count(), 256u);
}

TEST(ReadRecoverableTest, ZeroFillsPastTheEndOfTheFile) {
    TempImage file(Numbered(100));
    ImageFile image;
    ASSERT_TRUE(image.Open(file.Path()));
    ByteVector buffer(50, 0xEE);
    ReadRecoverable(image, 90, buffer.data(), buffer.size());
    for (int i = 0; i < 10; ++i) EXPECT_EQ(buffer[i], 90 + i);
    for (size_t i = 10; i < buffer.size(); ++i) EXPECT_EQ(buffer[i], 0) << i;
    std::fill(buffer.begin(), buffer.end(), 0xEE);
    ReadRecoverable(image, UINT64_MAX - 10, buffer.data(), buffer.size());
    EXPECT_EQ(buffer, ByteVector(50, 0));
}

}  // namespace
}  // namespace kelvara
