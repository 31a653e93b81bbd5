#pragma once
// A tree with a check box on every item. Checking an item checks its whole subtree; an item with
// descendants shows checked when all of them are, unchecked when none is, and the third state
// otherwise ("smart check"). Changes are reported to the main window as WM_BKF_CHECK_CHANGED, and
// clicks, keys and label edits as the other tree messages.
#include <QPointer>
#include <QTimer>
#include <QTreeWidget>
#include <QVariant>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "platform/window_messages.h"

namespace kelvara {

class CImageList;

struct CHECKTREEDATA {
    bool bChecked = false;  // the item's own flag
    bool bEnabled = true;
    bool bSeparator = false;  // never set by this program
    bool bExpanded = false;   // what this control last did to the item
    bool bHasBeenExpanded = false;
    int nChildren = 0;    // descendants at all levels
    int nChecked = 0;     // descendants whose own flag is set
    int nSeparators = 0;  // separator descendants
};

// Hit-test flags, as reported with WM_BKF_SHOW_FOLDER, WM_BKF_TREE_MENU and WM_BKF_EXPAND_ITEM.
enum TreeHitFlags : uint32_t {
    TVHT_NOWHERE = 0x0001,
    TVHT_ONITEMICON = 0x0002,
    TVHT_ONITEMLABEL = 0x0004,
    TVHT_ONITEMINDENT = 0x0008,
    TVHT_ONITEMBUTTON = 0x0010,
    TVHT_ONITEMRIGHT = 0x0020,
    TVHT_ONITEMSTATEICON = 0x0040,
};

enum TreeExpandCode { TVE_COLLAPSE = 1, TVE_EXPAND = 2, TVE_TOGGLE = 3 };

// What a check box shows.
enum class CheckDisplay { Unchecked, Checked, TriState };

// Where InsertItem puts the new item among its siblings.
struct TreeInsertAfter {
    enum class Where { First, Last, After } where = Where::Last;
    QTreeWidgetItem* item = nullptr;
    TreeInsertAfter() = default;
    TreeInsertAfter(QTreeWidgetItem* after) : where(Where::After), item(after) {}  // NOLINT
    static TreeInsertAfter First() {
        TreeInsertAfter a;
        a.where = Where::First;
        return a;
    }
    static TreeInsertAfter Last() { return {}; }
};

// One item for InsertItems.
struct NewTreeItem {
    QString text;
    int image = -1;
    int selectedImage = -1;
    QVariant data;             // the application's value (GetItemData)
    bool placeholder = false;  // gets one child "Dummy" without image or data
};

// The end of a label edit, sent with WM_BKF_RENAME_ITEM (wParam points to it).
struct CheckTreeEndLabelEdit {
    QTreeWidgetItem* hItem = nullptr;
    const QString* pszText = nullptr;  // null when the edit was cancelled
};

class CCheckTreeDelegate;

class CCheckTreeCtrl : public QTreeWidget {
    Q_OBJECT
public:
    explicit CCheckTreeCtrl(QWidget* parent = nullptr);
    ~CCheckTreeCtrl() override;

    // Empties the tree and switches check boxes and smart check on.
    void Initialise();
    void SetCheckBoxes(bool on);
    void SetSmartCheck(bool on) { m_bSmartCheck = on; }
    void SetReadOnly(bool on) { m_bReadOnly = on; }
    void SetSelectFollowsCheck(bool on) { m_bSelectFollowsCheck = on; }
    // A click on the label of the item that is already selected starts editing that label once
    // the double-click time has passed without a second click.
    void SetEditLabels(bool on);
    // Not owned. Items show the icon of their image index.
    void SetImageList(const CImageList* images);
    // Receiver of the notifications; the application's main window when not set.
    void SetNotifyWindow(QWidget* window) { m_pNotifyWindow = window; }

    QTreeWidgetItem* InsertItem(const QString& text, int image, int selectedImage,
                                QTreeWidgetItem* parent = nullptr,
                                TreeInsertAfter after = TreeInsertAfter::Last());
    // Appends `items` as the last children of `parent` (the top level when null), all in the check
    // state `checked`: the tree, counters and WM_BKF_CHECK_CHANGED notices that InsertItem,
    // SetItemData and SetCheck would give one item at a time, in one change of the tree, so
    // that a folder of any size opens at once. Returns the new items, placeholders left out.
    QList<QTreeWidgetItem*> InsertItems(QTreeWidgetItem* parent,
                                        const std::vector<NewTreeItem>& items, bool checked);
    bool DeleteItem(QTreeWidgetItem* item);
    void DeleteAllItems();

    bool SetCheck(QTreeWidgetItem* item, bool checked);
    bool GetCheck(QTreeWidgetItem* item) const;
    CheckDisplay GetCheckDisplay(QTreeWidgetItem* item) const;
    const CHECKTREEDATA* GetItemRecord(QTreeWidgetItem* item) const;
    bool EnableItem(QTreeWidgetItem* item, bool enabled);

    bool Expand(QTreeWidgetItem* item, TreeExpandCode code);
    // Expands the item and everything below it.
    void ExpandBranch(QTreeWidgetItem* item);
    void CollapseAll();
    bool SelectItem(QTreeWidgetItem* item);

    QString GetItemText(QTreeWidgetItem* item) const;
    bool SetItemText(QTreeWidgetItem* item, const QString& text);
    QVariant GetItemData(QTreeWidgetItem* item) const;
    bool SetItemData(QTreeWidgetItem* item, const QVariant& data);
    int GetItemImage(QTreeWidgetItem* item) const;

    QTreeWidgetItem* GetRootItem() const { return topLevelItem(0); }
    QTreeWidgetItem* GetChildItem(QTreeWidgetItem* item) const;
    QTreeWidgetItem* GetNextSiblingItem(QTreeWidgetItem* item) const;
    QTreeWidgetItem* GetSelectedItem() const { return currentItem(); }
    int GetCount() const { return static_cast<int>(m_records.size()); }

    // Starts in-place editing of the label; the result comes back as WM_BKF_RENAME_ITEM.
    bool EditLabel(QTreeWidgetItem* item);
    bool IsEditingLabel() const { return m_pEditItem != nullptr; }

    // `pos` in viewport coordinates; `flags` receives the TVHT_ flags.
    QTreeWidgetItem* HitTest(const QPoint& pos, uint32_t* flags) const;
    // The viewport rectangle of one part of a visible item: TVHT_ONITEMSTATEICON, _ICON, _LABEL
    // or _BUTTON; empty when the item has no such part.
    QRect ItemPartRect(QTreeWidgetItem* item, TreeHitFlags part) const;

signals:
    // Stands for the registered message "WM_CHECKTREE_ITEM_EXPANDED".
    void ItemExpandedNotify(QTreeWidgetItem* item, bool expanded);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void commitData(QWidget* editor) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    CHECKTREEDATA* Record(QTreeWidgetItem* item);
    const CHECKTREEDATA* Record(QTreeWidgetItem* item) const;
    QWidget* NotifyWindow() const;
    LRESULT Notify(uint32_t message, WPARAM wParam, LPARAM lParam);
    void UpdateStateImage(QTreeWidgetItem* item);
    // Adds the changes to every ancestor of `item` and recomputes their own flags; a flag that
    // flips changes the count passed further up by one.
    void UpdateAncestors(QTreeWidgetItem* item, int childrenDelta, int checkedDelta,
                         int separatorsDelta);
    // The same, from `first` (an item or null) upwards.
    void UpdateChain(QTreeWidgetItem* first, int childrenDelta, int checkedDelta,
                     int separatorsDelta);
    QTreeWidgetItem* NewItem(const QString& text, int image, int selectedImage) const;
    void SetSubtree(QTreeWidgetItem* item, bool checked);
    void SetOneRecord(QTreeWidgetItem* item, bool checked);
    void DeleteOne(QTreeWidgetItem* item);
    void ToggleCheckFromUser(QTreeWidgetItem* item);
    void HighlightAndSelect(QTreeWidgetItem* item);
    bool MoveSelection(bool down);
    void CancelPendingEdit();

    std::unordered_map<const QTreeWidgetItem*, CHECKTREEDATA> m_records;
    CCheckTreeDelegate* m_pDelegate = nullptr;
    const CImageList* m_pImages = nullptr;
    QPointer<QWidget> m_pNotifyWindow;
    bool m_bCheckBoxes = true;
    bool m_bSmartCheck = true;
    bool m_bReadOnly = false;
    bool m_bSelectFollowsCheck = true;
    bool m_bDestroying = false;
    QTreeWidgetItem* m_pEditItem = nullptr;
    bool m_bEditCommitted = false;
    QString m_strEditText;
    bool m_bEditLabels = false;
    QTimer* m_pEditTimer = nullptr;
    QTreeWidgetItem* m_pPendingEdit = nullptr;
};

}  // namespace kelvara
