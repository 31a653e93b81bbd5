#include "extract/reassembly.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "engine/mtf.h"
#include "extract/extract_texts.h"
#include "tests/extract/extract_fixture.h"
#include "tests/support/lzs_encoder.h"

namespace kelvara {
namespace {

using namespace kelvara::testing;

const std::string kSplitQuestion = "split: " + Utf16ToUtf8(extract_texts::kSplitSetQuestion);
const std::string kNoNextFile = "info: " + Utf16ToUtf8(extract_texts::kNoNextFileSelected);

void PutStreamHeader(ByteVector& image, uint64_t at, std::string_view id, uint64_t length) {
    ZeroRange(image, at, kStreamHeaderSize);
    Overwrite(image, at, id);
    PutLE64(image, at + 8, length);
}

ByteVector Slice(const ByteVector& bytes, uint64_t from, uint64_t to) {
    return ByteVector(bytes.begin() + from, bytes.begin() + to);
}

class ReassemblyTest : public ::testing::Test {
protected:
    // Opens an image for the test's lifetime.
    const ImageFile& Open(const ByteVector& bytes) {
        m_files.push_back(std::make_unique<TempImage>(bytes));
        return OpenPath(m_files.back()->Path());
    }
    const ImageFile& OpenPath(const std::filesystem::path& path) {
        m_images.push_back(std::make_unique<ImageFile>());
        EXPECT_TRUE(m_images.back()->Open(path));
        return *m_images.back();
    }
    std::string Keep(const ByteVector& bytes) {
        m_files.push_back(std::make_unique<TempImage>(bytes));
        return m_files.back()->Path().string();
    }

    CollectResult Collect(const ImageFile& image, const BKFFILEREC& record,
                          ContinuationPolicy policy = ContinuationPolicy::kAsk) {
        return CollectExtents(m_lists, image, record, u"name.dat", policy, &m_prompts, m_busy);
    }
    ByteVector Write() {
        auto path = m_out.Path() / "out.bin";
        OutputFile output;
        EXPECT_TRUE(output.Create(path.string()));
        EXPECT_TRUE(WriteExtents(m_lists, output, m_busy));
        EXPECT_TRUE(output.Close());
        EXPECT_EQ(m_lists.Sources().Count(), 0u);
        return ReadWholeFile(path);
    }
    ByteVector Extract(const ImageFile& image, const BKFFILEREC& record) {
        EXPECT_EQ(Collect(image, record), CollectResult::kFilled);
        return Write();
    }

    std::atomic<int32_t> m_busy{1};
    SegmentedSource m_lists;
    ScriptedPrompts m_prompts;
    TempDir m_out;
    std::vector<std::unique_ptr<TempImage>> m_files;
    std::vector<std::unique_ptr<ImageFile>> m_images;
};

ImageBuilder& Preamble(ImageBuilder& image) {
    return image.Tape(u"Media").Sset(1, u"Set").Volb(u"C:").Dirb(u"Data");
}

TEST_F(ReassemblyTest, SingleDataStreamIsCopied) {
    ImageBuilder image;
    Preamble(image).File(u"a.txt", Stan("hello world")).Eset();
    const ImageFile& file = Open(image.Bytes());
    EXPECT_EQ(Extract(file, LastFileRecord(image)), BytesOf("hello world"));
    ASSERT_EQ(m_lists.Extents().size(), 1u);
    EXPECT_EQ(m_lists.Extents()[0].nOffset, image.Blocks()[4].streams[0].dataOffset);
    EXPECT_TRUE(m_prompts.shown.empty());
}

TEST_F(ReassemblyTest, FollowingDataStreamsAreJoinedAcrossTheirPadding) {
    for (size_t firstLength : {6u, 7u, 8u, 5u}) {
        ImageBuilder image;
        ByteVector first = RandomBytes(firstLength, 1);
        Preamble(image).File(u"a", {Stan(first), Stan("second"), StreamOf("STAX", BytesOf("3"))});
        image.Eset();
        const ImageFile& file = Open(image.Bytes());
        EXPECT_EQ(Extract(file, LastFileRecord(image)),
                  Concat(Concat(first, BytesOf("second")), BytesOf("3")));
        const auto& streams = image.Blocks()[4].streams;
        ASSERT_EQ(m_lists.Extents().size(), 3u);
        // 22 + 6 is a multiple of 4: the next header follows directly; 22 + 7 is padded by 3.
        const uint64_t padding = (4 - (22 + firstLength) % 4) % 4;
        EXPECT_EQ(padding, firstLength == 6 ? 0u : firstLength == 7 ? 3u : padding);
        EXPECT_EQ(streams[1].headerOffset, streams[0].dataOffset + firstLength + padding);
        EXPECT_EQ(m_lists.Extents()[1].nOffset, streams[1].dataOffset);
    }
}

TEST_F(ReassemblyTest, OtherStreamsEndTheWalk) {
    ImageBuilder image;
    Preamble(image).File(u"a", {Stan("one"), Csum(), Stan("two")}).Eset();
    const ImageFile& file = Open(image.Bytes());
    EXPECT_EQ(Extract(file, LastFileRecord(image)), BytesOf("one"));
}

// A 1 MiB image whose stream at 1,000 claims to run past the end.
ByteVector StreamRunningOffTheEnd(std::string_view idAtTail) {
    ByteVector image = RandomBytes(1'048'576, 3);
    PutStreamHeader(image, 1000, "STAN", 2'000'000);
    PutStreamHeader(image, 1'047'552, idAtTail, 100);
    return image;
}

TEST_F(ReassemblyTest, StreamRunningOffTheEndStopsBeforeTheTailAndLooksThere) {
    ByteVector bytes = StreamRunningOffTheEnd("STAN");
    const ImageFile& file = Open(bytes);
    ByteVector data = Extract(file, DataRecord(1022, 2'000'000));
    ASSERT_EQ(m_lists.Extents().size(), 2u);
    EXPECT_EQ(m_lists.Extents()[0].nLength, 1'046'530u);
    EXPECT_EQ(m_lists.Extents()[1].nOffset, 1'047'574u);
    EXPECT_EQ(m_lists.Extents()[1].nLength, 100u);
    EXPECT_EQ(data, Concat(Slice(bytes, 1022, 1'047'552), Slice(bytes, 1'047'574, 1'047'674)));
}

TEST_F(ReassemblyTest, SoftFilemarkAtTheTailAsksForTheNextFile) {
    ByteVector bytes = StreamRunningOffTheEnd("SFMB");
    const ImageFile& file = Open(bytes);
    const BKFFILEREC record = DataRecord(1022, 2'000'000);

    EXPECT_EQ(Collect(file, record, ContinuationPolicy::kRefuse),
              CollectResult::kRefusedSoftFilemark);
    EXPECT_TRUE(m_prompts.shown.empty());

    // Declined: the data ends 3,072 bytes before the end of the file.
    m_prompts.splitAnswers = {false};
    EXPECT_EQ(Extract(file, record), Slice(bytes, 1022, 1'048'576 - 3072));
    EXPECT_EQ(m_prompts.shown, (std::vector<std::string>{kSplitQuestion, kNoNextFile}));

    // Cancelled dialog: the same.
    m_prompts.shown.clear();
    m_prompts.splitAnswers = {true};
    m_prompts.nextFiles = {""};
    EXPECT_EQ(Extract(file, record).size(), 1'048'576u - 3072 - 1022);
    EXPECT_EQ(m_prompts.shown, (std::vector<std::string>{kSplitQuestion, "dialog", kNoNextFile}));
}

TEST_F(ReassemblyTest, LengthsThatWouldTurnNegativeBecomeZero) {
    // The header lies in the last 1,046 bytes: its own part becomes 0 bytes long, and the walk
    // still looks for the next header at L - 1,024, even though that lies before this stream.
    ByteVector bytes = RandomBytes(4096, 4);
    PutStreamHeader(bytes, 3500, "STAN", 5000);
    PutStreamHeader(bytes, 3072, "STAN", 10);
    const ImageFile& file = Open(bytes);
    EXPECT_EQ(Extract(file, DataRecord(3522, 5000)), Slice(bytes, 3094, 3104));
    ASSERT_EQ(m_lists.Extents().size(), 2u);
    EXPECT_EQ(m_lists.Extents()[0].nLength, 0u);

    // A soft filemark right behind a data stream shorter than the cut.
    ImageBuilder image;
    Preamble(image).File(u"a", {Stan(RandomBytes(100, 5)), StreamOf("SFMB")}).Eset();
    const ImageFile& second = Open(image.Bytes());
    EXPECT_EQ(Extract(second, LastFileRecord(image)), ByteVector());
    EXPECT_EQ(m_lists.Extents()[0].nLength, 0u);

    // A data offset before any stream header could be.
    EXPECT_EQ(Extract(second, DataRecord(5, 100)), ByteVector());
}

TEST_F(ReassemblyTest, HostileStreamLengthsEndTheWalk) {
    ImageBuilder image;
    Preamble(image).File(u"a", {Stan("abcd"), Stan("xy").Length(UINT64_MAX - 5)}).Eset();
    const ImageFile& file = Open(image.Bytes());
    ByteVector data = Extract(file, LastFileRecord(image));
    ASSERT_EQ(m_lists.Extents().size(), 2u);
    const DataExtent& walked = m_lists.Extents()[1];
    // The walked stream keeps only what the file holds.
    EXPECT_EQ(walked.nOffset + walked.nLength, image.Size());
    EXPECT_EQ(data, Concat(BytesOf("abcd"), Slice(image.Bytes(), walked.nOffset, image.Size())));

    // A first stream claiming the whole address space falls under the tail rule.
    ByteVector bytes = RandomBytes(8192, 6);
    PutStreamHeader(bytes, 1024, "STAN", UINT64_MAX);
    const ImageFile& second = Open(bytes);
    EXPECT_EQ(Extract(second, DataRecord(1046, UINT64_MAX)).size(), 8192u - 1024 - 1046);
}

// A following stream that the end of a truncated image cuts short keeps its length: the missing
// bytes come out as zeros, so the recovered file keeps its size.
TEST_F(ReassemblyTest, TruncatedFollowingStreamIsPaddedWithZeros) {
    ImageBuilder image;
    Preamble(image).File(u"a", {Stan("abcd"), Stan(RandomBytes(3000, 9))});
    ByteVector bytes = image.Bytes();
    const uint64_t second = image.Last().streams[1].dataOffset;
    Truncate(bytes, second + 1000);
    const ImageFile& file = Open(bytes);
    ByteVector expected = Concat(BytesOf("abcd"), Slice(bytes, second, second + 1000));
    expected.resize(4 + 3000, 0);
    EXPECT_EQ(Extract(file, LastFileRecord(image)), expected);
}

TEST_F(ReassemblyTest, StreamBegunInAnEarlierFile) {
    ImageBuilder image;
    Preamble(image).File(u"a", Stan("abc").Continue()).Eset();
    const ImageFile& file = Open(image.Bytes());
    const BKFFILEREC record = LastFileRecord(image);
    const std::string question =
        "continued: name.dat" + Utf16ToUtf8(extract_texts::kContinuedStreamQuestion);

    EXPECT_EQ(Collect(file, record), CollectResult::kDeclined);
    EXPECT_EQ(m_prompts.shown, std::vector<std::string>{question});
    EXPECT_EQ(m_prompts.lastFileName, u"name.dat");

    m_prompts.continuedAnswers = {true};
    EXPECT_EQ(Extract(file, record), BytesOf("abc"));

    m_prompts.shown.clear();
    EXPECT_EQ(Collect(file, record, ContinuationPolicy::kRefuse),
              CollectResult::kRefusedContinuedStream);
    EXPECT_TRUE(m_prompts.shown.empty());
}

// One file of a split set: a FILE block at `fileAt` whose data stream (after NTOI and a CPAD that
// suppresses the padding) runs off the end where a soft filemark sits, or ends normally.
void SplitPart(ImageBuilder& image, uint64_t fileAt, const ByteVector& data, bool continues) {
    BlockOptions at;
    at.at = fileAt;
    Stream stan = Stan(data);
    if (continues) stan.Length(1ull << 30);
    image.File(u"big", {Ntoi(), Cpad(3), stan}, at);
    if (continues) {
        image.Sfmb().AlignTo(1024);
    } else {
        image.Eset();
    }
}

// The part of a file's data that lies in a split part that continues.
ByteVector KeptPart(const ImageBuilder& part) {
    uint64_t start = part.Blocks()[0].FirstStan()->dataOffset;
    return Slice(part.Bytes(), start, part.Size() - 3072);
}

TEST_F(ReassemblyTest, SplitSetContinuesBehindTheFirstDataHeaderOfTheNextFile) {
    ImageBuilder first, second, third;
    SplitPart(first, 0, RandomBytes(10'000, 7), true);
    SplitPart(second, 3072, RandomBytes(9'000, 8), true);
    SplitPart(third, 1024, BytesOf("the end"), false);
    const ImageFile& file = Open(first.Bytes());
    m_prompts.splitAnswers = {true, true};
    m_prompts.nextFiles = {Keep(second.Bytes()), Keep(third.Bytes())};

    ASSERT_EQ(Collect(file, LastFileRecord(first)), CollectResult::kFilled);
    ASSERT_EQ(m_lists.Extents().size(), 3u);
    EXPECT_EQ(m_lists.Extents()[1].nSource, 1);
    EXPECT_EQ(m_lists.Extents()[1].nOffset, second.Blocks()[0].FirstStan()->dataOffset);
    EXPECT_EQ(m_lists.Extents()[2].nSource, 2);
    EXPECT_EQ(Write(), Concat(Concat(KeptPart(first), KeptPart(second)), BytesOf("the end")));
    EXPECT_EQ(m_prompts.shown,
              (std::vector<std::string>{kSplitQuestion, "dialog", kSplitQuestion, "dialog"}));
}

TEST_F(ReassemblyTest, UnusableNextFilesLeadBackToTheQuestion) {
    ImageBuilder first, last;
    SplitPart(first, 0, RandomBytes(10'000, 7), true);
    SplitPart(last, 2048, BytesOf("rest"), false);
    const ImageFile& file = Open(first.Bytes());
    m_prompts.splitAnswers = {true, true, true};
    m_prompts.nextFiles = {(m_out.Path() / "missing.bkf").string(), Keep(RandomBytes(5000, 9)),
                           Keep(last.Bytes())};

    ASSERT_EQ(Collect(file, LastFileRecord(first)), CollectResult::kFilled);
    EXPECT_EQ(m_prompts.shown.size(), 6u);
    // The file without a FILE block stays in the list until it is emptied.
    EXPECT_EQ(m_lists.Sources().Count(), 3u);
    EXPECT_EQ(m_lists.Extents().back().nSource, 2);
    EXPECT_EQ(Write(), Concat(KeptPart(first), BytesOf("rest")));
}

TEST_F(ReassemblyTest, ClearedBusyFlagStopsWalkingAndWriting) {
    ImageBuilder image;
    Preamble(image).File(u"a", {Stan("one"), Stan("two")}).Eset();
    const ImageFile& file = Open(image.Bytes());
    m_busy = 0;
    EXPECT_EQ(Collect(file, LastFileRecord(image)), CollectResult::kFilled);
    EXPECT_EQ(m_lists.Extents().size(), 1u);
    EXPECT_EQ(Write(), ByteVector());
}

TEST_F(ReassemblyTest, LargePlainDataIsCopiedWhole) {
    ByteVector data = RandomBytes(2'621'440, 10);
    ImageBuilder image;
    Preamble(image).File(u"big", Stan(data)).Eset();
    const ImageFile& file = Open(image.Bytes());
    EXPECT_EQ(Extract(file, LastFileRecord(image)), data);
}

// 'a' and 'b' without an end marker: three bytes.
ByteVector TwoLiterals() {
    LzsTokenWriter w;
    w.Literal('a');
    w.Literal('b');
    return w.Finish();
}

TEST_F(ReassemblyTest, CompressionFramesAreDecodedOrCopied) {
    const ByteVector stored = RandomBytes(30, 12);
    const struct {
        const char* what;
        ByteVector stream;
        ByteVector expected;
    } cases[] = {
        {"stored frame", MakeFrame(stored, 30), stored},
        {"compressed frame", MakeFrame(ByteVector{0x20, 0xE0, 0x73, 0x00}, 6), ByteVector(6, 0x41)},
        {"compressed then stored",
         Concat(MakeFrame(ByteVector{0x20, 0xE0, 0x73, 0x00}, 6), MakeFrame(stored, 30)),
         Concat(ByteVector(6, 0x41), stored)},
        {"frame too large for the input buffer ends the data",
         Concat(MakeFrame(stored, 30), MakeFrameHeader(63'489, 63'489)), stored},
        {"frame decoding too far ends the data",
         Concat(MakeFrame(stored, 30), MakeFrame(ByteVector{0x20, 0xE0, 0x73, 0x00}, 63'521)),
         stored},
        {"a header that is not FH ends the data",
         Concat(MakeFrame(stored, 30), BytesOf("XH garbage")), stored},
        {"a frame cut short decodes the missing bytes as zeros",
         Concat(MakeFrameHeader(10, 6), TwoLiterals()), ByteVector{'a', 'b', 0, 0, 0}},
    };
    for (const auto& c : cases) {
        ImageBuilder image;
        Preamble(image).File(u"z", Stan(c.stream)).Eset();
        const ImageFile& file = Open(image.Bytes());
        EXPECT_EQ(Extract(file, LastFileRecord(image)), c.expected) << c.what;
    }
}

TEST_F(ReassemblyTest, FramesContinueAcrossDataStreams) {
    std::string text;
    for (int i = 0; text.size() < 150'000; ++i)
        text += "row " + std::to_string(i % 977) + " of the table\n";
    const ByteVector data = BytesOf(text);
    const ByteVector frames = MakeCompressedStream(data, 60'000);
    // Split inside the second frame's header.
    const uint32_t firstFrame = 24 + ReadLE32(frames.data() + 16);
    const size_t cut = firstFrame + 10;
    ImageBuilder image;
    Preamble(image).File(u"t",
                         {Stan(Slice(frames, 0, cut)), Stan(Slice(frames, cut, frames.size()))});
    image.Eset();
    const ImageFile& file = Open(image.Bytes());
    EXPECT_EQ(Extract(file, LastFileRecord(image)), data);
}

TEST_F(ReassemblyTest, WriteErrorsAreReportedWithTheirReason) {
    ImageBuilder image;
    Preamble(image).File(u"a", Stan(RandomBytes(5000, 13))).Eset();
    const ImageFile& file = Open(image.Bytes());
    ASSERT_EQ(Collect(file, LastFileRecord(image)), CollectResult::kFilled);
    OutputFile full;
    ASSERT_TRUE(full.Create("/dev/full"));
    IoStatus status = WriteExtents(m_lists, full, m_busy);
    EXPECT_FALSE(status.ok);
    EXPECT_EQ(status.reason, std::strerror(ENOSPC));
    EXPECT_EQ(m_lists.Sources().Count(), 0u);
}

}  // namespace
}  // namespace kelvara
