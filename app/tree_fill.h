#pragma once
// Tree items for catalogue records: the top level after a scan or a snapshot load, and a
// folder's children the first time the user opens it. Every item carries its record's reference;
// the record is marked as shown (bInTree) and takes the item's check state (byCheck).
#include <cstdint>
#include <vector>

#include "panes/right_view_list_ctrl.h"

class QTreeWidgetItem;

namespace kelvara {

class bkf;
class CCheckTreeCtrl;
class CFileTypeLookup;

// The expand button lists child folders oldest first; the file list (and the catalogue) newest
// first.
enum class FolderOrder { OldestFirst, NewestFirst };

// The placeholder child of a folder whose children are not built yet: the text "Dummy" and no
// record, so that a real folder or file named "Dummy" is never taken for one.
bool IsPlaceholder(const CCheckTreeCtrl& tree, QTreeWidgetItem* item);

// One checked item per child of the catalogue root, in catalogue order (newest first), each with
// a placeholder child.
void FillTopLevel(CCheckTreeCtrl& tree, bkf& scanner);

// Builds the children of `folder`, an item without children that stands for node `node`: the
// child folders in `order`, each with a placeholder, then the files in file-table order, all in
// the check state `checked`. Appends the list rows for them, in tree order, to `rows` if given.
// Returns the number of files.
int64_t BuildFolderChildren(CCheckTreeCtrl& tree, bkf& scanner, CFileTypeLookup& types,
                            QTreeWidgetItem* folder, int64_t node, FolderOrder order, bool checked,
                            std::vector<FileListRow>* rows);

// The list row for an item already in the tree: its text and image, the type "Folder" for a
// catalogue node and the type name of its text for anything else.
FileListRow RowForItem(const CCheckTreeCtrl& tree, CFileTypeLookup& types, QTreeWidgetItem* item);

}  // namespace kelvara
