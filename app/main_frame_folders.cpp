// Opening folders: the expand button builds a folder's children in the tree, a click on a label
// fills the file list with the item's content (building the children the same way first).
#include "app/application.h"
#include "app/main_frame.h"
#include "app/tree_fill.h"
#include "panes/check_tree_ctrl.h"
#include "panes/right_view_list_ctrl.h"
#include "panes/tree_item_ref.h"
#include "platform/wait_cursor.h"

namespace kelvara {

LRESULT CMainFrame::RunExpandTreeItem(WPARAM, LPARAM) {
    // The tree selects the clicked item before it sends the message.
    QTreeWidgetItem* selected = m_pTree->GetSelectedItem();
    if (!selected) return 1;
    const bool checked = m_pTree->GetCheck(selected);
    const TreeItemRef ref = TreeItemRef::FromVariant(m_pTree->GetItemData(selected));
    if (!ref.IsNode() || !m_pScanner) return 1;

    // The tree opened the item for its placeholder; it stays open for the real children.
    const bool open = selected->isExpanded();
    QTreeWidgetItem* first = m_pTree->GetChildItem(selected);
    if (IsPlaceholder(*m_pTree, first)) m_pTree->DeleteItem(first);
    if (selected->childCount() > 0) return 1;  // built before: the tree only toggled it
    BuildFolderChildren(*m_pTree, *m_pScanner, m_fileTypes, selected, ref.index,
                        FolderOrder::OldestFirst, checked, nullptr);
    if (open) selected->setExpanded(true);
    return 1;
}

LRESULT CMainFrame::RunShowFolder(WPARAM, LPARAM lParam) {
    CWaitCursor wait;
    m_hCurrentFolder = reinterpret_cast<QTreeWidgetItem*>(lParam);
    FillFileList(m_hCurrentFolder);
    return 1;
}

void CMainFrame::FillFileList(QTreeWidgetItem* item) {
    m_pFileList->DeleteAllItems();
    if (!item) return;
    QTreeWidgetItem* first = m_pTree->GetChildItem(item);
    const bool checked = m_pTree->GetCheck(item);

    // The fill holds the busy flag; it is cleared on every way out.
    m_app.SetBusy(true);
    struct BusyRelease {
        CVexlBKFFileRepProjApp& app;
        ~BusyRelease() { app.SetBusy(false); }
    } release{m_app};

    std::vector<FileListRow> rows;
    try {
        if (first && !IsPlaceholder(*m_pTree, first)) {
            // Built before: list the children as the tree has them.
            const int count = item->childCount();
            rows.reserve(static_cast<size_t>(count));
            for (int i = 0; i < count; ++i) {
                rows.push_back(RowForItem(*m_pTree, m_fileTypes, item->child(i)));
            }
        } else if (!first) {
            // A file, or a folder without content: the item itself.
            if (!TreeItemRef::FromVariant(m_pTree->GetItemData(item)).IsNone()) {
                rows.push_back(RowForItem(*m_pTree, m_fileTypes, item));
            }
        } else {
            const TreeItemRef ref = TreeItemRef::FromVariant(m_pTree->GetItemData(item));
            if (ref.IsNode() && m_pScanner) {
                m_pTree->DeleteItem(first);
                if (item->childCount() == 0) {
                    const int64_t files =
                        BuildFolderChildren(*m_pTree, *m_pScanner, m_fileTypes, item, ref.index,
                                            FolderOrder::NewestFirst, checked, &rows);
                    if (files > 0) m_pTree->Expand(item, TVE_EXPAND);
                }
            }
        }
    } catch (const std::exception&) {
        // The rows found so far are still listed.
    }
    m_pFileList->AppendRows(std::move(rows));
}

}  // namespace kelvara
