#include "engine/bkf_advance.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "engine/block_finder.h"
#include "engine/engine_texts.h"
#include "engine/mtf.h"
#include "engine/text.h"

namespace kelvara {

namespace {
constexpr uint64_t kWindow = 1024;
constexpr uint8_t kMaxOsVersion = 33;

bool NameFieldInLimits(const NameField& f) {
    return f.offset >= 5 && f.offset <= 1023 && f.size < 512;
}
uint64_t SaturatingAdd(uint64_t a, uint64_t b) {
    return a > UINT64_MAX - b ? UINT64_MAX : a + b;
}
uint64_t RoundUp512(uint64_t v) {
    return v > UINT64_MAX - 511 ? UINT64_MAX & ~uint64_t(511) : (v + 511) & ~uint64_t(511);
}
uint64_t Padding(uint64_t length) {
    return (4 - (length + kStreamHeaderSize) % 4) % 4;
}
}  // namespace

bkfAdvance::bkfAdvance(const std::atomic<int32_t>& busyFlag) : bkf(busyFlag) {}

bool bkfAdvance::PassesVersionTest() const {
    return m_block[kBlockOsVersion] < kMaxOsVersion;
}

bool bkfAdvance::ReadChainHeader(uint64_t position, uint8_t* header) const {
    std::memcpy(header, m_pReader->Window(position, kStreamHeaderSize), kStreamHeaderSize);
    return IsValidStreamHeader(header, m_bHeuristic);
}

uint64_t bkfAdvance::SkipBlockStreams(uint64_t blockPosition, uint64_t firstStream) {
    const uint64_t length = m_nImageLength;
    const uint64_t a = RoundUp4(firstStream);
    uint64_t s = SaturatingAdd(blockPosition, a);
    uint8_t header[kStreamHeaderSize];
    if (!ReadChainHeader(s, header)) return kWindow;
    uint64_t streamLength = ReadLE64(header + kStreamLength);
    if (streamLength > length) return kWindow;
    uint64_t r = a + kStreamHeaderSize + streamLength + Padding(streamLength);
    if (streamLength >= length) return r;
    const bool noPadding = FindStreamType(header) == kStreamCpad;
    // From here on, each header adds 22 + length + padding; the part of R behind the first
    // header's own position is what a previous walk through that position already summed.
    if (uint64_t known; m_chainMemo.Suffix(s, noPadding, &known)) return a + known;

    ChainMemo walk;
    walk.noPadding = noPadding;
    walk.Add(s, r - a);
    while (true) {
        uint64_t next =
            s + kStreamHeaderSize + streamLength + (noPadding ? 0 : Padding(streamLength));
        if (next <= s) break;  // cannot move forward
        s = next;
        if (uint64_t known; m_chainMemo.Suffix(s, noPadding, &known)) return r + known;
        if (!ReadChainHeader(s, header)) break;
        streamLength = ReadLE64(header + kStreamLength);
        // An implausible length ends the walk before it is counted: added, it would send the
        // scan past the end of the image and lose every file behind it.
        if (streamLength >= length) break;
        const uint64_t contribution = kStreamHeaderSize + streamLength + Padding(streamLength);
        r += contribution;
        walk.Add(s, contribution);
    }
    m_chainMemo = std::move(walk);
    return r;
}

void bkfAdvance::ChainMemo::Add(uint64_t position, uint64_t contribution) {
    total += contribution;
    if (positions.size() < kMaxRemembered) {
        positions.push_back(position);
        before.push_back(total - contribution);
    }
}

bool bkfAdvance::ChainMemo::Suffix(uint64_t position, bool padding, uint64_t* sum) const {
    if (padding != noPadding || positions.empty()) return false;
    auto it = std::lower_bound(positions.begin(), positions.end(), position);
    if (it == positions.end() || *it != position) return false;
    *sum = total - before[static_cast<size_t>(it - positions.begin())];
    return true;
}

uint64_t bkfAdvance::SkipBlock(uint64_t blockPosition) {
    if (!IsKnownBlockTag(m_block)) return 0;
    return SkipBlockStreams(blockPosition, ReadLE16(m_block + kBlockFirstStreamOffset));
}

uint64_t bkfAdvance::HandleTapeAdvanced(uint64_t blockPosition) {
    const uint16_t firstStream = ReadLE16(m_block + kBlockFirstStreamOffset);
    if (firstStream >= 2048 || !PassesVersionTest()) return 0;
    NameField field = ReadNameField(m_block, kTapeMediaNameField);
    if (field.size == 0 && field.offset == 0)
        field = ReadNameField(m_block, kTapeSoftwareNameField);
    if (!NameFieldInLimits(field)) return 0;
    std::u16string name = TakeName(m_block + field.offset, field.size);
    m_nTapeNode = AddCurrentNode(name, m_nCurrentNode);
    m_bTapeSeen = true;
    return SkipBlockStreams(blockPosition, firstStream);
}

uint64_t bkfAdvance::HandleSsetAdvanced(uint64_t blockPosition) {
    const uint16_t firstStream = ReadLE16(m_block + kBlockFirstStreamOffset);
    if (firstStream >= 2048 || !PassesVersionTest()) return 0;
    NameField field = ReadNameField(m_block, kSsetNameField);
    if (!NameFieldInLimits(field)) return SkipBlockStreams(blockPosition, firstStream);
    std::u16string name = TakeName(m_block + field.offset, field.size);
    if (name.empty()) return 0;
    char number[32];
    std::snprintf(number, sizeof number, "SET %u :", unsigned(ReadLE16(m_block + kSsetNumber)));
    if (!m_bTapeSeen) AddPlaceholderTape();
    m_nSetNode = AddCurrentNode(AsciiToUtf16(number) + name, m_nTapeNode);
    m_bSetSeen = true;
    m_strVolumePath.clear();
    return SkipBlockStreams(blockPosition, firstStream);
}

uint64_t bkfAdvance::HandleVolbAdvanced(uint64_t blockPosition) {
    const uint16_t firstStream = ReadLE16(m_block + kBlockFirstStreamOffset);
    if (firstStream >= 2048 || !PassesVersionTest()) return 0;
    NameField field = ReadNameField(m_block, kVolbDeviceNameField);
    if (field.offset < 5 || field.offset > 1023 || field.size < 1 || field.size > 511) return 0;
    std::u16string device = TakeName(m_block + field.offset, field.size);
    if (device.empty()) return 0;
    // The drive letter and its colon; a name starting with a colon has no drive.
    size_t colon = device.find(u':');
    std::u16string drive =
        (colon != std::u16string::npos && colon >= 1) ? device.substr(colon - 1, 2) : device;
    if (!m_bTapeSeen) AddPlaceholderTape();
    if (!m_bSetSeen) AddPlaceholderSet();
    m_nVolumeNode = AddCurrentNode(drive, m_nSetNode);
    m_bVolumeSeen = true;
    m_strVolumePath = drive + u'\\';
    return SkipBlockStreams(blockPosition, firstStream);
}

uint64_t bkfAdvance::HandleDirbAdvanced(uint64_t blockPosition) {
    m_pathComponents.clear();
    const uint16_t firstStream = ReadLE16(m_block + kBlockFirstStreamOffset);
    if (firstStream >= 2048 || !PassesVersionTest()) return 0;
    NameField field = ReadNameField(m_block, kDirbNameField);
    if (!NameFieldInLimits(field)) return 0;
    std::u16string converted = ConvertDirectoryName(m_block + field.offset, field.size);
    if (converted.empty()) return 0;
    AddDirectoryPath(converted, true);
    return SkipBlockStreams(blockPosition, firstStream);
}

uint64_t bkfAdvance::HandleFileAdvanced(uint64_t blockPosition) {
    const uint16_t firstStream = ReadLE16(m_block + kBlockFirstStreamOffset);
    if (firstStream >= 2048 || !PassesVersionTest()) return 0;
    const uint64_t r = SkipBlockStreams(blockPosition, firstStream);
    NameField field = ReadNameField(m_block, kFileNameField);
    if (!NameFieldInLimits(field)) return 0;
    std::u16string name = TakeName(m_block + field.offset, field.size);
    if (name.empty()) return 0;
    if (!m_bVolumeSeen) {
        if (!m_bTapeSeen) AddPlaceholderTape();
        if (!m_bSetSeen) AddPlaceholderSet();
        AddPlaceholderVolume();
    }
    InBlockWalk walk = firstStream < kWindow ? WalkFileStreams(firstStream, kWindow, false)
                                             : WalkFileStreams(firstStream, 2 * kWindow, true);
    const uint64_t dataSize = walk.isStan ? ReadLE64(walk.header + kStreamLength) : 0;
    RecordFile(name, field.size,
               SaturatingAdd(blockPosition, SaturatingAdd(walk.m, kStreamHeaderSize)), dataSize);
    return r;
}

int bkfAdvance::ScanFile(const std::string& path) {
    return DriveScan(path, kAdvancedHandledBlocks, m_nAdvancedLastProgress,
                     [this](int type, uint64_t position, uint64_t&) -> uint64_t {
                         uint64_t r = 0;
                         bool roundUp512 = true;
                         switch (type) {
                             case kBlockTape:
                                 r = HandleTapeAdvanced(position);
                                 break;
                             case kBlockSset:
                                 r = HandleSsetAdvanced(position);
                                 break;
                             case kBlockVolb:
                                 r = HandleVolbAdvanced(position);
                                 roundUp512 = false;
                                 break;
                             case kBlockDirb:
                                 r = HandleDirbAdvanced(position);
                                 roundUp512 = false;
                                 break;
                             case kBlockFile:
                                 r = HandleFileAdvanced(position);
                                 roundUp512 = false;
                                 break;
                             default:
                                 r = SkipBlock(position);
                                 break;
                         }
                         if (r <= kWindow) return 0;
                         return roundUp512 ? RoundUp512(r) : r & ~(kWindow - 1);
                     });
}

}  // namespace kelvara
