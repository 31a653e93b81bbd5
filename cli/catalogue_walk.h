#pragma once
// Depth-first walk of a catalogue as the tree pane shows it: each node's children in child-list
// order (newest first), then the node's own files in file-table order. Iterative, so a catalogue
// nested a million levels deep (a TAPE block nests below the node added last) cannot exhaust the
// stack; each node is visited once even if a damaged snapshot links it twice.
#include <cstdint>
#include <string>

#include "engine/catalogue.h"

namespace kelvara::cli {

class CatalogueVisitor {
public:
    virtual ~CatalogueVisitor() = default;
    // depth 0 is the root, 1 a top-level node.
    virtual void EnterNode(int64_t node, int depth) = 0;
    // After the node's children: its files, each with the depth of the node.
    virtual void File(int64_t fileIndex, int depth) = 0;
    virtual void LeaveNode(int64_t node, int depth) = 0;
};

void WalkCatalogue(const CVexloBKFTreeVectorClass& tree, const CBkfFileTable& files,
                   CatalogueVisitor& visitor);

}  // namespace kelvara::cli

namespace kelvara::cli {

// Relative paths of files (folder path plus name, "\" separators). The folder's path is kept
// between calls, because the files of one folder follow each other in the table.
class FilePaths {
public:
    FilePaths(const CVexloBKFTreeVectorClass& tree, const CBkfFileTable& files)
        : m_tree(tree), m_files(files) {}
    const std::u16string& FolderPath(int64_t fileIndex);
    std::u16string PathOf(int64_t fileIndex);

private:
    const CVexloBKFTreeVectorClass& m_tree;
    const CBkfFileTable& m_files;
    int64_t m_nFolder = kNoNode;
    std::u16string m_strFolderPath;
};

}  // namespace kelvara::cli
