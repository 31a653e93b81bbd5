#include "panes/right_view_list_ctrl.h"

#include <QAbstractTableModel>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <optional>

#include "panes/pane_texts.h"
#include "platform/image_list.h"

namespace kelvara {

class CRightViewListModel : public QAbstractTableModel {
public:
    explicit CRightViewListModel(QObject* parent) : QAbstractTableModel(parent) {}

    int rowCount(const QModelIndex& parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
    }
    int columnCount(const QModelIndex& parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : 2;
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || index.row() >= rowCount()) return {};
        const FileListRow& row = m_rows[static_cast<size_t>(index.row())];
        switch (role) {
            case Qt::DisplayRole:
                return Cell(row, index.column());
            case Qt::ToolTipRole:
                return Cell(row, index.column()).left(CVexloRightViewListCtrl::kInfoTipSize - 1);
            case Qt::DecorationRole:
                if (index.column() == 0 && m_pImages) return m_pImages->Icon(row.image);
                return {};
            default:
                return {};
        }
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal) return {};
        // Given with the sections, so that no style sheet puts another font in its place.
        if (role == Qt::FontRole) return m_headerFont ? QVariant(*m_headerFont) : QVariant();
        if (role != Qt::DisplayRole) return {};
        if (section == 0) return QString::fromLatin1(pane_texts::kNameColumn);
        if (section == 1) return QString::fromLatin1(pane_texts::kTypeColumn);
        return {};
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override {
        return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
    }
    // Header clicks ask for this; the rows keep the order they were met in.
    void sort(int, Qt::SortOrder) override {}

    void Append(std::vector<FileListRow> rows) {
        if (rows.empty()) return;
        const int first = rowCount();
        beginInsertRows(QModelIndex(), first, first + static_cast<int>(rows.size()) - 1);
        if (m_rows.empty()) {
            m_rows = std::move(rows);
        } else {
            m_rows.insert(m_rows.end(), std::make_move_iterator(rows.begin()),
                          std::make_move_iterator(rows.end()));
        }
        endInsertRows();
    }
    void Clear() {
        beginResetModel();
        m_rows.clear();
        m_rows.shrink_to_fit();
        endResetModel();
    }
    void SetImages(const CImageList* images) {
        m_pImages = images;
        if (!m_rows.empty()) emit dataChanged(index(0, 0), index(rowCount() - 1, 0));
    }
    void SetHeaderFont(const QFont& font) {
        m_headerFont = font;
        emit headerDataChanged(Qt::Horizontal, 0, 1);
    }
    const FileListRow* Row(int row) const {
        return row >= 0 && row < rowCount() ? &m_rows[static_cast<size_t>(row)] : nullptr;
    }

private:
    static QString Cell(const FileListRow& row, int column) {
        return column == 0 ? row.text : column == 1 ? row.type : QString();
    }

    std::vector<FileListRow> m_rows;
    const CImageList* m_pImages = nullptr;
    std::optional<QFont> m_headerFont;
};

CVexloRightViewListCtrl::CVexloRightViewListCtrl(QWidget* parent) : QTableView(parent) {
    m_pModel = new CRightViewListModel(this);
    setModel(m_pModel);
    // Report view: full-row selection, grid lines, one row per line.
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(true);
    setWordWrap(false);
    setSortingEnabled(false);
    setTabKeyNavigation(false);
    setContextMenuPolicy(Qt::NoContextMenu);
    setIconSize(QSize(16, 16));
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    QHeaderView* header = horizontalHeader();
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(false);
    header->setHighlightSections(false);
    // The last column takes whatever width the others leave.
    header->setStretchLastSection(true);
    setColumnWidth(0, kNameWidth);
    setColumnWidth(1, kTypeWidth);
    header->setMinimumSectionSize(kTypeWidth / 3);
}

void CVexloRightViewListCtrl::SetImageList(const CImageList* images) {
    m_pImages = images;
    m_pModel->SetImages(images);
}

void CVexloRightViewListCtrl::SetHeaderFont(const QFont& font) {
    horizontalHeader()->setFont(font);
    m_pModel->SetHeaderFont(font);
}

void CVexloRightViewListCtrl::SetBackgroundImage(const QPixmap& picture) {
    QPalette palette = viewport()->palette();
    if (picture.isNull()) {
        palette.setBrush(QPalette::Base, this->palette().brush(QPalette::Base));
    } else {
        palette.setBrush(QPalette::Base, QBrush(picture));
    }
    viewport()->setPalette(palette);
    viewport()->setAutoFillBackground(true);
    viewport()->update();
}

void CVexloRightViewListCtrl::AppendRows(std::vector<FileListRow> rows) {
    m_pModel->Append(std::move(rows));
}

void CVexloRightViewListCtrl::DeleteAllItems() {
    m_pModel->Clear();
}

int CVexloRightViewListCtrl::GetItemCount() const {
    return m_pModel->rowCount();
}

QString CVexloRightViewListCtrl::GetItemText(int row, int column) const {
    return m_pModel->data(m_pModel->index(row, column), Qt::DisplayRole).toString();
}

int CVexloRightViewListCtrl::GetItemImage(int row) const {
    const FileListRow* r = m_pModel->Row(row);
    return r ? r->image : -1;
}

int CVexloRightViewListCtrl::GetSelectionMark() const {
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() : -1;
}

QString CVexloRightViewListCtrl::GetInfoTip(int row, int column) const {
    return m_pModel->data(m_pModel->index(row, column), Qt::ToolTipRole).toString();
}

LRESULT CVexloRightViewListCtrl::Notify(uint32_t message, WPARAM wParam, LPARAM lParam) {
    QWidget* receiver = m_pNotifyWindow ? m_pNotifyWindow.data() : MainMessageWindow();
    return SendWindowMessage(receiver, message, wParam, lParam);
}

void CVexloRightViewListCtrl::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        event->accept();  // no menu, no selection change
        return;
    }
    // The control selects the row first; then the row under the point is previewed.
    QTableView::mousePressEvent(event);
    if (event->button() != Qt::LeftButton) return;
    const QModelIndex hit = indexAt(event->position().toPoint());
    if (hit.isValid()) Notify(WM_BKF_PREVIEW_ROW, static_cast<WPARAM>(hit.row()), 0);
}

void CVexloRightViewListCtrl::PreviewSelectionMark() {
    const int mark = GetSelectionMark();
    if (mark < 0) return;
    const QModelIndex index = m_pModel->index(mark, 0);
    selectionModel()->setCurrentIndex(
        index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    Notify(WM_BKF_PREVIEW_ROW, static_cast<WPARAM>(mark), 0);
}

void CVexloRightViewListCtrl::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) PreviewSelectionMark();
    QTableView::keyPressEvent(event);
}

void CVexloRightViewListCtrl::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) PreviewSelectionMark();
    QTableView::keyReleaseEvent(event);
}

void CVexloRightViewListCtrl::contextMenuEvent(QContextMenuEvent* event) {
    event->accept();
}

}  // namespace kelvara
