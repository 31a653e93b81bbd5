#include "engine/snapshot.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "engine/mtf.h"
#include "engine/text.h"

namespace kelvara {

namespace {

constexpr uint8_t kKindNode = 'T';
constexpr uint8_t kKindFile = 'F';
constexpr uint8_t kKindEnd = 'E';
constexpr size_t kEntryHeaderSize = 9;
constexpr uint32_t kMaxPathBytes = 65536;

struct FileCloser {
    void operator()(std::FILE* f) const {
        if (f) std::fclose(f);
    }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

std::vector<uint8_t> NameBytes(std::u16string_view name) {
    std::vector<uint8_t> bytes;
    bytes.reserve(name.size() * 2 + 2);
    for (char16_t c : name) {
        bytes.push_back(static_cast<uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<uint8_t>(c >> 8));
    }
    bytes.push_back(0);
    bytes.push_back(0);
    return bytes;
}

void PutLE32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

class Writer {
public:
    explicit Writer(std::FILE* f) : m_f(f) {}
    bool Put(const void* data, size_t n) {
        if (m_failed) return false;
        if (n && std::fwrite(data, 1, n, m_f) != n) {
            m_failed = true;
            m_reason = std::strerror(errno);
        }
        return !m_failed;
    }
    bool Entry(uint8_t kind, const void* record, size_t recordSize, std::u16string_view name) {
        std::vector<uint8_t> nameBytes = NameBytes(name);
        uint8_t header[kEntryHeaderSize] = {kind};
        PutLE32(header + 1, static_cast<uint32_t>(nameBytes.size()));
        return Put(header, sizeof header) && Put(record, recordSize) &&
               Put(nameBytes.data(), nameBytes.size());
    }
    bool End() {
        uint8_t header[kEntryHeaderSize] = {kKindEnd};
        return Put(header, sizeof header);
    }
    bool failed() const { return m_failed; }
    const std::string& reason() const { return m_reason; }

private:
    std::FILE* m_f;
    bool m_failed = false;
    std::string m_reason;
};

class Reader {
public:
    explicit Reader(std::FILE* f) : m_f(f) {}
    bool Get(void* data, size_t n) { return n == 0 || std::fread(data, 1, n, m_f) == n; }
    bool Name(uint32_t byteCount, std::u16string& name) {
        m_bytes.resize(byteCount);
        if (!Get(m_bytes.data(), byteCount)) return false;
        name = TakeName(m_bytes.data(), byteCount);
        return true;
    }

private:
    std::FILE* m_f;
    std::vector<uint8_t> m_bytes;
};

bool IsLinkOrNone(int64_t link, int64_t low, int64_t high) {
    return link == kNoLink || link == 0 || (link > low && link < high);
}

// Links as the scanners make them: parents and older siblings come before a node, children
// after it. Anything else could send a path or tree walk round in circles.
bool LinksAreConsistent(const CVexloBKFTreeVectorClass& tree, const CBkfFileTable& files) {
    const int64_t nodes = tree.NodeCount();
    const int64_t fileCount = files.Count();
    if (nodes == 0) return false;
    for (int64_t i = 0; i < nodes; ++i) {
        const BKFTREENODE& n = tree.Node(i);
        if (n.nSelf != i) return false;
        if (i == 0 ? n.nParent != kNoLink : (n.nParent < 0 || n.nParent >= i)) return false;
        if (!IsLinkOrNone(n.nFirstChild, i, nodes)) return false;
        if (!IsLinkOrNone(n.nNextSibling, 0, i)) return false;
        if (n.nFirstFile != kNoLink && (n.nFirstFile < 0 || n.nFirstFile >= fileCount)) return false;
        if (n.nLastFile != kNoLink && (n.nLastFile < 0 || n.nLastFile >= fileCount)) return false;
    }
    for (int64_t i = 0; i < fileCount; ++i) {
        const BKFFILEREC& f = files.At(i);
        if (f.nFolder < 0 || f.nFolder >= nodes) return false;
    }
    return true;
}

SnapshotResult Fail(SnapshotStatus status, std::string reason) { return {status, std::move(reason)}; }

}  // namespace

SnapshotResult SaveSnapshot(const bkf& scanner, const std::string& snapshotPath,
                            const std::atomic<int32_t>& busyFlag) {
    FilePtr file(std::fopen(snapshotPath.c_str(), "wb"));
    if (!file) return Fail(SnapshotStatus::kCannotCreate, std::strerror(errno));
    Writer out(file.get());
    auto busy = [&] { return busyFlag.load(std::memory_order_relaxed) != 0; };

    std::vector<uint8_t> path = NameBytes(Utf8ToUtf16(scanner.Image().Path()));
    uint8_t length[4];
    PutLE32(length, static_cast<uint32_t>(path.size()));
    out.Put(length, 4);
    out.Put(path.data(), path.size());

    const CVexloBKFTreeVectorClass& tree = scanner.Tree();
    const int64_t nodeCount = tree.NodeCount();
    for (int64_t i = 0; i < nodeCount && busy() && !out.failed(); ++i) {
        BKFTREENODE record = tree.Node(i);
        record.pszName = 0;  // meaningless in the file
        out.Entry(kKindNode, &record, sizeof record, tree.NodeName(i));
    }
    out.End();
    const CBkfFileTable& files = scanner.Files();
    const int64_t fileCount = files.Count();
    for (int64_t i = 0; i < fileCount && busy() && !out.failed(); ++i) {
        BKFFILEREC record = files.At(i);
        record.pszName = 0;
        out.Entry(kKindFile, &record, sizeof record, files.Name(i));
    }
    out.End();
    if (out.failed()) return Fail(SnapshotStatus::kCannotCreate, out.reason());
    std::FILE* raw = file.release();
    if (std::fclose(raw) != 0) return Fail(SnapshotStatus::kCannotCreate, std::strerror(errno));
    return {};
}

SnapshotResult LoadSnapshot(const std::string& snapshotPath, const std::atomic<int32_t>& busyFlag,
                            std::unique_ptr<bkf>& scanner, std::u16string& imagePath) {
    FilePtr file(std::fopen(snapshotPath.c_str(), "rb"));
    if (!file) return Fail(SnapshotStatus::kCannotOpen, std::strerror(errno));
    Reader in(file.get());
    auto busy = [&] { return busyFlag.load(std::memory_order_relaxed) != 0; };
    const SnapshotResult cutShort = Fail(SnapshotStatus::kCorrupt, "the snapshot file is cut short");

    scanner.reset();
    auto fresh = std::make_unique<bkf>(busyFlag);
    fresh->Tree().Clear();

    uint8_t lengthBytes[4];
    if (!in.Get(lengthBytes, 4)) return cutShort;
    uint32_t pathBytes = ReadLE32(lengthBytes);
    if (pathBytes > kMaxPathBytes) return Fail(SnapshotStatus::kCorrupt, "the stored path is too long");
    std::u16string path;
    if (!in.Name(pathBytes, path)) return cutShort;
    imagePath = path;
    if (!fresh->OpenImage(Utf16ToUtf8(path))) {
        return Fail(SnapshotStatus::kCannotOpenImage, fresh->ImageError());
    }

    uint8_t header[kEntryHeaderSize];
    std::u16string name;
    while (busy()) {
        if (!in.Get(header, kEntryHeaderSize)) return cutShort;
        if (header[0] == kKindEnd) break;
        BKFTREENODE record{};
        if (!in.Get(&record, sizeof record)) return cutShort;
        uint32_t nameBytes = ReadLE32(header + 1);
        if (nameBytes >= kSnapshotMaxNameBytes) {
            return Fail(SnapshotStatus::kCorrupt, "a folder name is 4096 bytes or longer");
        }
        if (!in.Name(nameBytes, name)) return cutShort;
        fresh->Tree().AppendRawNode(record, name);
    }
    while (busy()) {
        if (!in.Get(header, kEntryHeaderSize)) return cutShort;
        if (header[0] == kKindEnd) break;
        BKFFILEREC record = MakeEmptyFileRecord();
        if (!in.Get(&record, sizeof record)) return cutShort;
        uint32_t nameBytes = ReadLE32(header + 1);
        if (nameBytes >= kSnapshotMaxNameBytes) {
            return Fail(SnapshotStatus::kCorrupt, "a file name is 4096 bytes or longer");
        }
        if (!in.Name(nameBytes, name)) return cutShort;
        fresh->Files().Append(record, name);
    }
    if (std::ferror(file.get())) return Fail(SnapshotStatus::kCorrupt, std::strerror(errno));
    if (!LinksAreConsistent(fresh->Tree(), fresh->Files())) {
        return Fail(SnapshotStatus::kCorrupt, "the snapshot's records do not link up");
    }
    scanner = std::move(fresh);
    return {};
}

}  // namespace kelvara
