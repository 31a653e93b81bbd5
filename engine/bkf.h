#pragma once
// The standard-mode scanner, which also owns what is known of the opened image: the catalogue,
// the file table and the open image file that extraction reads from afterwards.
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/block_finder.h"
#include "engine/catalogue.h"
#include "engine/image_file.h"
#include "engine/scanner_host.h"
#include "engine/window_reader.h"

namespace kelvara {

class bkf {
public:
    explicit bkf(const std::atomic<int32_t>& busyFlag);
    virtual ~bkf();
    bkf(const bkf&) = delete;
    bkf& operator=(const bkf&) = delete;

    // Opens the image and scans it on the calling thread. 0 when the image cannot be opened
    // (ImageError() says why), else 1, whether the scan ran to the end or was stopped.
    virtual int ScanFile(const std::string& path);

    // Inputs, set before ScanFile. A range of 0..0 means the whole image.
    void SetHost(IScannerHost* host) { m_pHost = host; }
    void SetRange(uint64_t start, uint64_t end) {
        m_nRangeStart = start;
        m_nRangeEnd = end;
    }
    void SetHeuristic(bool heuristic) { m_bHeuristic = heuristic; }
    // Serve windows with a seek and read each instead of the large buffer (for comparison).
    void SetPlainWindowReads(bool plain) { m_bPlainReads = plain; }

    // Results.
    CVexloBKFTreeVectorClass& Tree() { return m_tree; }
    const CVexloBKFTreeVectorClass& Tree() const { return m_tree; }
    CBkfFileTable& Files() { return m_files; }
    const CBkfFileTable& Files() const { return m_files; }
    ImageFile& Image() { return m_image; }
    const ImageFile& Image() const { return m_image; }
    uint64_t FilesFound() const { return m_nFilesFound; }
    uint64_t RangeStart() const { return m_nRangeStart; }
    uint64_t RangeEnd() const { return m_nRangeEnd; }
    const std::string& ImageError() const { return m_image.LastError(); }
    void RenameFile(int64_t index, std::u16string_view name) { m_files.RenameFile(index, name); }

    // Opens the image without scanning (snapshot loading).
    bool OpenImage(const std::string& path) { return m_image.Open(path); }

    // Bytes of the image at a block position that handlers may look at: enough for a name field
    // (offset up to 1023, size up to 511) and a stream header starting below 2048.
    static constexpr size_t kBlockView = 4096;

protected:
    bool IsBusy() const { return m_busy.load(std::memory_order_relaxed) != 0; }
    // The window loop of both modes. `handle` deals with a block of a handled type found at
    // `position` (window offset 0); it may set the step, and returns how far the position jumps
    // (0: no jump, the step applies).
    int DriveScan(const std::string& path, BlockTypeMask handled, int64_t& lastProgress,
                  const std::function<uint64_t(int, uint64_t, uint64_t&)>& handle);
    void CorrectRange(uint64_t length);
    void SendProgress(float percent, uint64_t position, uint64_t length);
    void MaybeSendThrottledProgress(float percent, uint64_t position, uint64_t length,
                                    int64_t& lastPerMille);
    std::unique_ptr<WindowReader> MakeReader() const;
    // Copies kBlockView bytes of the image at `position` into m_block.
    void LoadBlock(WindowReader& reader, uint64_t position);

    void AddPlaceholderTape();
    void AddPlaceholderSet();
    void AddPlaceholderVolume();
    int64_t AddCurrentNode(std::u16string_view name, int64_t parent);
    // Records a file for the current node; returns its index.
    void RecordFile(std::u16string_view name, uint16_t nameSize, uint64_t dataOffset,
                    uint64_t dataSize);
    // The DIRB's folders below the volume; `pollBusy` stops the walk when the flag clears.
    void AddDirectoryPath(const std::u16string& converted, bool pollBusy);
    void PlaceholdersForDirectoryWithoutVolume();

    // In-block stream walk of a FILE block over `limit` bytes of m_block; returns m, sets header.
    struct InBlockWalk {
        uint64_t m = 0;  // offset of the last header looked at, or just past it
        const uint8_t* header = nullptr;
        bool isStan = false;
    };
    InBlockWalk WalkFileStreams(uint64_t firstStream, uint64_t limit, bool cpadUnpadded) const;

    // Standard handlers; block at m_block.
    void HandleTape();
    void HandleSset();
    void HandleVolb();
    void HandleDirb(uint64_t& step);
    uint64_t HandleFile(uint64_t blockPosition);

    const std::atomic<int32_t>& m_busy;
    IScannerHost* m_pHost = nullptr;
    WindowReader* m_pReader = nullptr;  // while scanning
    uint64_t m_nImageLength = 0;
    CVexloBKFTreeVectorClass m_tree;
    CBkfFileTable m_files;
    ImageFile m_image;
    std::u16string m_strVolumePath;
    bool m_bHeuristic = false;
    bool m_bPlainReads = false;
    bool m_bTapeSeen = false;
    bool m_bSetSeen = false;
    bool m_bVolumeSeen = false;
    uint64_t m_nFilesFound = 0;
    uint64_t m_nRangeStart = 0;
    uint64_t m_nRangeEnd = 0;
    int64_t m_nCurrentNode = 0;
    int64_t m_nTapeNode = 0;
    int64_t m_nSetNode = 0;
    int64_t m_nVolumeNode = 0;
    int64_t m_nLastFileNode = 0;
    int64_t m_nLastProgress = 0;
    std::vector<std::u16string> m_pathComponents;
    uint8_t m_block[kBlockView] = {};
};

}  // namespace kelvara
