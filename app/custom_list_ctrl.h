#pragma once
// The log list: one header-less column of text rows, single selection, no context menu. Any
// thread may append; the calls run on the user-interface thread while the caller waits.
#include <QStringList>
#include <QTreeView>

namespace kelvara {

class CLogListModel;

class CCustomListCtrl : public QTreeView {
    Q_OBJECT
public:
    explicit CCustomListCtrl(QWidget* parent = nullptr);

    // Adds a row after the last one; the empty text adds an empty line.
    void AppendLogLine(const QString& text);
    // Makes the last row visible, if there is one.
    void ScrollLogToEnd();
    void ClearLog();

    // User-interface thread.
    int RowCount() const;
    QString RowText(int row) const;
    const QStringList& Rows() const;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    CLogListModel* m_pModel = nullptr;
};

}  // namespace kelvara
