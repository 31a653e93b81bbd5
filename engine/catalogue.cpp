#include "engine/catalogue.h"

#include <stdexcept>

namespace kelvara {

uint32_t NameStore::Add(std::u16string_view name) {
    if (m_ends.size() > UINT32_MAX) throw std::length_error("name store too long");
    m_chars.insert(m_chars.end(), name.begin(), name.end());
    m_chars.push_back(u'\0');
    m_ends.push_back(m_chars.size());
    return static_cast<uint32_t>(m_ends.size() - 1);
}

std::u16string_view NameStore::Get(uint32_t id) const {
    if (id == 0 || id >= m_ends.size()) return {};
    uint64_t begin = m_ends[id - 1];
    return std::u16string_view(m_chars.data() + begin, m_ends[id] - begin - 1);
}

void NameStore::Clear() {
    m_chars.clear();
    m_ends.assign(1, 0);
}

size_t NameStore::MemoryBytes() const {
    return m_chars.capacity() * sizeof(char16_t) + m_ends.capacity() * sizeof(uint64_t);
}

CVexloBKFTreeVectorClass::CVexloBKFTreeVectorClass() {
    BKFTREENODE root{};
    root.pszName = m_names.Add(u"ROOT");
    root.nParent = kNoLink;
    root.nFirstChild = kNoLink;
    root.nNextSibling = kNoLink;
    root.nSelf = 0;
    root.nFirstFile = kNoLink;
    root.nLastFile = kNoLink;
    m_nodes.push_back(root);
}

int64_t CVexloBKFTreeVectorClass::AddNode(std::u16string_view name, int64_t parent) {
    if (parent < 0 || parent >= NodeCount()) return kNoNode;
    BKFTREENODE node{};
    node.pszName = m_names.Add(name);
    node.nParent = parent;
    node.nFirstChild = kNoLink;
    node.nNextSibling = kNoLink;
    node.nSelf = NodeCount();
    node.nFirstFile = kNoLink;
    node.nLastFile = kNoLink;
    const int64_t index = node.nSelf;
    if (m_nodes[parent].nFirstChild == kNoLink) m_nodes[parent].nFirstChild = index;
    m_nodes.push_back(node);
    BKFTREENODE& p = m_nodes[parent];
    if (p.nFirstChild != index) {
        m_nodes[index].nNextSibling = p.nFirstChild;
        p.nFirstChild = index;
    }
    return index;
}

int64_t CVexloBKFTreeVectorClass::GetFirstChild(int64_t index) const {
    if (!IsValidIndex(index)) return kNoNode;
    int64_t child = m_nodes[index].nFirstChild;
    if (child == kNoLink || child == 0) return kNoNode;
    return child;
}

int64_t CVexloBKFTreeVectorClass::GetNextSibling(int64_t index) const {
    if (!IsValidIndex(index)) return kNoNode;
    int64_t next = m_nodes[index].nNextSibling;
    if (next == kNoLink || next == 0 || next >= NodeCount()) return kNoNode;
    return next;
}

int64_t CVexloBKFTreeVectorClass::FindNode(std::u16string_view name, int64_t start, int depth) const {
    if (start < 0) return kNoNode;
    if (depth != 0 && IsValidIndex(start) && NodeName(start) == name) return start;
    // Pre-order walk with an explicit stack: a hostile image can nest nodes deeper than the
    // call stack would survive. Each entry is the next node to visit at its level.
    std::vector<int64_t> pending;
    int64_t current = GetFirstChild(start);
    while (true) {
        if (current < 0) {
            if (pending.empty()) return kNoNode;
            current = pending.back();
            pending.pop_back();
            continue;
        }
        if (current > 0 && NodeName(current) == name) return current;
        int64_t sibling = GetNextSibling(current);
        if (sibling >= 0) pending.push_back(sibling);
        current = GetFirstChild(current);
    }
}

int64_t CVexloBKFTreeVectorClass::FindChild(std::u16string_view name, int64_t parent) const {
    for (int64_t c = GetFirstChild(parent); c >= 0; c = GetNextSibling(c)) {
        if (NodeName(c) == name) return c;
    }
    return kNoNode;
}

std::u16string CVexloBKFTreeVectorClass::GetNodePath(int64_t index) const {
    std::vector<int64_t> stack;
    while (index != 0 && IsValidIndex(index) && stack.size() <= m_nodes.size()) {
        stack.push_back(index);
        index = m_nodes[index].nParent;
    }
    std::u16string path;
    for (auto it = stack.rbegin(); it != stack.rend(); ++it) {
        path += NodeName(*it);
        path += u'\\';
    }
    return path;
}

void CVexloBKFTreeVectorClass::RenameNode(int64_t index, std::u16string_view name) {
    if (!IsValidIndex(index)) return;
    m_nodes[index].pszName = m_names.Add(name);
}

void CVexloBKFTreeVectorClass::Clear() {
    m_nodes.clear();
    m_names.Clear();
}

void CVexloBKFTreeVectorClass::AppendRawNode(const BKFTREENODE& record, std::u16string_view name) {
    BKFTREENODE node = record;
    node.pszName = m_names.Add(name);
    m_nodes.push_back(node);
}

int64_t CBkfFileTable::Append(const BKFFILEREC& record, std::u16string_view name) {
    BKFFILEREC copy = record;
    copy.pszName = m_names.Add(name);
    m_files.push_back(copy);
    return Count() - 1;
}

void CBkfFileTable::RenameFile(int64_t index, std::u16string_view name) {
    if (!IsValidIndex(index)) return;
    m_files[index].pszName = m_names.Add(name);
}

void CBkfFileTable::Clear() {
    m_files.clear();
    m_names.Clear();
}

size_t CBkfFileTable::MemoryBytes() const {
    return m_files.capacity() * sizeof(BKFFILEREC) + m_names.MemoryBytes();
}

BKFFILEREC MakeEmptyFileRecord() {
    BKFFILEREC r{};
    r.pszName = 0;
    r.wNameSize = 0;
    r.nFolder = 0;
    r.chKind = 'F';
    r.nSelf = -1;
    return r;
}

std::u16string GetFileRelativePath(const CVexloBKFTreeVectorClass& tree, const CBkfFileTable& files,
                                   int64_t fileIndex) {
    const BKFFILEREC& rec = files.At(fileIndex);
    std::u16string path = tree.GetNodePath(rec.nFolder);
    path += files.Name(fileIndex);
    return path;
}

}  // namespace kelvara
