#include "cli/catalogue_walk.h"

#include <algorithm>
#include <vector>

namespace kelvara::cli {

namespace {

struct Frame {
    int64_t node;
    int64_t nextChild;
};

void VisitFiles(const CBkfFileTable& files, const BKFTREENODE& node, int depth,
                CatalogueVisitor& visitor) {
    // Copies: the record is packed, its fields cannot be bound to references.
    const int64_t first = node.nFirstFile;
    const int64_t lastInRecord = node.nLastFile;
    const int64_t last = std::min(lastInRecord, files.Count() - 1);
    if (first < 0) return;
    for (int64_t k = first; k <= last; ++k) visitor.File(k, depth);
}

}  // namespace

void WalkCatalogue(const CVexloBKFTreeVectorClass& tree, const CBkfFileTable& files,
                   CatalogueVisitor& visitor) {
    if (tree.NodeCount() == 0) return;
    std::vector<bool> visited(static_cast<size_t>(tree.NodeCount()), false);
    std::vector<Frame> stack;
    visited[0] = true;
    visitor.EnterNode(0, 0);
    stack.push_back({0, tree.GetFirstChild(0)});
    while (!stack.empty()) {
        Frame& top = stack.back();
        const int depth = static_cast<int>(stack.size() - 1);
        if (top.nextChild != kNoNode) {
            const int64_t child = top.nextChild;
            if (!tree.IsValidIndex(child) || visited[static_cast<size_t>(child)]) {
                // A list that runs into a node already shown would only repeat (or circle).
                top.nextChild = kNoNode;
                continue;
            }
            top.nextChild = tree.GetNextSibling(child);
            visited[static_cast<size_t>(child)] = true;
            visitor.EnterNode(child, depth + 1);
            stack.push_back({child, tree.GetFirstChild(child)});
            continue;
        }
        VisitFiles(files, tree.Node(top.node), depth, visitor);
        visitor.LeaveNode(top.node, depth);
        stack.pop_back();
    }
}

}  // namespace kelvara::cli

namespace kelvara::cli {

const std::u16string& FilePaths::FolderPath(int64_t fileIndex) {
    const int64_t folder = m_files.At(fileIndex).nFolder;
    if (folder != m_nFolder) {
        m_nFolder = folder;
        m_strFolderPath = m_tree.IsValidIndex(folder) ? m_tree.GetNodePath(folder) : u"";
    }
    return m_strFolderPath;
}

std::u16string FilePaths::PathOf(int64_t fileIndex) {
    std::u16string path = FolderPath(fileIndex);
    path += m_files.Name(fileIndex);
    return path;
}

}  // namespace kelvara::cli
