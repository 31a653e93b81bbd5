#include "extract/segmented_source.h"

#include <algorithm>
#include <cstring>

namespace kelvara {

namespace {

uint64_t SaturatingAdd(uint64_t a, uint64_t b) {
    return a > UINT64_MAX - b ? UINT64_MAX : a + b;
}

// A read that stops short of the file's end failed rather than reached the end.
bool ShortReadIsError(const ImageFile& file, uint64_t offset, size_t got) {
    uint64_t stoppedAt = SaturatingAdd(offset, got);
    return stoppedAt < file.Length();
}

}  // namespace

bool SourceFileList::Append(const ImageFile& borrowed) {
    if (m_entries.size() >= kMaxFiles) return false;
    m_entries.push_back({&borrowed, nullptr});
    return true;
}

bool SourceFileList::Append(std::unique_ptr<ImageFile> owned) {
    if (m_entries.size() >= kMaxFiles || !owned) return false;
    const ImageFile* file = owned.get();
    m_entries.push_back({file, std::move(owned)});
    return true;
}

const ImageFile* SourceFileList::At(size_t index) const {
    return index < m_entries.size() ? m_entries[index].file : nullptr;
}

uint64_t SegmentedSource::ReadExtents(void* buffer, uint64_t count, uint64_t& position) const {
    // Locate the extent holding `position`: the first whose cumulative end lies beyond it.
    size_t k = 0;
    uint64_t start = 0;
    for (; k < m_extents.size(); ++k) {
        uint64_t end = SaturatingAdd(start, m_extents[k].nLength);
        if (end > position) break;
        start = end;
    }
    if (k == m_extents.size()) return 0;

    auto* out = static_cast<uint8_t*>(buffer);
    uint64_t local = position - start;
    uint64_t delivered = 0;
    for (; delivered < count && k < m_extents.size(); ++k) {
        const DataExtent& extent = m_extents[k];
        uint64_t n = std::min(count - delivered, extent.nLength - local);
        if (n > 0) {
            const ImageFile* source = m_sources.At(extent.nSource);
            if (source == nullptr) return 0;
            // An offset that cannot be represented lies beyond any file: nothing to read there.
            if (extent.nOffset <= UINT64_MAX - local) {
                uint64_t at = extent.nOffset + local;
                size_t got = source->ReadAt(at, out + delivered, static_cast<size_t>(n));
                if (got < n && ShortReadIsError(*source, at, got)) return 0;
            }
        }
        position += n;
        delivered += n;
        local = 0;
    }
    return delivered;
}

uint64_t SegmentedSource::TotalLength() const {
    uint64_t total = 0;
    for (const DataExtent& e : m_extents) total = SaturatingAdd(total, e.nLength);
    return total;
}

void ReadRecoverable(const ImageFile& file, uint64_t offset, void* buffer, size_t n) {
    auto* out = static_cast<uint8_t*>(buffer);
    size_t got = file.ReadAt(offset, out, n);
    if (got == n) return;
    if (!ShortReadIsError(file, offset, got)) {
        std::memset(out + got, 0, n - got);
        return;
    }
    // Retry the rest sector by sector; a piece that still fails stays zero.
    constexpr size_t kPiece = 4096;
    size_t done = got;
    while (done < n) {
        size_t piece = std::min(kPiece, n - done);
        uint64_t at = SaturatingAdd(offset, done);
        size_t pieceGot = file.ReadAt(at, out + done, piece);
        if (pieceGot < piece) std::memset(out + done + pieceGot, 0, piece - pieceGot);
        if (pieceGot < piece && !ShortReadIsError(file, at, pieceGot)) {
            std::memset(out + done + piece, 0, n - done - piece);
            return;
        }
        done += piece;
    }
}

}  // namespace kelvara
