#include "tests/support/mtf_writer.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>
#include <stdexcept>
#include <system_error>

#include "engine/mtf.h"
#include "engine/text.h"

namespace kelvara::testing {

namespace {

constexpr uint64_t kFillChunk = 1 << 20;

void StoreLE16(uint8_t* p, uint16_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}
void StoreLE64(uint8_t* p, uint64_t v) {
    for (int i = 0; i < 8; ++i) p[i] = uint8_t(v >> (8 * i));
}

void StoreId(uint8_t* p, std::string_view id) {
    for (size_t i = 0; i < 4; ++i) p[i] = i < id.size() ? uint8_t(id[i]) : 0;
}

uint64_t RoundUp(uint64_t value, uint64_t multiple) {
    return multiple <= 1 ? value : (value + multiple - 1) / multiple * multiple;
}

ByteVector DirectoryNameBytes(std::u16string_view path) {
    std::u16string encoded;
    size_t start = 0;
    while (start <= path.size()) {
        size_t stop = path.find(u'\\', start);
        if (stop == std::u16string_view::npos) stop = path.size();
        if (stop > start) {
            encoded.append(path.substr(start, stop - start));
            encoded.push_back(u'\0');
        }
        start = stop + 1;
    }
    if (encoded.empty()) encoded.push_back(u'\0');  // the volume root
    return Utf16Le(encoded);
}

void CheckRange(const ByteVector& bytes, uint64_t offset, uint64_t count) {
    if (offset > bytes.size() || count > bytes.size() - offset)
        throw std::out_of_range("damage range outside the image");
}

// A name for a new temp file or folder that no other test process picks.
std::filesystem::path UniqueTempPath(std::string_view suffix) {
    static std::atomic<uint64_t> counter{0};
    static const uint32_t salt = std::random_device{}();
    char name[96];
    std::snprintf(name, sizeof name, "kelvara-test-%ld-%08x-%llu", long(::getpid()), unsigned(salt),
                  static_cast<unsigned long long>(counter++));
    return std::filesystem::temp_directory_path() / (std::string(name) + std::string(suffix));
}

}  // namespace

ByteVector BytesOf(std::string_view text) {
    return ByteVector(text.begin(), text.end());
}

ByteVector Utf16Le(std::u16string_view text) {
    ByteVector out;
    out.reserve(text.size() * 2);
    for (char16_t c : text) {
        out.push_back(uint8_t(c));
        out.push_back(uint8_t(c >> 8));
    }
    return out;
}

Text::Text(const char* utf8) : value(Utf8ToUtf16(utf8)) {}
Text::Text(const std::string& utf8) : value(Utf8ToUtf16(utf8)) {}

// ---- streams

Stream& Stream::Length(uint64_t declared) & {
    length = declared;
    return *this;
}
Stream&& Stream::Length(uint64_t declared) && {
    return std::move(Length(declared));
}
Stream& Stream::Continue() & {
    mediaAttributes |= kStreamContinue;
    return *this;
}
Stream&& Stream::Continue() && {
    return std::move(Continue());
}
Stream& Stream::NoPadding() & {
    padAfter = false;
    return *this;
}
Stream&& Stream::NoPadding() && {
    return std::move(NoPadding());
}

Stream StreamOf(std::string_view id, ByteVector data) {
    Stream s;
    s.id = std::string(id);
    s.data = std::move(data);
    return s;
}
Stream Stan(std::string_view text) {
    return StreamOf("STAN", BytesOf(text));
}
Stream Stan(ByteVector data) {
    return StreamOf("STAN", std::move(data));
}
Stream StanFill(uint64_t size, uint8_t byte) {
    Stream s = StreamOf("STAN");
    s.fillSize = size;
    s.fillByte = byte;
    return s;
}
Stream Ntoi(ByteVector data) {
    return StreamOf("NTOI", std::move(data));
}
Stream Nacl(ByteVector data) {
    return StreamOf("NACL", std::move(data));
}
Stream Csum(ByteVector data) {
    return StreamOf("CSUM", std::move(data));
}
Stream Spad(uint64_t size) {
    Stream s = StreamOf("SPAD");
    s.fillSize = size;
    return s;
}
Stream Cpad(uint64_t size) {
    Stream s = StreamOf("CPAD");
    s.fillSize = size;
    s.padAfter = false;
    return s;
}

const StreamInfo* BlockInfo::FirstStan() const {
    for (const StreamInfo& s : streams)
        if (s.id == "STAN") return &s;
    return nullptr;
}

// ---- image builder

ImageBuilder& ImageBuilder::SetAlignment(uint64_t bytes) {
    alignment_ = bytes == 0 ? 1 : bytes;
    return *this;
}

ImageBuilder& ImageBuilder::FillGapsWithZeros(bool zeros) {
    zeroGaps_ = zeros;
    return *this;
}

ImageBuilder& ImageBuilder::Tape(Text mediaName, Streams streams, BlockOptions options) {
    std::vector<NamePlan> names;
    names.push_back({kTapeMediaNameField, Utf16Le(mediaName.value), options.name});
    names.push_back({kTapeSoftwareNameField, Utf16Le(options.softwareName.value_or(Text()).value),
                     options.softwareNameField});
    return AddBlock("TAPE", std::move(names), std::move(streams), options);
}
ImageBuilder& ImageBuilder::Tape(Text mediaName, BlockOptions options) {
    return Tape(std::move(mediaName), Streams(), std::move(options));
}

ImageBuilder& ImageBuilder::Sset(uint16_t number, Text name, Streams streams,
                                 BlockOptions options) {
    std::vector<NamePlan> names;
    names.push_back({kSsetNameField, Utf16Le(name.value), options.name});
    return AddBlock("SSET", std::move(names), std::move(streams), options, number);
}
ImageBuilder& ImageBuilder::Sset(uint16_t number, Text name, BlockOptions options) {
    return Sset(number, std::move(name), Streams(), std::move(options));
}

ImageBuilder& ImageBuilder::Volb(Text deviceName, Streams streams, BlockOptions options) {
    std::vector<NamePlan> names;
    names.push_back({kVolbDeviceNameField, Utf16Le(deviceName.value), options.name});
    return AddBlock("VOLB", std::move(names), std::move(streams), options);
}
ImageBuilder& ImageBuilder::Volb(Text deviceName, BlockOptions options) {
    return Volb(std::move(deviceName), Streams(), std::move(options));
}

ImageBuilder& ImageBuilder::Dirb(Text path, Streams streams, BlockOptions options) {
    std::vector<NamePlan> names;
    names.push_back({kDirbNameField, DirectoryNameBytes(path.value), options.name});
    return AddBlock("DIRB", std::move(names), std::move(streams), options);
}
ImageBuilder& ImageBuilder::Dirb(Text path, BlockOptions options) {
    return Dirb(std::move(path), Streams(), std::move(options));
}

ImageBuilder& ImageBuilder::File(Text name, Streams streams, BlockOptions options) {
    std::vector<NamePlan> names;
    names.push_back({kFileNameField, Utf16Le(name.value), options.name});
    return AddBlock("FILE", std::move(names), std::move(streams), options);
}
ImageBuilder& ImageBuilder::File(Text name, BlockOptions options) {
    return File(std::move(name), Streams(), std::move(options));
}

ImageBuilder& ImageBuilder::Cfil(Streams streams, BlockOptions options) {
    return AddBlock("CFIL", {}, std::move(streams), options);
}
ImageBuilder& ImageBuilder::Sfmb(Streams streams, BlockOptions options) {
    return AddBlock("SFMB", {}, std::move(streams), options);
}
ImageBuilder& ImageBuilder::Eset(Streams streams, BlockOptions options) {
    return AddBlock("ESET", {}, std::move(streams), options);
}
ImageBuilder& ImageBuilder::Eotm(Streams streams, BlockOptions options) {
    return AddBlock("EOTM", {}, std::move(streams), options);
}
ImageBuilder& ImageBuilder::Espb(Streams streams, BlockOptions options) {
    return AddBlock("ESPB", {}, std::move(streams), options);
}
ImageBuilder& ImageBuilder::Block(std::string_view tag, Streams streams, BlockOptions options) {
    return AddBlock(tag, {}, std::move(streams), options);
}

ImageBuilder& ImageBuilder::Raw(const ByteVector& bytes) {
    Put(Size(), bytes.data(), bytes.size());
    lastWasBlock_ = false;
    MaybeFlush();
    return *this;
}

ImageBuilder& ImageBuilder::Zeros(uint64_t count) {
    PutZeros(Size(), count);
    lastWasBlock_ = false;
    MaybeFlush();
    return *this;
}

ImageBuilder& ImageBuilder::Garbage(uint64_t count, uint32_t seed) {
    return Raw(RandomBytes(count, seed));
}

ImageBuilder& ImageBuilder::AlignTo(uint64_t boundary) {
    return Zeros(RoundUp(Size(), boundary) - Size());
}

const BlockInfo& ImageBuilder::Last() const {
    if (blocks_.empty()) throw std::logic_error("no block written yet");
    return blocks_.back();
}

uint64_t ImageBuilder::LastDataOffset() const {
    const StreamInfo* stan = Last().FirstStan();
    if (!stan) throw std::logic_error("the last block has no STAN stream");
    return stan->dataOffset;
}

void ImageBuilder::WriteTo(const std::filesystem::path& path) const {
    if (base_ != 0) throw std::logic_error("part of the image was already flushed");
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(buffer_.data()), std::streamsize(buffer_.size()));
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

void ImageBuilder::FlushTo(std::ostream& out) {
    out.write(reinterpret_cast<const char*>(buffer_.data()), std::streamsize(buffer_.size()));
    if (!out) throw std::runtime_error("cannot write the image");
    base_ += buffer_.size();
    buffer_.clear();
    if (blocks_.size() > 1) blocks_.erase(blocks_.begin(), blocks_.end() - 1);
}

void ImageBuilder::StreamTo(std::ostream* sink, uint64_t threshold) {
    sink_ = sink;
    threshold_ = threshold;
}

void ImageBuilder::MaybeFlush() {
    if (sink_ && buffer_.size() > threshold_) FlushTo(*sink_);
}

void ImageBuilder::Put(uint64_t position, const uint8_t* bytes, size_t count) {
    if (position < base_) throw std::logic_error("cannot write into the flushed part of the image");
    const uint64_t rel = position - base_;
    if (rel + count > buffer_.size()) buffer_.resize(rel + count, 0);
    if (count) std::memcpy(buffer_.data() + rel, bytes, count);
}

void ImageBuilder::PutZeros(uint64_t position, uint64_t count) {
    if (position < base_) throw std::logic_error("cannot write into the flushed part of the image");
    const uint64_t rel = position - base_;
    if (rel + count > buffer_.size()) buffer_.resize(rel + count, 0);
    std::fill_n(buffer_.begin() + rel, std::min<uint64_t>(count, buffer_.size() - rel), 0);
}

uint64_t ImageBuilder::PlaceBlock(const BlockOptions& options) {
    const uint64_t end = Size();
    if (options.at) {
        if (*options.at > end) PutZeros(end, *options.at - end);
        return *options.at;
    }
    if (options.packed) return end;
    const uint64_t target = RoundUp(end, alignment_);
    if (target == end) return end;
    if (!lastWasBlock_ || zeroGaps_ || blocks_.empty() || blocks_.back().end != end) {
        PutZeros(end, target - end);
        return target;
    }
    // The gap becomes an SPAD stream of the previous block; a gap too small for a stream header
    // grows by whole alignment units, as a writer must do.
    uint64_t gap = target - end;
    while (gap < kStreamHeaderSize) gap += alignment_;
    uint64_t position = end;
    BlockInfo& previous = blocks_.back();
    EmitStream(previous.offset, position, Spad(gap - kStreamHeaderSize).NoPadding(), previous);
    previous.end = position;
    return position;
}

void ImageBuilder::EmitStream(uint64_t blockStart, uint64_t& position, const Stream& stream,
                              BlockInfo& info) {
    uint8_t header[kStreamHeaderSize] = {};
    StoreId(header, stream.id);
    StoreLE16(header + 4, stream.fsAttributes);
    StoreLE16(header + kStreamMediaAttributes, stream.mediaAttributes);
    StoreLE64(header + kStreamLength, stream.DeclaredLength());
    StoreLE16(header + 16, stream.encryption);
    StoreLE16(header + 18, stream.compression);
    StoreLE16(header + 20, stream.checksum);

    StreamInfo record;
    record.id = stream.id.substr(0, 4);
    record.headerOffset = position;
    record.dataOffset = position + kStreamHeaderSize;
    record.length = stream.DeclaredLength();
    record.payloadSize = stream.PayloadSize();

    Put(position, header, sizeof header);
    position += sizeof header;
    Put(position, stream.data.data(), stream.data.size());
    position += stream.data.size();
    if (stream.fillSize) {
        const ByteVector chunk(std::min(stream.fillSize, kFillChunk), stream.fillByte);
        for (uint64_t left = stream.fillSize; left > 0;) {
            const uint64_t n = std::min<uint64_t>(left, chunk.size());
            Put(position, chunk.data(), n);
            position += n;
            left -= n;
            if (position == Size()) MaybeFlush();
        }
    }
    if (stream.padAfter) {
        const uint64_t inBlock = position - blockStart;
        const uint64_t pad = RoundUp(inBlock, 4) - inBlock;
        PutZeros(position, pad);
        position += pad;
    }
    info.streams.push_back(std::move(record));
}

ImageBuilder& ImageBuilder::AddBlock(std::string_view tag, std::vector<NamePlan> names,
                                     Streams streams, const BlockOptions& options,
                                     uint16_t setNumber) {
    const uint64_t start = PlaceBlock(options);

    ByteVector head(kNameArea, 0);
    StoreId(head.data(), tag);
    uint64_t cursor = kNameArea;
    for (NamePlan& plan : names) {
        const ByteVector& bytes = plan.override.raw ? *plan.override.raw : plan.bytes;
        uint64_t at = cursor;
        if (plan.override.offset && *plan.override.offset >= kNameArea) at = *plan.override.offset;
        if (at + bytes.size() > head.size()) head.resize(at + bytes.size(), 0);
        std::copy(bytes.begin(), bytes.end(), head.begin() + at);
        cursor = std::max<uint64_t>(cursor, at + bytes.size());
        StoreLE16(head.data() + plan.fieldOffset,
                  plan.override.size.value_or(static_cast<uint16_t>(bytes.size())));
        StoreLE16(head.data() + plan.fieldOffset + 2,
                  plan.override.offset.value_or(static_cast<uint16_t>(at)));
    }
    const uint16_t firstStream =
        options.firstStreamOffset.value_or(static_cast<uint16_t>(RoundUp(cursor, 4)));
    if (head.size() < firstStream) head.resize(firstStream, 0);
    StoreLE16(head.data() + kBlockFirstStreamOffset, firstStream);
    head[kBlockOsVersion] = options.osVersion;
    if (tag == "SSET") StoreLE16(head.data() + kSsetNumber, setNumber);

    Put(start, head.data(), head.size());

    BlockInfo info;
    info.tag = std::string(tag.substr(0, 4));
    info.offset = start;
    info.firstStreamOffset = firstStream;
    uint64_t position = start + firstStream;
    for (const Stream& stream : streams.list) EmitStream(start, position, stream, info);
    info.end = std::max<uint64_t>(position, start + head.size());
    blocks_.push_back(std::move(info));
    lastWasBlock_ = true;
    MaybeFlush();
    return *this;
}

// ---- streaming writer

StreamingImageWriter::StreamingImageWriter(const std::filesystem::path& path,
                                           uint64_t flushThreshold)
    : out_(path, std::ios::binary | std::ios::trunc) {
    if (!out_) throw std::runtime_error("cannot create " + path.string());
    StreamTo(&out_, flushThreshold);
}

StreamingImageWriter::~StreamingImageWriter() {
    try {
        Finish();
    } catch (...) {
    }
}

uint64_t StreamingImageWriter::Finish() {
    if (!finished_) {
        finished_ = true;
        FlushTo(out_);
        out_.close();
    }
    return Size();
}

// ---- temp files

TempImage::TempImage(const ByteVector& bytes, std::string_view suffix) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::filesystem::path candidate = UniqueTempPath(suffix);
        std::FILE* f = std::fopen(candidate.c_str(), "wbx");  // fails if the name is taken
        if (!f) {
            if (errno == EEXIST) continue;
            throw std::system_error(errno, std::generic_category(), candidate.string());
        }
        const bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
        if (std::fclose(f) != 0 || !ok) {
            std::filesystem::remove(candidate);
            throw std::runtime_error("cannot write " + candidate.string());
        }
        path_ = std::move(candidate);
        return;
    }
    throw std::runtime_error("no free temp file name");
}

TempImage::TempImage(const ImageBuilder& image, std::string_view suffix)
    : TempImage(image.Bytes(), suffix) {}

TempImage::~TempImage() {
    if (!path_.empty()) {
        std::error_code ec;
        std::filesystem::remove(path_, ec);
    }
}

TempImage::TempImage(TempImage&& other) noexcept : path_(std::move(other.path_)) {
    other.path_.clear();
}

TempImage& TempImage::operator=(TempImage&& other) noexcept {
    if (this != &other) {
        std::error_code ec;
        if (!path_.empty()) std::filesystem::remove(path_, ec);
        path_ = std::move(other.path_);
        other.path_.clear();
    }
    return *this;
}

TempDir::TempDir() {
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::filesystem::path candidate = UniqueTempPath("");
        if (std::filesystem::create_directory(candidate)) {
            path_ = std::move(candidate);
            return;
        }
    }
    throw std::runtime_error("no free temp folder name");
}

TempDir::~TempDir() {
    if (!path_.empty()) {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
}

TempDir::TempDir(TempDir&& other) noexcept : path_(std::move(other.path_)) {
    other.path_.clear();
}

TempDir& TempDir::operator=(TempDir&& other) noexcept {
    if (this != &other) {
        std::error_code ec;
        if (!path_.empty()) std::filesystem::remove_all(path_, ec);
        path_ = std::move(other.path_);
        other.path_.clear();
    }
    return *this;
}

std::filesystem::path TempDir::Write(std::string_view name, const ByteVector& bytes) const {
    std::filesystem::path target = path_ / std::filesystem::path(std::string(name));
    std::ofstream out(target, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    out.close();
    if (!out) throw std::runtime_error("cannot write " + target.string());
    return target;
}

// ---- damage

ByteVector RandomBytes(uint64_t count, uint32_t seed) {
    std::mt19937 gen(seed);
    ByteVector out(count);
    for (uint8_t& b : out) b = uint8_t(gen());
    return out;
}

void ZeroRange(ByteVector& bytes, uint64_t offset, uint64_t count) {
    CheckRange(bytes, offset, count);
    std::fill_n(bytes.begin() + offset, count, 0);
}

void Truncate(ByteVector& bytes, uint64_t newSize) {
    CheckRange(bytes, newSize, 0);
    bytes.resize(newSize);
}

void CutOut(ByteVector& bytes, uint64_t offset, uint64_t count) {
    CheckRange(bytes, offset, count);
    bytes.erase(bytes.begin() + offset, bytes.begin() + offset + count);
}

void CutOut(ByteVector& bytes, const BlockInfo& block) {
    CutOut(bytes, block.offset, block.end - block.offset);
}

void Overwrite(ByteVector& bytes, uint64_t offset, const ByteVector& with) {
    CheckRange(bytes, offset, with.size());
    std::copy(with.begin(), with.end(), bytes.begin() + offset);
}

void Overwrite(ByteVector& bytes, uint64_t offset, std::string_view with) {
    Overwrite(bytes, offset, BytesOf(with));
}

void FlipBytes(ByteVector& bytes, uint64_t offset, uint64_t count) {
    CheckRange(bytes, offset, count);
    for (uint64_t i = 0; i < count; ++i) bytes[offset + i] ^= 0xFF;
}

void ScrambleRange(ByteVector& bytes, uint64_t offset, uint64_t count, uint32_t seed) {
    CheckRange(bytes, offset, count);
    Overwrite(bytes, offset, RandomBytes(count, seed));
}

void Insert(ByteVector& bytes, uint64_t offset, const ByteVector& with) {
    CheckRange(bytes, offset, 0);
    bytes.insert(bytes.begin() + offset, with.begin(), with.end());
}

void PutLE16(ByteVector& bytes, uint64_t offset, uint16_t value) {
    CheckRange(bytes, offset, 2);
    StoreLE16(bytes.data() + offset, value);
}

void PutLE32(ByteVector& bytes, uint64_t offset, uint32_t value) {
    CheckRange(bytes, offset, 4);
    for (int i = 0; i < 4; ++i) bytes[offset + i] = uint8_t(value >> (8 * i));
}

void PutLE64(ByteVector& bytes, uint64_t offset, uint64_t value) {
    CheckRange(bytes, offset, 8);
    StoreLE64(bytes.data() + offset, value);
}

}  // namespace kelvara::testing
