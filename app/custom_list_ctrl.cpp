#include "app/custom_list_ctrl.h"

#include <QAbstractListModel>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMouseEvent>

#include "app/app_texts.h"
#include "platform/window_messages.h"

namespace kelvara {

class CLogListModel : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || index.row() >= m_rows.size()) return {};
        if (role == Qt::DisplayRole) return m_rows.at(index.row());
        return {};
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (section == 0 && orientation == Qt::Horizontal && role == Qt::DisplayRole) {
            return QString::fromLatin1(app_texts::kLogColumn);
        }
        return {};
    }

    void Append(const QString& text) {
        const int row = static_cast<int>(m_rows.size());
        beginInsertRows(QModelIndex(), row, row);
        m_rows.append(text);
        endInsertRows();
    }
    void Clear() {
        beginResetModel();
        m_rows.clear();
        endResetModel();
    }
    const QStringList& Rows() const { return m_rows; }

private:
    QStringList m_rows;
};

CCustomListCtrl::CCustomListCtrl(QWidget* parent) : QTreeView(parent) {
    m_pModel = new CLogListModel(this);
    setModel(m_pModel);
    setHeaderHidden(true);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    header()->setStretchLastSection(false);
    setColumnWidth(0, 1500);
}

void CCustomListCtrl::AppendLogLine(const QString& text) {
    SendCall(this, [this, text] { m_pModel->Append(text); });
}

void CCustomListCtrl::ScrollLogToEnd() {
    SendCall(this, [this] {
        const int rows = m_pModel->rowCount();
        if (rows > 0) scrollTo(m_pModel->index(rows - 1, 0));
    });
}

void CCustomListCtrl::ClearLog() {
    SendCall(this, [this] { m_pModel->Clear(); });
}

int CCustomListCtrl::RowCount() const {
    return m_pModel->rowCount();
}

QString CCustomListCtrl::RowText(int row) const {
    return row >= 0 && row < RowCount() ? m_pModel->Rows().at(row) : QString();
}

const QStringList& CCustomListCtrl::Rows() const {
    return m_pModel->Rows();
}

void CCustomListCtrl::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        event->accept();
        return;
    }
    QTreeView::mousePressEvent(event);
}

void CCustomListCtrl::contextMenuEvent(QContextMenuEvent* event) {
    event->accept();
}

}  // namespace kelvara
