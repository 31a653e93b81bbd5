#pragma once
// The about dialog: banner, title, the vendor's links and notice, and OK. Enter and Escape do not
// close it; it can be dragged by any free spot of its background.
#include <QDialog>
#include <QPoint>

namespace kelvara {

class CVexloAboutDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTitleId = 1027;
    static constexpr int kWebsiteId = 1081;
    static constexpr int kSupportId = 1003;
    static constexpr int kSalesId = 1010;
    static constexpr int kNoticeId = 1026;
    static constexpr int kOkId = 1;

    explicit CVexloAboutDlg(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool m_bDragging = false;
    QPoint m_dragOffset;
};

}  // namespace kelvara
