#pragma once
// The recovered-item catalogue: container nodes and the file table, flat vectors of packed records
// linked by 64-bit indices. The records are also the snapshot file format, hence the packing.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kelvara {

#pragma pack(push, 1)
struct BKFTREENODE {
    uint32_t pszName;  // name id in the owning catalogue's name store
    int64_t nParent;
    int64_t nFirstChild;
    int64_t nNextSibling;
    int64_t nSelf;
    int64_t nFirstFile;
    int64_t nLastFile;
    uint8_t byCheck;  // 0 never set, 1 checked, 2 unchecked
    uint8_t bInTree;
};

struct BKFFILEREC {
    uint32_t pszName;  // name id in the file table's name store
    uint16_t wNameSize;
    int64_t nFolder;
    char chKind;  // always 'F'
    int64_t nSelf;
    uint64_t nDataOffset;
    uint64_t nDataSize;
    uint8_t byCheck;
    uint8_t bInTree;
};
#pragma pack(pop)
static_assert(sizeof(BKFTREENODE) == 54, "BKFTREENODE is a file format");
static_assert(sizeof(BKFFILEREC) == 41, "BKFFILEREC is a file format");

constexpr int64_t kNoLink = -1;  // inside records
constexpr int64_t kNoNode = -2;  // returned by operations

enum CheckState : uint8_t { kCheckNeverSet = 0, kChecked = 1, kUnchecked = 2 };

// One growing UTF-16 arena; a name id stands where a record keeps its name pointer. Id 0 is the
// null name. Renaming appends a new name; the old text stays until the store dies.
class NameStore {
public:
    uint32_t Add(std::u16string_view name);
    std::u16string_view Get(uint32_t id) const;
    void Clear();
    size_t MemoryBytes() const;

private:
    std::vector<char16_t> m_chars;
    std::vector<uint64_t> m_ends{0};  // m_ends[id] is one past the NUL of name id
};

class CVexloBKFTreeVectorClass {
public:
    CVexloBKFTreeVectorClass();

    int64_t AddNode(std::u16string_view name, int64_t parent);
    int64_t GetFirstChild(int64_t index) const;
    int64_t GetNextSibling(int64_t index) const;
    // Depth-first over the whole subtree of `start`, newest child first; depth 0 skips `start`.
    int64_t FindNode(std::u16string_view name, int64_t start, int depth) const;
    // Only the direct children of `parent`, newest first.
    int64_t FindChild(std::u16string_view name, int64_t parent) const;
    // Names from the top-level node down, each followed by a backslash; empty for the root.
    std::u16string GetNodePath(int64_t index) const;
    void RenameNode(int64_t index, std::u16string_view name);

    int64_t NodeCount() const { return static_cast<int64_t>(m_nodes.size()); }
    bool IsValidIndex(int64_t index) const { return index >= 0 && index < NodeCount(); }
    BKFTREENODE& Node(int64_t index) { return m_nodes.at(static_cast<size_t>(index)); }
    const BKFTREENODE& Node(int64_t index) const { return m_nodes.at(static_cast<size_t>(index)); }
    std::u16string_view NodeName(int64_t index) const { return m_names.Get(Node(index).pszName); }

    // Snapshot loading: drop everything (the root too), then append raw records.
    void Clear();
    void AppendRawNode(const BKFTREENODE& record, std::u16string_view name);

private:
    std::vector<BKFTREENODE> m_nodes;
    NameStore m_names;
};

// The file table: the scanner's list of recovered files.
class CBkfFileTable {
public:
    // Appends the record with its name; returns its index. The caller fills every field.
    int64_t Append(const BKFFILEREC& record, std::u16string_view name);
    int64_t Count() const { return static_cast<int64_t>(m_files.size()); }
    bool IsValidIndex(int64_t index) const { return index >= 0 && index < Count(); }
    BKFFILEREC& At(int64_t index) { return m_files.at(static_cast<size_t>(index)); }
    const BKFFILEREC& At(int64_t index) const { return m_files.at(static_cast<size_t>(index)); }
    std::u16string_view Name(int64_t index) const { return m_names.Get(At(index).pszName); }
    // wNameSize keeps the size the FILE block gave.
    void RenameFile(int64_t index, std::u16string_view name);
    void Clear();
    size_t MemoryBytes() const;

private:
    std::vector<BKFFILEREC> m_files;
    NameStore m_names;
};

// A fresh file record: no name, no data, nSelf -1, kind 'F'.
BKFFILEREC MakeEmptyFileRecord();

// Relative path of a file as the save and search code show it: folder path plus name.
std::u16string GetFileRelativePath(const CVexloBKFTreeVectorClass& tree, const CBkfFileTable& files,
                                   int64_t fileIndex);

}  // namespace kelvara
