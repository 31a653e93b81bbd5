#include "app/tree_fill.h"

#include <algorithm>

#include "engine/bkf.h"
#include "panes/check_tree_ctrl.h"
#include "panes/file_type_lookup.h"
#include "panes/pane_texts.h"
#include "panes/tree_item_ref.h"

namespace kelvara {
namespace {

QString ToQString(std::u16string_view text) {
    return QString(reinterpret_cast<const QChar*>(text.data()),
                   static_cast<qsizetype>(text.size()));
}

uint8_t CheckMark(bool checked) {
    return checked ? kChecked : kUnchecked;
}

// The children of `node` in catalogue order. The walk stops after as many steps as there are
// nodes, so a damaged sibling chain cannot run forever.
std::vector<int64_t> ChildNodes(const CVexloBKFTreeVectorClass& tree, int64_t node) {
    std::vector<int64_t> children;
    int64_t child = tree.Node(node).nFirstChild;
    while (child > 0 && tree.IsValidIndex(child) &&
           static_cast<int64_t>(children.size()) < tree.NodeCount()) {
        children.push_back(child);
        child = tree.Node(child).nNextSibling;
    }
    return children;
}

}  // namespace

bool IsPlaceholder(const CCheckTreeCtrl& tree, QTreeWidgetItem* item) {
    return item && tree.GetItemText(item) == QLatin1String(pane_texts::kPlaceholder) &&
           TreeItemRef::FromVariant(tree.GetItemData(item)).IsNone();
}

void FillTopLevel(CCheckTreeCtrl& tree, bkf& scanner) {
    CVexloBKFTreeVectorClass& nodes = scanner.Tree();
    if (!nodes.IsValidIndex(0)) return;
    std::vector<NewTreeItem> entries;
    for (int64_t index : ChildNodes(nodes, 0)) {
        BKFTREENODE& node = nodes.Node(index);
        node.bInTree = 1;
        node.byCheck = kChecked;
        entries.push_back(
            {ToQString(nodes.NodeName(index)), 0, 0, TreeItemRef::Node(index).ToVariant(), true});
    }
    tree.InsertItems(nullptr, entries, true);
}

int64_t BuildFolderChildren(CCheckTreeCtrl& tree, bkf& scanner, CFileTypeLookup& types,
                            QTreeWidgetItem* folder, int64_t node, FolderOrder order, bool checked,
                            std::vector<FileListRow>* rows) {
    CVexloBKFTreeVectorClass& nodes = scanner.Tree();
    CBkfFileTable& files = scanner.Files();
    if (!folder || !nodes.IsValidIndex(node)) return 0;
    const QString folderType = QString::fromLatin1(pane_texts::kFolderType);
    const int folderIcon = types.FolderIconIndex();

    std::vector<int64_t> children = ChildNodes(nodes, node);
    if (order == FolderOrder::OldestFirst) std::reverse(children.begin(), children.end());
    const BKFTREENODE& folderNode = nodes.Node(node);
    const int64_t firstFile = folderNode.nFirstFile;
    const int64_t lastFile = folderNode.nLastFile;
    const bool hasFiles = lastFile >= 0 && files.IsValidIndex(firstFile) &&
                          files.IsValidIndex(lastFile) && firstFile <= lastFile;
    const int64_t fileCount = hasFiles ? lastFile - firstFile + 1 : 0;

    std::vector<NewTreeItem> entries;
    entries.reserve(children.size() + static_cast<size_t>(fileCount));
    if (rows) rows->reserve(rows->size() + children.size() + static_cast<size_t>(fileCount));
    for (int64_t child : children) {
        BKFTREENODE& record = nodes.Node(child);
        record.bInTree = 1;
        record.byCheck = CheckMark(checked);
        const QString name = ToQString(nodes.NodeName(child));
        entries.push_back(
            {name, folderIcon, folderIcon, TreeItemRef::Node(child).ToVariant(), true});
        if (rows) rows->push_back({name, folderType, folderIcon});
    }
    for (int64_t index = firstFile; index < firstFile + fileCount; ++index) {
        BKFFILEREC& record = files.At(index);
        record.bInTree = 1;
        if (record.nFolder >= 0) record.byCheck = CheckMark(checked);
        const QString name = ToQString(files.Name(index));
        const int icon = types.IconIndex(name);
        entries.push_back({name, icon, icon, TreeItemRef::File(index).ToVariant(), false});
        if (rows) rows->push_back({name, types.TypeName(name), icon});
    }
    tree.InsertItems(folder, entries, checked);
    return fileCount;
}

FileListRow RowForItem(const CCheckTreeCtrl& tree, CFileTypeLookup& types, QTreeWidgetItem* item) {
    const QString text = tree.GetItemText(item);
    const bool isNode = TreeItemRef::FromVariant(tree.GetItemData(item)).IsNode();
    return {text, isNode ? QString::fromLatin1(pane_texts::kFolderType) : types.TypeName(text),
            tree.GetItemImage(item)};
}

}  // namespace kelvara
