#include "extract/reassembly.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "engine/mtf.h"
#include "extract/extract_texts.h"
#include "extract/lzs_decoder.h"

namespace kelvara {

namespace {

constexpr size_t kFrameHeaderSize = 24;
constexpr size_t kFrameUncompressedSize = 12;
constexpr size_t kFrameCompressedSize = 16;
constexpr size_t kFileSearchChunk = 1'048'576;  // a multiple of kFileSearchStep

bool IsBusy(const std::atomic<int32_t>& busy) {
    return busy.load(std::memory_order_relaxed) != 0;
}

class Collector {
public:
    Collector(SegmentedSource& lists, ContinuationPolicy policy, IExtractionPrompts* prompts,
              const std::atomic<int32_t>& busy)
        : m_lists(lists),
          m_prompts(policy == ContinuationPolicy::kAsk ? prompts : nullptr),
          m_refuse(policy == ContinuationPolicy::kRefuse),
          m_busy(busy) {}

    CollectResult Run(const ImageFile& image, const BKFFILEREC& record, std::u16string_view name);

private:
    const ImageFile& Source() const { return *m_lists.Sources().At(m_source); }
    void ReadHeader(uint64_t position) {
        std::memset(m_header, 0, sizeof m_header);
        Source().ReadZeroFilled(position, m_header, sizeof m_header);
    }
    uint64_t StreamLength() const { return ReadLE64(m_header + kStreamLength); }
    bool HeaderIsData() const { return std::memcmp(m_header, "STA", 3) == 0; }
    bool HeaderIsSoftFilemark() const { return std::memcmp(m_header, "SFMB", 4) == 0; }
    bool Continued() const {
        return (ReadLE16(m_header + kStreamMediaAttributes) & kStreamContinue) != 0;
    }

    // A stream cut short by the end of its file keeps its length (the missing bytes come out as
    // zeros, so the file keeps its size), but one that claims more than the whole file is damage:
    // it keeps only what the file holds instead of becoming an endless run of zeros.
    void AppendWalkedExtent(uint64_t offset, uint64_t length) {
        if (length > m_length) length = offset < m_length ? m_length - offset : 0;
        m_lists.Extents().push_back({offset, length, static_cast<uint8_t>(m_source)});
    }
    void TailRuleAndWalk(uint64_t headerPosition);
    void Walk(uint64_t position, bool jumpToTail);
    // The next file of a split set, or false when the data ends here.
    bool OpenNextFile(uint64_t& blockPosition, uint8_t* block);
    bool FindFirstFileBlock(uint64_t& blockPosition);
    void Continue(uint64_t blockPosition, const uint8_t* block);

    SegmentedSource& m_lists;
    IExtractionPrompts* m_prompts;
    bool m_refuse;
    const std::atomic<int32_t>& m_busy;
    size_t m_source = 0;
    uint64_t m_length = 0;  // of the current source
    uint8_t m_header[kStreamHeaderSize] = {};
};

CollectResult Collector::Run(const ImageFile& image, const BKFFILEREC& record,
                             std::u16string_view name) {
    m_lists.Clear();
    m_lists.Sources().Append(image);
    m_source = 0;
    m_length = image.Length();

    const uint64_t dataOffset = record.nDataOffset;
    const uint64_t headerPosition = dataOffset - kStreamHeaderSize;  // wraps beyond any file
    if (dataOffset >= kStreamHeaderSize) {
        ReadHeader(headerPosition);
    }
    m_lists.Extents().push_back({dataOffset, record.nDataSize, 0});

    if (Continued()) {
        if (m_refuse) return CollectResult::kRefusedContinuedStream;
        std::u16string text(name);
        text += extract_texts::kContinuedStreamQuestion;
        if (m_prompts == nullptr || !m_prompts->AskRecoverContinuedStream(name, text)) {
            return CollectResult::kDeclined;
        }
    }

    TailRuleAndWalk(headerPosition);

    // Each soft filemark cuts the data once, however often the user is asked for the next file.
    while (HeaderIsSoftFilemark() && IsBusy(m_busy)) {
        DataExtent& last = m_lists.Extents().back();
        last.nLength = last.nLength > kSoftFilemarkCut ? last.nLength - kSoftFilemarkCut : 0;
        if (m_refuse) return CollectResult::kRefusedSoftFilemark;
        uint64_t blockPosition = 0;
        uint8_t block[kFileSearchWindow];
        if (!OpenNextFile(blockPosition, block)) break;
        Continue(blockPosition, block);
    }
    return CollectResult::kFilled;
}

void Collector::TailRuleAndWalk(uint64_t headerPosition) {
    const uint64_t p = headerPosition;
    const bool runsPastEnd = p >= m_length || StreamLength() >= m_length - p;
    if (runsPastEnd) {
        // The data ends 1,024 bytes before the end of the file; a stream header there (the next
        // stream or a soft filemark) is looked for next.
        DataExtent& last = m_lists.Extents().back();
        last.nLength =
            (p < m_length && m_length - p >= kTailReserve) ? m_length - p - kTailReserve : 0;
    }
    Walk(p, runsPastEnd);
}

void Collector::Walk(uint64_t position, bool jumpToTail) {
    bool first = true;
    while (HeaderIsData() && IsBusy(m_busy)) {
        uint64_t next;
        if (first && jumpToTail) {
            constexpr uint64_t kTailHeader = kTailReserve - kStreamHeaderSize;
            if (m_length < kTailHeader) break;
            next = RoundUp4(m_length - kTailHeader);
        } else {
            uint64_t length = StreamLength();
            if (position > UINT64_MAX - kStreamHeaderSize ||
                length > UINT64_MAX - kStreamHeaderSize - position) {
                break;
            }
            next = position + kStreamHeaderSize + length;
            if (next > UINT64_MAX - 3) break;
            next = RoundUp4(next);
        }
        // A step that would wrap around or not move forward ends the walk; only the jump of the
        // tail rule may go back (to L - 1,024, from a header in the file's last 1,024 bytes), and
        // it happens once.
        if (next <= position && !(first && jumpToTail)) break;
        first = false;
        position = next;
        ReadHeader(position);
        if (HeaderIsData() && position <= UINT64_MAX - kStreamHeaderSize) {
            AppendWalkedExtent(position + kStreamHeaderSize, StreamLength());
        }
    }
}

bool Collector::OpenNextFile(uint64_t& blockPosition, uint8_t* block) {
    for (;;) {
        if (m_prompts == nullptr ||
            !m_prompts->AskContinueInNextFile(extract_texts::kSplitSetQuestion)) {
            if (m_prompts != nullptr)
                m_prompts->ShowInformation(extract_texts::kNoNextFileSelected);
            return false;
        }
        std::string path = m_prompts->ChooseNextBkfFile();
        if (path.empty()) {
            m_prompts->ShowInformation(extract_texts::kNoNextFileSelected);
            return false;
        }
        auto file = std::make_unique<ImageFile>();
        if (!file->Open(path)) continue;
        // An extent cannot name a 257th file: the data ends here.
        if (!m_lists.Sources().Append(std::move(file))) return false;
        m_source = m_lists.Sources().Count() - 1;
        m_length = Source().Length();
        if (FindFirstFileBlock(blockPosition)) {
            Source().ReadZeroFilled(blockPosition, block, kFileSearchWindow);
            return true;
        }
        if (!IsBusy(m_busy)) return false;
    }
}

bool Collector::FindFirstFileBlock(uint64_t& blockPosition) {
    // Equivalent to reading 2,048 bytes at every multiple of 1,024 and testing the first four,
    // with far fewer reads.
    std::vector<uint8_t> chunk(kFileSearchChunk);
    for (uint64_t at = 0; at < m_length; at += kFileSearchChunk) {
        if (!IsBusy(m_busy)) return false;
        size_t n = static_cast<size_t>(std::min<uint64_t>(kFileSearchChunk, m_length - at));
        Source().ReadZeroFilled(at, chunk.data(), n);
        for (size_t k = 0; k < n; k += kFileSearchStep) {
            if (n - k >= 4 && std::memcmp(chunk.data() + k, "FILE", 4) == 0) {
                blockPosition = at + k;
                return true;
            }
        }
    }
    return false;
}

void Collector::Continue(uint64_t blockPosition, const uint8_t* block) {
    // The streams of the FILE block up to its data stream; CPAD is followed directly by the next
    // header, every other stream is padded to a 4-byte boundary.
    uint64_t q = ReadLE16(block + kBlockFirstStreamOffset);
    while (q < kFileSearchWindow && q + kStreamHeaderSize <= kFileSearchWindow) {
        const uint8_t* header = block + q;
        int type = FindStreamType(header);
        if (type == kStreamStan || type < 0) break;
        uint64_t next = q + kStreamHeaderSize + ReadLE32(header + kStreamLength);
        q = type == kStreamCpad ? next : RoundUp4(next);
    }
    const uint64_t headerPosition = blockPosition + q;
    ReadHeader(headerPosition);
    AppendWalkedExtent(headerPosition + kStreamHeaderSize, StreamLength());
    TailRuleAndWalk(headerPosition);
}

// Restores the shape of the lists whatever way the writing ends.
struct SourceListReset {
    SegmentedSource& lists;
    ~SourceListReset() { lists.Sources().Clear(); }
};

IoStatus WriteCompressed(const SegmentedSource& lists, OutputFile& output,
                         const std::atomic<int32_t>& busy) {
    std::vector<uint8_t> input(kFrameInputCapacity);
    std::vector<uint8_t> decoded(kFrameOutputCapacity);
    uint8_t header[kFrameHeaderSize] = {};
    uint64_t position = 0;
    uint64_t r = lists.ReadExtents(header, sizeof header, position);
    while (header[0] == 'F' && header[1] == 'H' && r > 0 && IsBusy(busy)) {
        const uint32_t uncompressed = ReadLE32(header + kFrameUncompressedSize);
        const uint32_t compressed = ReadLE32(header + kFrameCompressedSize);
        // A frame larger than the buffers is damage: the data ends here.
        if (compressed > kFrameInputCapacity || uncompressed > kFrameOutputCapacity) break;
        std::memset(input.data(), 0, compressed);
        uint64_t k = lists.ReadExtents(input.data(), compressed, position);
        if (compressed < uncompressed) {
            size_t n = DecodeFrame(input.data(), compressed, decoded.data(), uncompressed);
            if (n > 0) {
                if (IoStatus s = output.Write(decoded.data(), n); !s) return s;
            }
        } else if (k > 0) {
            if (IoStatus s = output.Write(input.data(), static_cast<size_t>(k)); !s) return s;
        }
        std::memset(header, 0, sizeof header);
        r = lists.ReadExtents(header, sizeof header, position);
    }
    return {};
}

IoStatus WritePlain(const SegmentedSource& lists, OutputFile& output,
                    const std::atomic<int32_t>& busy) {
    uint64_t largest = 0;
    for (const DataExtent& e : lists.Extents()) largest = std::max(largest, e.nLength);
    const size_t bufferSize = static_cast<size_t>(std::min(largest, kPlainChunk));
    std::unique_ptr<uint8_t[]> buffer(new uint8_t[std::max<size_t>(bufferSize, 1)]);

    for (const DataExtent& extent : lists.Extents()) {
        const ImageFile* source = lists.Sources().At(extent.nSource);
        uint64_t offset = extent.nOffset;
        uint64_t remaining = extent.nLength;
        while (remaining > 0) {
            if (!IsBusy(busy)) return {};
            size_t n = static_cast<size_t>(std::min(remaining, kPlainChunk));
            if (source != nullptr) {
                ReadRecoverable(*source, offset, buffer.get(), n);
            } else {
                std::memset(buffer.get(), 0, n);
            }
            if (IoStatus s = output.Write(buffer.get(), n); !s) return s;
            offset = offset > UINT64_MAX - n ? UINT64_MAX : offset + n;
            remaining -= n;
        }
    }
    return {};
}

}  // namespace

CollectResult CollectExtents(SegmentedSource& lists, const ImageFile& image,
                             const BKFFILEREC& record, std::u16string_view name,
                             ContinuationPolicy policy, IExtractionPrompts* prompts,
                             const std::atomic<int32_t>& busy) {
    return Collector(lists, policy, prompts, busy).Run(image, record, name);
}

IoStatus WriteExtents(SegmentedSource& lists, OutputFile& output,
                      const std::atomic<int32_t>& busy) {
    SourceListReset reset{lists};
    if (lists.Extents().empty()) return {};
    const DataExtent& first = lists.Extents().front();
    uint8_t probe[kFrameHeaderSize] = {};
    if (const ImageFile* source = lists.Sources().At(first.nSource)) {
        ReadRecoverable(*source, first.nOffset, probe, sizeof probe);
    }
    if (probe[0] == 'F' && probe[1] == 'H') return WriteCompressed(lists, output, busy);
    return WritePlain(lists, output, busy);
}

}  // namespace kelvara
