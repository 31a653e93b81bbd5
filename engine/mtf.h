#pragma once
// The MTF subset the scanners and the reassembly read: tag tables, field offsets, little-endian access.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace kelvara {

inline uint16_t ReadLE16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
inline uint32_t ReadLE32(const uint8_t* p) {
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
inline uint64_t ReadLE64(const uint8_t* p) { return uint64_t(ReadLE32(p)) | (uint64_t(ReadLE32(p + 4)) << 32); }

// Block type indices, in table order.
enum BlockType : int {
    kBlockTape = 0,
    kBlockSset = 1,
    kBlockVolb = 2,
    kBlockDirb = 3,
    kBlockFile = 4,
    kBlockCfil = 5,
    kBlockSfmb = 6,
    kBlockEset = 7,
    kBlockEotm = 8,
    kBlockEspb = 9,
};
constexpr int kBlockTypeCount = 10;

// Stream type indices, in table order.
enum StreamType : int {
    kStreamStan = 0,
    kStreamSpad = 1,
    kStreamCpad = 15,
};
constexpr int kStreamTypeCount = 17;

// Both tables as the scanners hold them: four characters and a zero byte per entry, blocks first.
extern const char kBlockTags[kBlockTypeCount][5];
extern const char kStreamTags[kStreamTypeCount][5];

// Common block header fields.
constexpr size_t kBlockFirstStreamOffset = 8;  // u16
constexpr size_t kBlockOsVersion = 11;         // u8
// Name fields (u16 size, u16 offset).
constexpr size_t kTapeMediaNameField = 68;
constexpr size_t kTapeSoftwareNameField = 80;
constexpr size_t kSsetNumber = 62;
constexpr size_t kSsetNameField = 64;
constexpr size_t kVolbDeviceNameField = 56;
constexpr size_t kDirbNameField = 80;
constexpr size_t kFileNameField = 84;

// Stream header.
constexpr size_t kStreamHeaderSize = 22;
constexpr size_t kStreamMediaAttributes = 6;  // u16, bit 0: STREAM_CONTINUE
constexpr size_t kStreamLength = 8;           // u64
constexpr uint16_t kStreamContinue = 0x0001;

// -2 when the first byte is not 'A'..'Z', -1 when no entry matches, else the index.
int FindBlockType(const uint8_t* tag);
int FindStreamType(const uint8_t* id);
// TAPE SSET EOTM SFMB ESET CFIL DIRB VOLB FILE (not ESPB).
bool IsKnownBlockTag(const uint8_t* tag);
bool IsValidStreamHeader(const uint8_t* header, bool heuristic);

// A name field read from a block: the UTF-16 text up to the copy's first NUL.
struct NameField {
    uint16_t size = 0;
    uint16_t offset = 0;
};
inline NameField ReadNameField(const uint8_t* block, size_t fieldOffset) {
    return {ReadLE16(block + fieldOffset), ReadLE16(block + fieldOffset + 2)};
}
// Copies `size` bytes at `bytes` into a zeroed buffer of size + 2 and reads it as UTF-16LE up to
// the first NUL (an odd last byte forms a character whose high byte is zero).
std::u16string TakeName(const uint8_t* bytes, size_t size);
// A DIRB name: every NUL but one in the last character position becomes a backslash.
std::u16string ConvertDirectoryName(const uint8_t* bytes, size_t size);

inline uint64_t RoundUp4(uint64_t v) { return v > UINT64_MAX - 3 ? UINT64_MAX : (v + 3) & ~uint64_t(3); }

}  // namespace kelvara
