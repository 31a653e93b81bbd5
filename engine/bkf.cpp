#include "engine/bkf.h"

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

bool NameFieldInLimits(const NameField& f) {
    return f.offset >= 5 && f.offset <= 1023 && f.size < 512;
}

uint64_t SaturatingAdd(uint64_t a, uint64_t b) {
    return a > UINT64_MAX - b ? UINT64_MAX : a + b;
}
}  // namespace

bkf::bkf(const std::atomic<int32_t>& busyFlag) : m_busy(busyFlag) {}

bkf::~bkf() = default;

std::unique_ptr<WindowReader> bkf::MakeReader() const {
    if (m_bPlainReads) return std::make_unique<PlainWindowReader>(m_image);
    return std::make_unique<BufferedWindowReader>(m_image);
}

void bkf::LoadBlock(WindowReader& reader, uint64_t position) {
    std::memcpy(m_block, reader.Window(position, kBlockView), kBlockView);
}

void bkf::CorrectRange(uint64_t length) {
    if (m_nRangeStart > length) {
        if (m_pHost) m_pHost->ShowMessage(texts::kRangeStartTooLarge);
        m_nRangeStart = 0;
    }
    if (m_nRangeEnd == 0 || m_nRangeEnd > length) {
        if (m_nRangeEnd > length && m_pHost) m_pHost->ShowMessage(texts::kRangeEndTooLarge);
        m_nRangeEnd = length;
    }
}

void bkf::SendProgress(float percent, uint64_t position, uint64_t length) {
    if (m_pHost) m_pHost->OnScanProgress(ScanProgress{percent, position, m_nFilesFound, length});
}

void bkf::MaybeSendThrottledProgress(float percent, uint64_t position, uint64_t length,
                                     int64_t& lastPerMille) {
    // position x 1000 / L; the product cannot overflow for images below 16 EiB / 1000.
    unsigned __int128 wide = static_cast<unsigned __int128>(position) * 1000u / length;
    int64_t perMille = static_cast<int64_t>(static_cast<uint64_t>(wide));
    if (perMille > lastPerMille) {
        lastPerMille = perMille;
        SendProgress(percent, position, length);
    }
}

int bkf::ScanFile(const std::string& path) {
    return DriveScan(path, kStandardHandledBlocks, m_nLastProgress,
                     [this](int type, uint64_t position, uint64_t& step) -> uint64_t {
                         switch (type) {
                             case kBlockTape:
                                 HandleTape();
                                 break;
                             case kBlockSset:
                                 HandleSset();
                                 break;
                             case kBlockVolb:
                                 HandleVolb();
                                 break;
                             case kBlockDirb:
                                 HandleDirb(step);
                                 break;
                             case kBlockFile: {
                                 uint64_t r = HandleFile(position);
                                 return r > kWindow ? r & ~(kWindow - 1) : 0;
                             }
                             default:
                                 break;  // ESET, EOTM, ESPB only realign the scan
                         }
                         return 0;
                     });
}

int bkf::DriveScan(const std::string& path, BlockTypeMask handled, int64_t& lastProgress,
                   const std::function<uint64_t(int, uint64_t, uint64_t&)>& handle) {
    if (!m_image.Open(path)) return 0;
    const uint64_t length = m_image.Length();
    m_nImageLength = length;
    CorrectRange(length);
    auto reader = MakeReader();
    m_pReader = reader.get();

    float percent = 0.0f;
    uint64_t step = kWindow;
    uint64_t position = m_nRangeStart;
    while (position < m_nRangeEnd) {
        if (!IsBusy()) break;
        MaybeSendThrottledProgress(percent, position, length, lastProgress);
        const uint8_t* window = reader->Window(position, kFinderWindowBytes);
        int type = -1;
        size_t u = FindFirstBlock(window, handled, &type);
        if (u == kNoBlockFound) {
            SendProgress(percent, position, length);
        } else {
            // The block is parsed from the start of a window of its own.
            position += u;
            LoadBlock(*reader, position);
            step = kWindow;
            if (uint64_t jump = handle(type, position, step)) {
                position = SaturatingAdd(position, jump);
                step = 0;
            }
        }
        if (position >= m_nRangeEnd) break;
        position = SaturatingAdd(position, step);
        percent = static_cast<float>(static_cast<double>(position) * 100.0 /
                                     static_cast<double>(m_nRangeEnd));
        step = kWindow;
    }
    m_pReader = nullptr;
    if (m_pHost) m_pHost->OnScanFinished(100);
    return 1;
}

int64_t bkf::AddCurrentNode(std::u16string_view name, int64_t parent) {
    int64_t index = m_tree.AddNode(name, parent);
    if (index >= 0) m_nCurrentNode = index;
    return index;
}

void bkf::AddPlaceholderTape() {
    m_nTapeNode = AddCurrentNode(texts::kPlaceholderTape, m_nTapeNode);
    m_bTapeSeen = true;
}

void bkf::AddPlaceholderSet() {
    m_nSetNode = AddCurrentNode(texts::kPlaceholderSet, m_nTapeNode);
    m_bSetSeen = true;
}

void bkf::AddPlaceholderVolume() {
    m_nVolumeNode = AddCurrentNode(texts::kPlaceholderVolume, m_nSetNode);
    m_bVolumeSeen = true;
    m_strVolumePath = std::u16string(texts::kPlaceholderVolume) + u'\\';
}

void bkf::HandleTape() {
    if (ReadLE16(m_block + kBlockFirstStreamOffset) >= 2048) return;
    NameField media = ReadNameField(m_block, kTapeMediaNameField);
    if (!NameFieldInLimits(media)) return;
    std::u16string name = TakeName(m_block + media.offset, media.size);
    m_nTapeNode = AddCurrentNode(name, m_nCurrentNode);
    m_bTapeSeen = true;
}

void bkf::HandleSset() {
    if (ReadLE16(m_block + kBlockFirstStreamOffset) >= 2048) return;
    NameField field = ReadNameField(m_block, kSsetNameField);
    if (!NameFieldInLimits(field)) return;
    char number[32];
    std::snprintf(number, sizeof number, "SET %u :", unsigned(ReadLE16(m_block + kSsetNumber)));
    std::u16string label = AsciiToUtf16(number) + TakeName(m_block + field.offset, field.size);
    if (!m_bTapeSeen) AddPlaceholderTape();
    m_nSetNode = AddCurrentNode(label, m_nTapeNode);
    m_bSetSeen = true;
    m_strVolumePath.clear();
}

void bkf::HandleVolb() {
    if (ReadLE16(m_block + kBlockFirstStreamOffset) >= 2048) return;
    NameField field = ReadNameField(m_block, kVolbDeviceNameField);
    if (field.offset < 5 || field.offset > 1023 || field.size < 1 || field.size > 511) return;
    std::u16string device = TakeName(m_block + field.offset, field.size);
    if (device.empty()) return;
    if (!m_bTapeSeen) AddPlaceholderTape();
    if (!m_bSetSeen) AddPlaceholderSet();
    m_nVolumeNode = AddCurrentNode(device, m_nSetNode);
    m_bVolumeSeen = true;
    m_strVolumePath = device + u'\\';
}

void bkf::PlaceholdersForDirectoryWithoutVolume() {
    if (!m_bSetSeen) {
        m_nSetNode = AddCurrentNode(texts::kPlaceholderDirbSet, m_nCurrentNode);
        m_bSetSeen = true;
    }
    m_nVolumeNode = AddCurrentNode(texts::kPlaceholderVolume, m_nCurrentNode);
    m_bVolumeSeen = true;
    m_strVolumePath = std::u16string(texts::kPlaceholderVolume) + u'\\';
}

void bkf::AddDirectoryPath(const std::u16string& converted, bool pollBusy) {
    // The path is formed before any placeholder changes the volume path.
    std::u16string fullPath = m_strVolumePath + converted;
    if (!m_bVolumeSeen) PlaceholdersForDirectoryWithoutVolume();

    m_pathComponents.clear();
    size_t begin = 0;
    while (begin <= fullPath.size()) {
        size_t end = fullPath.find(u'\\', begin);
        if (end == std::u16string::npos) end = fullPath.size();
        if (end > begin) m_pathComponents.emplace_back(fullPath.substr(begin, end - begin));
        begin = end + 1;
    }
    if (m_pathComponents.empty()) return;

    int64_t anchor = m_tree.FindNode(m_pathComponents[0], m_nVolumeNode, 1);
    for (size_t i = 1; i < m_pathComponents.size(); ++i) {
        if (pollBusy && !IsBusy()) break;
        if (anchor == kNoNode) continue;
        // Only the folder's own children: a deeper folder of the same name is another folder.
        int64_t found = m_tree.FindChild(m_pathComponents[i], anchor);
        if (found == kNoNode) {
            anchor = AddCurrentNode(m_pathComponents[i], anchor);
        } else {
            anchor = found;
        }
    }
}

void bkf::HandleDirb(uint64_t& step) {
    m_pathComponents.clear();
    if (ReadLE16(m_block + kBlockFirstStreamOffset) >= 2048) return;
    NameField field = ReadNameField(m_block, kDirbNameField);
    if (!NameFieldInLimits(field)) {
        step = 1;
        return;
    }
    std::u16string converted = ConvertDirectoryName(m_block + field.offset, field.size);
    if (converted.empty()) return;
    AddDirectoryPath(converted, false);
}

bkf::InBlockWalk bkf::WalkFileStreams(uint64_t firstStream, uint64_t limit,
                                      bool cpadUnpadded) const {
    InBlockWalk walk;
    uint64_t m = firstStream;
    while (true) {
        const uint8_t* header = m_block + m;
        walk.m = m;
        walk.header = header;
        int type = FindStreamType(header);
        if (type < 1) {
            walk.isStan = (type == kStreamStan);
            return walk;
        }
        uint64_t length = ReadLE64(header + kStreamLength);
        uint64_t next = SaturatingAdd(SaturatingAdd(m, kStreamHeaderSize), length);
        if (!(cpadUnpadded && type == kStreamCpad)) next = RoundUp4(next);
        m = next;
        if (m >= limit) {
            walk.m = m;
            return walk;
        }
    }
}

uint64_t bkf::HandleFile(uint64_t blockPosition) {
    const uint16_t firstStream = ReadLE16(m_block + kBlockFirstStreamOffset);
    if (firstStream >= 2048) return 0;
    NameField field = ReadNameField(m_block, kFileNameField);
    if (!NameFieldInLimits(field)) return 0;
    std::u16string name = TakeName(m_block + field.offset, field.size);
    if (name.empty()) return 0;
    if (!m_bVolumeSeen) {
        if (!m_bTapeSeen) AddPlaceholderTape();
        if (!m_bSetSeen) AddPlaceholderSet();
        AddPlaceholderVolume();
    }
    if (firstStream >= kWindow) return 0;

    InBlockWalk walk = WalkFileStreams(firstStream, kWindow, false);
    const uint64_t headerLength = ReadLE64(walk.header + kStreamLength);
    const uint64_t dataSize = walk.isStan ? headerLength : 0;
    if (headerLength >= m_nRangeEnd || walk.m >= m_nRangeEnd) return 0;

    RecordFile(name, field.size, blockPosition + walk.m + kStreamHeaderSize, dataSize);
    return walk.m + headerLength;
}

void bkf::RecordFile(std::u16string_view name, uint16_t nameSize, uint64_t dataOffset,
                     uint64_t dataSize) {
    ++m_nFilesFound;
    BKFFILEREC rec = MakeEmptyFileRecord();
    rec.wNameSize = nameSize;
    rec.nFolder = m_nCurrentNode;
    rec.nSelf = m_files.Count();
    rec.nDataOffset = dataOffset;
    rec.nDataSize = dataSize;
    int64_t index = m_files.Append(rec, name);
    BKFTREENODE& folder = m_tree.Node(m_nCurrentNode);
    if (m_nCurrentNode != m_nLastFileNode) folder.nFirstFile = index;
    folder.nLastFile = index;
    m_nLastFileNode = m_nCurrentNode;
}

}  // namespace kelvara
