#include "panes/check_tree_ctrl.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <algorithm>

#include "panes/pane_texts.h"
#include "platform/image_list.h"

namespace kelvara {

// Draws items as usual but never writes an edited label into the item: the main window decides
// whether a new label is taken (WM_BKF_RENAME_ITEM).
class CCheckTreeDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::initStyleOption;
    using QStyledItemDelegate::QStyledItemDelegate;
    void setModelData(QWidget*, QAbstractItemModel*, const QModelIndex&) const override {}
};

namespace {

constexpr int kImageRole = Qt::UserRole + 1;
constexpr int kSelectedImageRole = Qt::UserRole + 2;
constexpr int kItemDataRole = Qt::UserRole + 3;
// Subtrees larger than this are checked without telling the view item by item.
constexpr int kQuietSubtreeSize = 256;

}  // namespace

CCheckTreeCtrl::CCheckTreeCtrl(QWidget* parent) : QTreeWidget(parent) {
    m_pDelegate = new CCheckTreeDelegate(this);
    setItemDelegate(m_pDelegate);
    setColumnCount(1);
    setHeaderHidden(true);
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    setRootIsDecorated(true);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setAllColumnsShowFocus(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setExpandsOnDoubleClick(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_pEditTimer = new QTimer(this);
    m_pEditTimer->setSingleShot(true);
    connect(m_pEditTimer, &QTimer::timeout, this, [this] {
        QTreeWidgetItem* item = m_pPendingEdit;
        m_pPendingEdit = nullptr;
        if (item && item == currentItem()) EditLabel(item);
    });
}

void CCheckTreeCtrl::SetEditLabels(bool on) {
    m_bEditLabels = on;
    if (!on) CancelPendingEdit();
}

void CCheckTreeCtrl::CancelPendingEdit() {
    m_pEditTimer->stop();
    m_pPendingEdit = nullptr;
}

CCheckTreeCtrl::~CCheckTreeCtrl() {
    m_bDestroying = true;
    m_records.clear();
}

void CCheckTreeCtrl::Initialise() {
    DeleteAllItems();
    m_bCheckBoxes = true;
    m_bSmartCheck = true;
}

void CCheckTreeCtrl::SetCheckBoxes(bool on) {
    m_bCheckBoxes = on;
    for (auto& entry : m_records) UpdateStateImage(const_cast<QTreeWidgetItem*>(entry.first));
}

void CCheckTreeCtrl::SetImageList(const CImageList* images) {
    m_pImages = images;
    for (auto& entry : m_records) {
        auto* item = const_cast<QTreeWidgetItem*>(entry.first);
        item->setIcon(0, images ? images->Icon(item->data(0, kImageRole).toInt()) : QIcon());
    }
}

CHECKTREEDATA* CCheckTreeCtrl::Record(QTreeWidgetItem* item) {
    if (!item || m_bDestroying) return nullptr;
    auto it = m_records.find(item);
    return it == m_records.end() ? nullptr : &it->second;
}

const CHECKTREEDATA* CCheckTreeCtrl::Record(QTreeWidgetItem* item) const {
    if (!item || m_bDestroying) return nullptr;
    auto it = m_records.find(item);
    return it == m_records.end() ? nullptr : &it->second;
}

const CHECKTREEDATA* CCheckTreeCtrl::GetItemRecord(QTreeWidgetItem* item) const {
    return Record(item);
}

QWidget* CCheckTreeCtrl::NotifyWindow() const {
    return m_pNotifyWindow ? m_pNotifyWindow.data() : MainMessageWindow();
}

LRESULT CCheckTreeCtrl::Notify(uint32_t message, WPARAM wParam, LPARAM lParam) {
    return SendWindowMessage(NotifyWindow(), message, wParam, lParam);
}

QTreeWidgetItem* CCheckTreeCtrl::NewItem(const QString& text, int image, int selectedImage) const {
    auto* item = new QTreeWidgetItem;
    item->setText(0, text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
    item->setData(0, kImageRole, image);
    item->setData(0, kSelectedImageRole, selectedImage);
    if (m_pImages) item->setIcon(0, m_pImages->Icon(image));
    return item;
}

QTreeWidgetItem* CCheckTreeCtrl::InsertItem(const QString& text, int image, int selectedImage,
                                            QTreeWidgetItem* parent, TreeInsertAfter after) {
    if (m_bDestroying) return nullptr;
    if (parent && !Record(parent)) return nullptr;
    QTreeWidgetItem* item = NewItem(text, image, selectedImage);

    const int count = parent ? parent->childCount() : topLevelItemCount();
    int position = count;
    if (after.where == TreeInsertAfter::Where::First) {
        position = 0;
    } else if (after.where == TreeInsertAfter::Where::After && after.item) {
        const int index =
            parent ? parent->indexOfChild(after.item) : indexOfTopLevelItem(after.item);
        if (index >= 0) position = index + 1;
    }
    if (parent) {
        parent->insertChild(position, item);
    } else {
        insertTopLevelItem(position, item);
    }

    m_records.emplace(item, CHECKTREEDATA{});
    UpdateStateImage(item);
    // A new unchecked descendant: a fully checked ancestor is fully checked no more.
    if (m_bSmartCheck) UpdateAncestors(item, 1, 0, 0);
    return item;
}

QList<QTreeWidgetItem*> CCheckTreeCtrl::InsertItems(QTreeWidgetItem* parent,
                                                    const std::vector<NewTreeItem>& items,
                                                    bool checked) {
    QList<QTreeWidgetItem*> created;
    if (m_bDestroying || (parent && !Record(parent)) || items.empty()) return created;
    // Each item is finished before it joins the tree, so the view hears of one insertion only.
    const bool setsCheck = m_bCheckBoxes;
    QList<QTreeWidgetItem*> all;  // with placeholders, for the notices
    created.reserve(static_cast<qsizetype>(items.size()));
    m_records.reserve(m_records.size() + 2 * items.size());
    int added = 0;
    for (const NewTreeItem& entry : items) {
        QTreeWidgetItem* item = NewItem(entry.text, entry.image, entry.selectedImage);
        item->setData(0, kItemDataRole, entry.data);
        CHECKTREEDATA record;
        if (entry.placeholder) {
            QTreeWidgetItem* dummy = NewItem(QString::fromLatin1(pane_texts::kPlaceholder), -1, -1);
            item->addChild(dummy);
            CHECKTREEDATA dummyRecord;
            // Checking a folder reaches its placeholder; unchecking a new one changes nothing.
            dummyRecord.bChecked = setsCheck && m_bSmartCheck && checked;
            m_records.emplace(dummy, dummyRecord);
            UpdateStateImage(dummy);
            if (m_bSmartCheck) {
                record.nChildren = 1;
                record.nChecked = dummyRecord.bChecked ? 1 : 0;
            }
            if (dummyRecord.bChecked) all.append(dummy);
            ++added;
        }
        record.bChecked = setsCheck && checked;
        m_records.emplace(item, record);
        UpdateStateImage(item);
        created.append(item);
        all.append(item);
        ++added;
    }
    if (parent) {
        parent->insertChildren(parent->childCount(), created);
    } else {
        insertTopLevelItems(topLevelItemCount(), created);
    }
    if (m_bSmartCheck) UpdateChain(parent, added, setsCheck && checked ? added : 0, 0);
    if (setsCheck) {
        for (QTreeWidgetItem* item : all) {
            Notify(WM_BKF_CHECK_CHANGED, reinterpret_cast<WPARAM>(item), checked ? 1 : 0);
        }
    }
    return created;
}

bool CCheckTreeCtrl::DeleteItem(QTreeWidgetItem* item) {
    if (!Record(item)) return false;
    while (item->childCount() > 0) {
        QTreeWidgetItem* child = item->child(item->childCount() - 1);
        if (!DeleteItem(child)) delete child;  // an item this control did not create
    }
    DeleteOne(item);
    return true;
}

void CCheckTreeCtrl::DeleteOne(QTreeWidgetItem* item) {
    const CHECKTREEDATA record = *Record(item);
    if (m_bSmartCheck) {
        UpdateAncestors(item, -1, record.bChecked ? -1 : 0, record.bSeparator ? -1 : 0);
    }
    m_records.erase(item);
    if (m_pEditItem == item) m_pEditItem = nullptr;
    if (m_pPendingEdit == item) CancelPendingEdit();
    delete item;
}

void CCheckTreeCtrl::DeleteAllItems() {
    m_pEditItem = nullptr;
    CancelPendingEdit();
    m_records.clear();
    clear();
}

void CCheckTreeCtrl::UpdateAncestors(QTreeWidgetItem* item, int childrenDelta, int checkedDelta,
                                     int separatorsDelta) {
    UpdateChain(item->parent(), childrenDelta, checkedDelta, separatorsDelta);
}

void CCheckTreeCtrl::UpdateChain(QTreeWidgetItem* first, int childrenDelta, int checkedDelta,
                                 int separatorsDelta) {
    int d = checkedDelta;
    for (QTreeWidgetItem* p = first; p; p = p->parent()) {
        CHECKTREEDATA* rec = Record(p);
        if (!rec) continue;
        rec->nChildren = std::max(0, rec->nChildren + childrenDelta);
        rec->nSeparators = std::max(0, rec->nSeparators + separatorsDelta);
        rec->nChecked = std::max(0, rec->nChecked + d);
        // An ancestor left without descendants keeps its own flag: that is what it showed last.
        const int real = rec->nChildren - rec->nSeparators;
        if (real > 0) {
            const bool now = rec->nChecked == real;
            if (now != rec->bChecked) {
                rec->bChecked = now;
                d += now ? 1 : -1;
            }
        }
        UpdateStateImage(p);
    }
}

CheckDisplay CCheckTreeCtrl::GetCheckDisplay(QTreeWidgetItem* item) const {
    const CHECKTREEDATA* rec = Record(item);
    if (!rec) return CheckDisplay::Unchecked;
    if (m_bSmartCheck && rec->nChildren > 0) {
        if (rec->nChecked == 0) return CheckDisplay::Unchecked;
        if (rec->nChecked == rec->nChildren) return CheckDisplay::Checked;
        return CheckDisplay::TriState;
    }
    return rec->bChecked ? CheckDisplay::Checked : CheckDisplay::Unchecked;
}

bool CCheckTreeCtrl::GetCheck(QTreeWidgetItem* item) const {
    return Record(item) && GetCheckDisplay(item) == CheckDisplay::Checked;
}

void CCheckTreeCtrl::UpdateStateImage(QTreeWidgetItem* item) {
    if (!m_bCheckBoxes) {
        item->setData(0, Qt::CheckStateRole, QVariant());
        return;
    }
    Qt::CheckState state = Qt::Unchecked;
    switch (GetCheckDisplay(item)) {
        case CheckDisplay::Checked:
            state = Qt::Checked;
            break;
        case CheckDisplay::TriState:
            state = Qt::PartiallyChecked;
            break;
        case CheckDisplay::Unchecked:
            break;
    }
    if (item->data(0, Qt::CheckStateRole) != QVariant(state)) {
        item->setData(0, Qt::CheckStateRole, state);
    }
}

bool CCheckTreeCtrl::SetCheck(QTreeWidgetItem* item, bool checked) {
    if (!m_bCheckBoxes) return false;
    CHECKTREEDATA* rec = Record(item);
    if (!rec || !rec->bEnabled || rec->bSeparator) return false;
    const bool old = rec->bChecked;
    rec->bChecked = checked;
    UpdateStateImage(item);
    if (m_bSmartCheck && checked != old) {
        // The change in checked items of the subtree, the item itself included.
        const int d = checked ? rec->nChildren - rec->nChecked + 1 : -(rec->nChecked + 1);
        // Only check boxes change below: one repaint instead of a view update per item.
        const bool quiet = rec->nChildren > kQuietSubtreeSize;
        const bool wasBlocked = quiet && model()->blockSignals(true);
        SetSubtree(item, checked);
        if (quiet) {
            model()->blockSignals(wasBlocked);
            viewport()->update();
        }
        UpdateAncestors(item, 0, d, 0);
    }
    Notify(WM_BKF_CHECK_CHANGED, reinterpret_cast<WPARAM>(item), checked ? 1 : 0);
    return true;
}

void CCheckTreeCtrl::SetSubtree(QTreeWidgetItem* item, bool checked) {
    SetOneRecord(item, checked);
    for (int i = 0; i < item->childCount(); ++i) {
        QTreeWidgetItem* child = item->child(i);
        if (child->childCount() > 0) SetSubtree(child, checked);
        SetOneRecord(child, checked);
        Notify(WM_BKF_CHECK_CHANGED, reinterpret_cast<WPARAM>(child), checked ? 1 : 0);
    }
}

void CCheckTreeCtrl::SetOneRecord(QTreeWidgetItem* item, bool checked) {
    CHECKTREEDATA* rec = Record(item);
    if (!rec || !rec->bEnabled) return;
    rec->bChecked = checked;
    rec->nChecked = checked ? std::max(0, rec->nChildren - rec->nSeparators) : 0;
    UpdateStateImage(item);
}

bool CCheckTreeCtrl::EnableItem(QTreeWidgetItem* item, bool enabled) {
    CHECKTREEDATA* rec = Record(item);
    if (!rec) return false;
    rec->bEnabled = enabled;
    Qt::ItemFlags flags = item->flags();
    item->setFlags(enabled ? flags | Qt::ItemIsEnabled : flags & ~Qt::ItemIsEnabled);
    return true;
}

bool CCheckTreeCtrl::Expand(QTreeWidgetItem* item, TreeExpandCode code) {
    CHECKTREEDATA* rec = Record(item);
    if (!rec) return false;
    bool expand = false;
    switch (code) {
        case TVE_EXPAND:
            expand = true;
            break;
        case TVE_COLLAPSE:
            expand = false;
            break;
        case TVE_TOGGLE:
            expand = !rec->bExpanded;
            break;
        default:
            return false;
    }
    const bool changed = rec->bExpanded != expand;
    rec->bExpanded = expand;
    if (expand) rec->bHasBeenExpanded = true;
    if (changed) emit ItemExpandedNotify(item, expand);
    item->setExpanded(expand);
    return true;
}

void CCheckTreeCtrl::ExpandBranch(QTreeWidgetItem* item) {
    if (!Record(item) || item->childCount() == 0) return;
    Expand(item, TVE_EXPAND);
    for (int i = 0; i < item->childCount(); ++i) ExpandBranch(item->child(i));
}

void CCheckTreeCtrl::CollapseAll() {
    for (auto& entry : m_records) entry.second.bExpanded = false;
    collapseAll();
    if (QTreeWidgetItem* first = GetRootItem()) SelectItem(first);
    horizontalScrollBar()->setValue(0);
    viewport()->update();
}

bool CCheckTreeCtrl::SelectItem(QTreeWidgetItem* item) {
    if (!item) {
        setCurrentItem(nullptr);
        return true;
    }
    const CHECKTREEDATA* rec = Record(item);
    if (!rec || !rec->bEnabled) return false;
    setCurrentItem(item);
    return true;
}

QString CCheckTreeCtrl::GetItemText(QTreeWidgetItem* item) const {
    return Record(item) ? item->text(0) : QString();
}

bool CCheckTreeCtrl::SetItemText(QTreeWidgetItem* item, const QString& text) {
    const CHECKTREEDATA* rec = Record(item);
    if (!rec || rec->bSeparator) return false;
    item->setText(0, text);
    return true;
}

QVariant CCheckTreeCtrl::GetItemData(QTreeWidgetItem* item) const {
    return Record(item) ? item->data(0, kItemDataRole) : QVariant();
}

bool CCheckTreeCtrl::SetItemData(QTreeWidgetItem* item, const QVariant& data) {
    if (!Record(item)) return false;
    item->setData(0, kItemDataRole, data);
    return true;
}

int CCheckTreeCtrl::GetItemImage(QTreeWidgetItem* item) const {
    return Record(item) ? item->data(0, kImageRole).toInt() : -1;
}

QTreeWidgetItem* CCheckTreeCtrl::GetChildItem(QTreeWidgetItem* item) const {
    if (!item) return GetRootItem();
    return item->childCount() > 0 ? item->child(0) : nullptr;
}

QTreeWidgetItem* CCheckTreeCtrl::GetNextSiblingItem(QTreeWidgetItem* item) const {
    if (!item) return nullptr;
    QTreeWidgetItem* parent = item->parent();
    const int index = parent ? parent->indexOfChild(item) : indexOfTopLevelItem(item);
    if (index < 0) return nullptr;
    return parent ? parent->child(index + 1) : topLevelItem(index + 1);
}

bool CCheckTreeCtrl::EditLabel(QTreeWidgetItem* item) {
    if (!Record(item)) return false;
    scrollToItem(item);
    editItem(item, 0);
    return m_pEditItem == item;
}

bool CCheckTreeCtrl::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    const bool editing = QTreeWidget::edit(index, trigger, event);
    if (editing && !m_pEditItem) {
        m_pEditItem = itemFromIndex(index);
        m_bEditCommitted = false;
        m_strEditText.clear();
    }
    return editing;
}

void CCheckTreeCtrl::commitData(QWidget* editor) {
    // The label itself is not changed here (see the delegate); only the text is kept.
    if (auto* line = qobject_cast<QLineEdit*>(editor)) m_strEditText = line->text();
    m_bEditCommitted = true;
}

void CCheckTreeCtrl::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    QTreeWidgetItem* item = m_pEditItem;
    const bool committed = m_bEditCommitted;
    const QString text = m_strEditText;
    m_pEditItem = nullptr;
    m_bEditCommitted = false;
    m_strEditText.clear();
    // Tab must not open the next item's label.
    if (hint == QAbstractItemDelegate::EditNextItem ||
        hint == QAbstractItemDelegate::EditPreviousItem) {
        hint = QAbstractItemDelegate::SubmitModelCache;
    }
    QTreeWidget::closeEditor(editor, hint);
    if (!item) return;
    CheckTreeEndLabelEdit info{item, committed ? &text : nullptr};
    Notify(WM_BKF_RENAME_ITEM, reinterpret_cast<WPARAM>(&info), 0);
}

QRect CCheckTreeCtrl::ItemPartRect(QTreeWidgetItem* item, TreeHitFlags part) const {
    if (!Record(item)) return {};
    const QModelIndex index = indexFromItem(item, 0);
    const QRect rect = visualRect(index);
    if (!rect.isValid()) return {};
    if (part == TVHT_ONITEMBUTTON) {
        if (item->childCount() == 0 || (!item->parent() && !rootIsDecorated())) return {};
        return QRect(rect.left() - indentation(), rect.top(), indentation(), rect.height());
    }
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.rect = rect;
    m_pDelegate->initStyleOption(&option, index);
    switch (part) {
        case TVHT_ONITEMSTATEICON:
            if (!(option.features & QStyleOptionViewItem::HasCheckIndicator)) return {};
            return style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, this);
        case TVHT_ONITEMICON:
            if (!(option.features & QStyleOptionViewItem::HasDecoration)) return {};
            return style()->subElementRect(QStyle::SE_ItemViewItemDecoration, &option, this);
        case TVHT_ONITEMLABEL: {
            QRect text = style()->subElementRect(QStyle::SE_ItemViewItemText, &option, this);
            const int margin =
                style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
            const int width = option.fontMetrics.horizontalAdvance(option.text) + 2 * margin;
            text.setWidth(std::min(text.width(), width));
            return text;
        }
        default:
            return {};
    }
}

QTreeWidgetItem* CCheckTreeCtrl::HitTest(const QPoint& pos, uint32_t* flags) const {
    uint32_t result = TVHT_NOWHERE;
    // Any point of a row belongs to its item, also right of the column.
    const int columnRight = columnViewportPosition(0) + columnWidth(0);
    QTreeWidgetItem* item =
        itemAt(pos.x() < columnRight ? pos : QPoint(std::max(0, columnRight - 1), pos.y()));
    if (item && Record(item)) {
        const QRect rect = visualRect(indexFromItem(item, 0));
        if (pos.x() >= columnRight) {
            result = TVHT_ONITEMRIGHT;
        } else if (pos.x() < rect.left()) {
            result = ItemPartRect(item, TVHT_ONITEMBUTTON).contains(pos) ? TVHT_ONITEMBUTTON
                                                                         : TVHT_ONITEMINDENT;
        } else if (ItemPartRect(item, TVHT_ONITEMSTATEICON).contains(pos)) {
            result = TVHT_ONITEMSTATEICON;
        } else if (ItemPartRect(item, TVHT_ONITEMICON).contains(pos)) {
            result = TVHT_ONITEMICON;
        } else if (ItemPartRect(item, TVHT_ONITEMLABEL).contains(pos)) {
            result = TVHT_ONITEMLABEL;
        } else {
            result = TVHT_ONITEMRIGHT;
        }
    } else {
        item = nullptr;
    }
    if (flags) *flags = result;
    return item;
}

void CCheckTreeCtrl::HighlightAndSelect(QTreeWidgetItem* item) {
    if (!SelectItem(item)) return;
    item->setSelected(true);
}

void CCheckTreeCtrl::ToggleCheckFromUser(QTreeWidgetItem* item) {
    const CHECKTREEDATA* rec = Record(item);
    if (!rec || !rec->bEnabled || rec->bSeparator || m_bReadOnly || !m_bCheckBoxes) return;
    SetCheck(item, !rec->bChecked);
    if (m_bSelectFollowsCheck) SelectItem(item);
}

void CCheckTreeCtrl::mousePressEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    uint32_t flags = TVHT_NOWHERE;
    QTreeWidgetItem* hit = HitTest(pos, &flags);
    CancelPendingEdit();
    if (event->button() == Qt::LeftButton) {
        QTreeWidgetItem* selectedBefore = currentItem();
        // The tree's own handling: selection, and a click on the button toggles the item.
        QTreeWidget::mousePressEvent(event);
        if (hit) HighlightAndSelect(hit);
        if (m_bEditLabels && hit && hit == selectedBefore && flags == TVHT_ONITEMLABEL) {
            m_pPendingEdit = hit;
            m_pEditTimer->start(QApplication::doubleClickInterval());
        }
        if (hit && flags == TVHT_ONITEMSTATEICON) {
            ToggleCheckFromUser(hit);
        } else if (hit && (flags == TVHT_ONITEMLABEL || flags == TVHT_ONITEMICON)) {
            Notify(WM_BKF_SHOW_FOLDER, flags, reinterpret_cast<LPARAM>(hit));
        } else if (hit && flags == TVHT_ONITEMBUTTON) {
            Notify(WM_BKF_EXPAND_ITEM, flags, reinterpret_cast<LPARAM>(hit));
        }
        return;
    }
    if (event->button() == Qt::RightButton) {
        event->accept();
        if (topLevelItemCount() == 0) return;
        QTreeWidget::mousePressEvent(event);
        if (hit) HighlightAndSelect(hit);
        Notify(WM_BKF_TREE_MENU, flags, reinterpret_cast<LPARAM>(hit));
        return;
    }
    QTreeWidget::mousePressEvent(event);
}

void CCheckTreeCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
    // Neither expands, collapses nor edits.
    CancelPendingEdit();
    event->accept();
}

void CCheckTreeCtrl::contextMenuEvent(QContextMenuEvent* event) {
    // The right-button press already asked the main window for its menu.
    event->accept();
}

bool CCheckTreeCtrl::MoveSelection(bool down) {
    QTreeWidgetItem* item = currentItem();
    if (!item) return false;
    QTreeWidgetItem* next = down ? itemBelow(item) : itemAbove(item);
    while (next && !(Record(next) && Record(next)->bEnabled)) {
        next = down ? itemBelow(next) : itemAbove(next);
    }
    if (!next) return false;
    HighlightAndSelect(next);
    scrollToItem(next);
    Notify(WM_BKF_SHOW_FOLDER, 0, reinterpret_cast<LPARAM>(next));
    return true;
}

void CCheckTreeCtrl::keyPressEvent(QKeyEvent* event) {
    CancelPendingEdit();
    if (m_pEditItem) {
        QTreeWidget::keyPressEvent(event);
        return;
    }
    QTreeWidgetItem* selected = currentItem();
    const CHECKTREEDATA* rec = Record(selected);
    const bool keypad = event->modifiers() & Qt::KeypadModifier;
    switch (event->key()) {
        case Qt::Key_Space:
            if (m_bCheckBoxes && !m_bReadOnly) {
                if (rec && !rec->bSeparator) ToggleCheckFromUser(selected);
                event->accept();
                return;
            }
            break;
        case Qt::Key_Right:
            if (rec && rec->bEnabled && rec->nChildren > 0 && !rec->bExpanded) {
                Expand(selected, TVE_EXPAND);
                event->accept();
                return;
            }
            break;
        case Qt::Key_Left:
            if (rec && rec->bExpanded) {
                Expand(selected, TVE_COLLAPSE);
                event->accept();
                return;
            }
            break;
        case Qt::Key_Down:
        case Qt::Key_Up:
            MoveSelection(event->key() == Qt::Key_Down);
            event->accept();
            return;
        case Qt::Key_Asterisk:
            if (keypad) {
                if (rec) {
                    ExpandBranch(selected);
                    scrollToItem(selected);
                    horizontalScrollBar()->setValue(0);
                }
                event->accept();
                return;
            }
            break;
        case Qt::Key_Plus:
        case Qt::Key_Minus:
            if (keypad) {
                if (rec) Expand(selected, event->key() == Qt::Key_Plus ? TVE_EXPAND : TVE_COLLAPSE);
                event->accept();
                return;
            }
            break;
        default:
            break;
    }
    QTreeWidget::keyPressEvent(event);
}

}  // namespace kelvara
