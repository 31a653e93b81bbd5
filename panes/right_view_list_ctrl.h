#pragma once
// The file list: the content of the folder chosen in the tree, one row per child folder or file
// with its name, type and icon, drawn over the view's picture with grid lines. A click on a row,
// and Up or Down, ask the main window to preview a row (WM_BKF_PREVIEW_ROW). Rows are never
// sorted. A table model carries the rows, so a folder of 100,000 files is listed at once.
#include <QPointer>
#include <QTableView>
#include <vector>

#include "platform/window_messages.h"

namespace kelvara {

class CImageList;
class CRightViewListModel;

struct FileListRow {
    QString text;  // "File Name"
    QString type;  // "File Type"
    int image = -1;
};

class CVexloRightViewListCtrl : public QTableView {
    Q_OBJECT
public:
    static constexpr int kId = 280;
    static constexpr int kNameWidth = 400;
    static constexpr int kTypeWidth = 150;
    // Characters an info tip holds, its terminator included.
    static constexpr int kInfoTipSize = 1024;

    explicit CVexloRightViewListCtrl(QWidget* parent = nullptr);

    // Not owned; rows show the icon of their image index.
    void SetImageList(const CImageList* images);
    const CImageList* GetImageList() const { return m_pImages; }
    // Receiver of WM_BKF_PREVIEW_ROW; the application's main window when not set.
    void SetNotifyWindow(QWidget* window) { m_pNotifyWindow = window; }
    // The column header's font.
    void SetHeaderFont(const QFont& font);
    // Drawn behind the rows, from the top left corner.
    void SetBackgroundImage(const QPixmap& picture);

    // Appends rows at the end, in order.
    void AppendRows(std::vector<FileListRow> rows);
    void DeleteAllItems();
    int GetItemCount() const;
    QString GetItemText(int row, int column) const;
    int GetItemImage(int row) const;
    // The row the keyboard works from (the current row), -1 when there is none.
    int GetSelectionMark() const;
    // The tip shown over a cell: its text, cut to the tip's size.
    QString GetInfoTip(int row, int column) const;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    LRESULT Notify(uint32_t message, WPARAM wParam, LPARAM lParam);
    // Up and Down preview the selection mark before the key moves it and again once it has.
    void PreviewSelectionMark();

    CRightViewListModel* m_pModel = nullptr;
    const CImageList* m_pImages = nullptr;
    QPointer<QWidget> m_pNotifyWindow;
};

}  // namespace kelvara
