#pragma once
// The view in the centre of the main window: it holds the file list, gives the list's column
// header its font and stretches the background picture over the list whenever it is resized.
#include <QFont>
#include <QImage>
#include <QWidget>

namespace kelvara {

class CVexloRightViewListCtrl;

class CVexlBKFFileRepProjView : public QWidget {
    Q_OBJECT
public:
    explicit CVexlBKFFileRepProjView(QWidget* parent = nullptr);

    CVexloRightViewListCtrl* GetListCtrl() const { return m_pList; }
    // Shown behind the rows, stretched to the view's size.
    void SetBackgroundPicture(const QImage& picture);
    const QFont& GetHeaderFont() const { return m_headerFont; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void StretchPicture();

    QFont m_headerFont;
    QImage m_picture;
    CVexloRightViewListCtrl* m_pList = nullptr;
};

}  // namespace kelvara
