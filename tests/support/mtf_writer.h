#pragma once
// Builds MTF images in memory (or streamed to a file) for tests and benchmarks, so a fixture reads
// like the image it describes:
//
//   ImageBuilder img;
//   img.Tape(u"Media 1").Sset(1, u"Daily").Volb(u"C:").Dirb(u"a\\b").File(u"x.txt", Stan("hi"));
//   img.Eset();
//   TempImage file(img);
//
// Blocks start on 1024-byte boundaries unless told otherwise; the gap before the next block is an
// SPAD stream of the previous block, as real writers leave it. Every field can be overridden to
// build damaged images, and the free functions at the end damage a finished byte vector.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kelvara::testing {

using ByteVector = std::vector<uint8_t>;

// Bytes of a string as they are (no terminator).
ByteVector BytesOf(std::string_view text);
// UTF-16LE bytes of a string, no terminator.
ByteVector Utf16Le(std::u16string_view text);

// A name given either as UTF-16 or as UTF-8.
struct Text {
    std::u16string value;
    Text() = default;
    Text(const char16_t* text) : value(text) {}
    Text(std::u16string text) : value(std::move(text)) {}
    Text(const char* utf8);
    Text(const std::string& utf8);
};

// One data stream of a block: 22-byte header, payload, then zero padding to the next multiple of 4
// counted from the block start.
struct Stream {
    // Declared so that a brace list of block options is never taken for a stream.
    Stream() = default;

    std::string id = "STAN";  // the first four characters are written, zero-filled if shorter
    ByteVector data;
    // A synthetic payload of `fillSize` bytes of `fillByte` after `data`, written in chunks and
    // never held in memory whole (for big benchmark images).
    uint64_t fillSize = 0;
    uint8_t fillByte = 0;
    std::optional<uint64_t> length;  // declared length; default: the payload's real size
    uint16_t fsAttributes = 0;
    uint16_t mediaAttributes = 0;
    uint16_t encryption = 0;
    uint16_t compression = 0;
    uint16_t checksum = 0;
    bool padAfter = true;  // false: the next header follows the payload directly

    uint64_t PayloadSize() const { return data.size() + fillSize; }
    uint64_t DeclaredLength() const { return length.value_or(PayloadSize()); }

    // Modifiers for use on temporaries: Stan("abc").Length(1000).Continue()
    Stream& Length(uint64_t declared) &;
    Stream&& Length(uint64_t declared) &&;
    Stream& Continue() &;  // sets STREAM_CONTINUE
    Stream&& Continue() &&;
    Stream& NoPadding() &;
    Stream&& NoPadding() &&;
};

Stream StreamOf(std::string_view id, ByteVector data = {});
Stream Stan(std::string_view text);
Stream Stan(ByteVector data);
Stream StanFill(uint64_t size, uint8_t byte = 0xA5);
Stream Ntoi(ByteVector data = ByteVector(12, 0));
Stream Nacl(ByteVector data = ByteVector(20, 0));
Stream Csum(ByteVector data = ByteVector(4, 0));
Stream Spad(uint64_t size);
// A CPAD stream is followed directly by the next header (no rounding to 4), as the readers expect.
Stream Cpad(uint64_t size);

// Several streams or one: File(u"x", Stan("a")) and File(u"x", {Ntoi(), Stan("a"), Csum()}).
struct Streams {
    std::vector<Stream> list;
    Streams() = default;
    Streams(Stream one) { list.push_back(std::move(one)); }
    // Not an initializer_list constructor: GCC would let a brace list of block options match that.
    template <typename... More>
    Streams(Stream first, Stream second, More&&... more) {
        list.reserve(2 + sizeof...(more));
        list.push_back(std::move(first));
        list.push_back(std::move(second));
        (list.push_back(Stream(std::forward<More>(more))), ...);
    }
};

// Overrides of one name field. By default the field holds the byte count and the offset where the
// writer put the name bytes.
struct NameOverride {
    std::optional<uint16_t> size;    // value of the size field
    std::optional<uint16_t> offset;  // value of the offset field; the bytes are placed there too
                                     // when it lies past the fixed fields (kNameArea or more)
    std::optional<ByteVector> raw;   // name bytes to write instead of the encoded name
};

struct BlockOptions {
    std::optional<uint16_t> firstStreamOffset;  // default: past the name bytes, rounded up to 4
    uint8_t osVersion = 0x05;
    NameOverride name;                 // the block's (first) name field
    std::optional<Text> softwareName;  // TAPE only: the software name (default empty)
    NameOverride softwareNameField;    // TAPE only
    std::optional<uint64_t> at;        // absolute offset of the block (gap zero-filled)
    bool packed = false;               // right after the previous content, no alignment
};

struct StreamInfo {
    std::string id;
    uint64_t headerOffset = 0;  // absolute
    uint64_t dataOffset = 0;    // absolute, headerOffset + 22
    uint64_t length = 0;        // declared length
    uint64_t payloadSize = 0;   // bytes actually written
};

struct BlockInfo {
    std::string tag;
    uint64_t offset = 0;  // absolute offset of the tag
    uint64_t end = 0;     // absolute offset just past the block's last stream (padding included)
    uint16_t firstStreamOffset = 0;
    std::vector<StreamInfo> streams;  // including the SPAD that fills the gap to the next block

    // The first STAN stream, or nullptr.
    const StreamInfo* FirstStan() const;
};

class ImageBuilder {
public:
    static constexpr uint16_t kNameArea = 0x80;  // where name bytes start by default

    ImageBuilder() = default;
    virtual ~ImageBuilder() = default;
    ImageBuilder(const ImageBuilder&) = delete;
    ImageBuilder& operator=(const ImageBuilder&) = delete;

    // Layout settings for the blocks that follow.
    ImageBuilder& SetAlignment(uint64_t bytes);  // 1024 by default; 1 disables it
    ImageBuilder& FillGapsWithZeros(bool zeros = true);

    ImageBuilder& Tape(Text mediaName, Streams streams = {}, BlockOptions options = {});
    ImageBuilder& Tape(Text mediaName, BlockOptions options);
    ImageBuilder& Sset(uint16_t number, Text name, Streams streams = {}, BlockOptions options = {});
    ImageBuilder& Sset(uint16_t number, Text name, BlockOptions options);
    ImageBuilder& Volb(Text deviceName, Streams streams = {}, BlockOptions options = {});
    ImageBuilder& Volb(Text deviceName, BlockOptions options);
    // Path components separated by backslashes; "" is the volume root (a single NUL).
    ImageBuilder& Dirb(Text path, Streams streams = {}, BlockOptions options = {});
    ImageBuilder& Dirb(Text path, BlockOptions options);
    ImageBuilder& File(Text name, Streams streams = {}, BlockOptions options = {});
    ImageBuilder& File(Text name, BlockOptions options);
    ImageBuilder& Cfil(Streams streams = {}, BlockOptions options = {});
    ImageBuilder& Sfmb(Streams streams = {}, BlockOptions options = {});
    ImageBuilder& Eset(Streams streams = {}, BlockOptions options = {});
    ImageBuilder& Eotm(Streams streams = {}, BlockOptions options = {});
    ImageBuilder& Espb(Streams streams = {}, BlockOptions options = {});
    // Any tag, no name fields: unknown tags, lowercase tags and the like.
    ImageBuilder& Block(std::string_view tag, Streams streams = {}, BlockOptions options = {});

    // Loose content at the end of the image, unaligned.
    ImageBuilder& Raw(const ByteVector& bytes);
    ImageBuilder& Zeros(uint64_t count);
    ImageBuilder& Garbage(uint64_t count, uint32_t seed);
    ImageBuilder& AlignTo(uint64_t boundary);  // zero-fills up to the next multiple

    // The bytes not yet flushed (all of them unless streaming).
    const ByteVector& Bytes() const { return buffer_; }
    // Absolute size of the image so far, flushed bytes included.
    uint64_t Size() const { return base_ + buffer_.size(); }

    // Blocks in order. After a flush only the last block is kept.
    const std::vector<BlockInfo>& Blocks() const { return blocks_; }
    const BlockInfo& Last() const;
    uint64_t LastBlockOffset() const { return Last().offset; }
    // Absolute offset of the first STAN data of the last block (throws if it has none).
    uint64_t LastDataOffset() const;

    void WriteTo(const std::filesystem::path& path) const;
    // Appends the buffered bytes to `out` and empties the buffer; offsets stay absolute.
    void FlushTo(std::ostream& out);

protected:
    // Flushes to `sink` whenever more than `threshold` bytes are buffered.
    void StreamTo(std::ostream* sink, uint64_t threshold);

private:
    struct NamePlan {
        size_t fieldOffset;
        ByteVector bytes;
        NameOverride override;
    };
    ImageBuilder& AddBlock(std::string_view tag, std::vector<NamePlan> names, Streams streams,
                           const BlockOptions& options, uint16_t setNumber = 0);
    uint64_t PlaceBlock(const BlockOptions& options);
    void EmitStream(uint64_t blockStart, uint64_t& position, const Stream& stream, BlockInfo& info);
    // Writes at an absolute position: overwrites buffered bytes, extends the buffer past its end.
    void Put(uint64_t position, const uint8_t* bytes, size_t count);
    void PutZeros(uint64_t position, uint64_t count);
    void MaybeFlush();

    ByteVector buffer_;
    uint64_t base_ = 0;  // absolute offset of buffer_[0]
    std::vector<BlockInfo> blocks_;
    bool lastWasBlock_ = false;
    uint64_t alignment_ = 1024;
    bool zeroGaps_ = false;
    std::ostream* sink_ = nullptr;
    uint64_t threshold_ = 0;
};

// An ImageBuilder that writes to a file as it goes, for images too big to hold in memory.
class StreamingImageWriter : public ImageBuilder {
public:
    explicit StreamingImageWriter(const std::filesystem::path& path,
                                  uint64_t flushThreshold = 32ull << 20);
    ~StreamingImageWriter() override;
    // Writes what is left and closes the file; returns the image size.
    uint64_t Finish();

private:
    std::ofstream out_;
    bool finished_ = false;
};

// A uniquely named file under the system temp folder, removed on destruction.
class TempImage {
public:
    explicit TempImage(const ByteVector& bytes, std::string_view suffix = ".bkf");
    explicit TempImage(const ImageBuilder& image, std::string_view suffix = ".bkf");
    ~TempImage();
    TempImage(const TempImage&) = delete;
    TempImage& operator=(const TempImage&) = delete;
    TempImage(TempImage&& other) noexcept;
    TempImage& operator=(TempImage&& other) noexcept;

    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

// A uniquely named folder under the system temp folder, removed with its contents on destruction.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    TempDir(TempDir&& other) noexcept;
    TempDir& operator=(TempDir&& other) noexcept;

    const std::filesystem::path& Path() const { return path_; }
    // Writes a file into the folder and returns its path.
    std::filesystem::path Write(std::string_view name, const ByteVector& bytes) const;

private:
    std::filesystem::path path_;
};

// Deterministic noise.
ByteVector RandomBytes(uint64_t count, uint32_t seed);

// Damage on a finished image. Ranges must lie inside the vector (std::out_of_range otherwise).
void ZeroRange(ByteVector& bytes, uint64_t offset, uint64_t count);
void Truncate(ByteVector& bytes, uint64_t newSize);
void CutOut(ByteVector& bytes, uint64_t offset, uint64_t count);
void CutOut(ByteVector& bytes, const BlockInfo& block);  // the block and its streams
void Overwrite(ByteVector& bytes, uint64_t offset, const ByteVector& with);
void Overwrite(ByteVector& bytes, uint64_t offset, std::string_view with);
void FlipBytes(ByteVector& bytes, uint64_t offset, uint64_t count);  // XOR 0xFF
void ScrambleRange(ByteVector& bytes, uint64_t offset, uint64_t count, uint32_t seed);
void Insert(ByteVector& bytes, uint64_t offset, const ByteVector& with);
void PutLE16(ByteVector& bytes, uint64_t offset, uint16_t value);
void PutLE32(ByteVector& bytes, uint64_t offset, uint32_t value);
void PutLE64(ByteVector& bytes, uint64_t offset, uint64_t value);

}  // namespace kelvara::testing
