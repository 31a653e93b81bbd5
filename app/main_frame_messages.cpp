// The frame's handlers of the window messages from the tree pane, the file list and the workers.
#include <QCursor>

#include "app/app_messages.h"
#include "app/app_strings.h"
#include "app/app_texts.h"
#include "app/application.h"
#include "app/command_ids.h"
#include "app/main_frame.h"
#include "panes/check_tree_ctrl.h"
#include "panes/tree_item_ref.h"
#include "platform/popup_menu.h"

namespace kelvara {
namespace {

QTreeWidgetItem* ItemFrom(uintptr_t value) {
    return reinterpret_cast<QTreeWidgetItem*>(value);
}

}  // namespace

LRESULT CMainFrame::WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_BKF_SHOW_FOLDER:
            return OnShowFolder(wParam, lParam);
        case WM_BKF_TREE_MENU:
            return OnTreeMenu(wParam, lParam);
        case WM_BKF_EXPAND_ITEM:
            return OnExpandTreeItem(wParam, lParam);
        case WM_BKF_CHECK_CHANGED:
            return OnCheckChanged(wParam, lParam);
        case WM_BKF_RENAME_ITEM:
            return OnRenameItem(wParam, lParam);
        case WM_BKF_PREVIEW_ROW:
            return OnPreviewFile(wParam, lParam);
        case WM_BKF_SCAN_DONE:
            return OnScanDone(wParam, lParam);
        case WM_BKF_SCAN_PROGRESS:
            return OnScanProgress(wParam, lParam);
        case WM_BKF_STATUS_BAR:
            return OnShowJobStatus(wParam, lParam);
        default:
            return 0;
    }
}

LRESULT CMainFrame::OnShowFolder(WPARAM wParam, LPARAM lParam) {
    if (RefuseWhileBusy(app_texts::kWaitRunning)) return 0;
    return RunShowFolder(wParam, lParam);
}

LRESULT CMainFrame::OnExpandTreeItem(WPARAM wParam, LPARAM lParam) {
    if (RefuseWhileBusy(app_texts::kWaitRunning)) return 0;
    return RunExpandTreeItem(wParam, lParam);
}

LRESULT CMainFrame::OnPreviewFile(WPARAM wParam, LPARAM lParam) {
    if (RefuseWhileBusy(app_texts::kWaitRunning)) return 0;
    return RunPreviewFile(wParam, lParam);
}

LRESULT CMainFrame::OnTreeMenu(WPARAM wParam, LPARAM) {
    if (RefuseWhileBusy(app_texts::kWaitRunning)) return 0;
    const QPoint cursor = QCursor::pos();
    if (wParam == static_cast<WPARAM>(-1)) return 0;
    const int chosen = ShowPopupMenu(this, cursor,
                                     {{ID_TREE_COLLAPSE_ALL, Text(app_texts::kCollapseAll)},
                                      {ID_TREE_RENAME, Text(app_texts::kRename)}});
    if (chosen == 0) return 1;
    // A job may have started while the menu was open.
    if (RefuseWhileBusy(app_texts::kWaitRunning)) return 1;
    if (chosen == ID_TREE_COLLAPSE_ALL) {
        m_pTree->CollapseAll();
    } else if (chosen == ID_TREE_RENAME) {
        m_pTree->EditLabel(m_pTree->GetSelectedItem());
    }
    return 1;
}

LRESULT CMainFrame::OnCheckChanged(WPARAM wParam, LPARAM lParam) {
    if (IsJobRunning()) return 0;
    QTreeWidgetItem* item = ItemFrom(wParam);
    if (!item) return 1;
    const TreeItemRef ref = TreeItemRef::FromVariant(m_pTree->GetItemData(item));
    if (ref.IsNone() || !m_pScanner) return 0;
    const uint8_t state = lParam == 1 ? kChecked : kUnchecked;
    if (ref.IsFile()) {
        if (!m_pScanner->Files().IsValidIndex(ref.index)) return 0;
        BKFFILEREC& file = m_pScanner->Files().At(ref.index);
        if (file.nFolder >= 0) file.byCheck = state;
    } else {
        if (!m_pScanner->Tree().IsValidIndex(ref.index)) return 0;
        m_pScanner->Tree().Node(ref.index).byCheck = state;
    }
    return 1;
}

LRESULT CMainFrame::OnRenameItem(WPARAM wParam, LPARAM) {
    if (RefuseWhileBusy(app_texts::kWaitRunning)) return 0;
    const auto* edit = reinterpret_cast<const CheckTreeEndLabelEdit*>(wParam);
    if (!edit || !edit->hItem) return 1;
    QTreeWidgetItem* item = edit->hItem;
    // An empty or cancelled edit keeps the current name.
    QString name = edit->pszText ? *edit->pszText : QString();
    if (name.isEmpty()) name = m_pTree->GetItemText(item);

    const TreeItemRef ref = TreeItemRef::FromVariant(m_pTree->GetItemData(item));
    if (ref.IsNone() || !m_pScanner) return 1;
    const std::u16string newName = name.toStdU16String();
    if (ref.IsFile()) {
        if (!m_pScanner->Files().IsValidIndex(ref.index)) return 1;
        m_pScanner->RenameFile(ref.index, newName);
    } else {
        if (!m_pScanner->Tree().IsValidIndex(ref.index)) return 1;
        m_pScanner->Tree().RenameNode(ref.index, newName);
    }
    m_pTree->SetItemText(item, name);
    return 1;
}

// The preview comes with the preview controller.
LRESULT CMainFrame::RunPreviewFile(WPARAM, LPARAM) {
    return 1;
}

}  // namespace kelvara
