#pragma once
// The data of one recovered file as runs in one or more open BKF files, read as one logical stream.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/image_file.h"

namespace kelvara {

// One run of a file's data.
struct DataExtent {
    uint64_t nOffset = 0;  // absolute offset of the run's first byte in its source file
    uint64_t nLength = 0;
    uint8_t nSource = 0;  // index in the source-file list
};

using ExtentList = std::vector<DataExtent>;

// Open BKF files by index. Index 0 is the scanner's image and only borrowed; later entries are the
// continuation files of a split set, owned and closed when the list is emptied.
class SourceFileList {
public:
    // An extent stores the index in 8 bits.
    static constexpr size_t kMaxFiles = 256;

    // Both return false, and keep nothing, once the list holds kMaxFiles files.
    bool Append(const ImageFile& borrowed);
    bool Append(std::unique_ptr<ImageFile> owned);
    size_t Count() const { return m_entries.size(); }
    // Null when the index is out of range.
    const ImageFile* At(size_t index) const;
    // Closes and destroys the owned files; borrowed ones are only forgotten.
    void Clear() { m_entries.clear(); }

private:
    struct Entry {
        const ImageFile* file = nullptr;
        std::unique_ptr<ImageFile> owned;
    };
    std::vector<Entry> m_entries;
};

// The two lists of the file being extracted, and the read over them.
class SegmentedSource {
public:
    SourceFileList& Sources() { return m_sources; }
    const SourceFileList& Sources() const { return m_sources; }
    ExtentList& Extents() { return m_extents; }
    const ExtentList& Extents() const { return m_extents; }

    // Delivers up to `count` bytes from logical `position` on, advancing it by what is delivered.
    // Bytes a short source cannot supply are counted but left untouched in `buffer`. 0 at the end
    // of the stream, and when a source reports a read error (earlier pieces stay delivered and
    // counted in `position`).
    uint64_t ReadExtents(void* buffer, uint64_t count, uint64_t& position) const;

    // Total length of the logical stream (saturating).
    uint64_t TotalLength() const;

    void Clear() {
        m_extents.clear();
        m_sources.Clear();
    }

private:
    SourceFileList m_sources;
    ExtentList m_extents;
};

// Reads n bytes at offset; what the file cannot supply (its end, unreadable parts) becomes zeros.
// Unreadable stretches are retried in small pieces so readable data after a bad spot is kept.
void ReadRecoverable(const ImageFile& file, uint64_t offset, void* buffer, size_t n);

}  // namespace kelvara
