#include "panes/file_list_view.h"

#include <QPixmap>
#include <QVBoxLayout>

#include "panes/pane_texts.h"
#include "panes/right_view_list_ctrl.h"
#include "platform/control_id.h"

namespace kelvara {

CVexlBKFFileRepProjView::CVexlBKFFileRepProjView(QWidget* parent) : QWidget(parent) {
    m_headerFont = QFont(QString::fromLatin1(pane_texts::kHeaderFont));
    m_headerFont.setPixelSize(16);
    m_headerFont.setWeight(QFont::Bold);

    m_pList = new CVexloRightViewListCtrl(this);
    m_pList->setObjectName(QStringLiteral("fileList"));
    SetControlId(m_pList, CVexloRightViewListCtrl::kId);
    m_pList->SetHeaderFont(m_headerFont);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_pList);
    setFocusProxy(m_pList);
}

void CVexlBKFFileRepProjView::SetBackgroundPicture(const QImage& picture) {
    m_picture = picture;
    StretchPicture();
}

void CVexlBKFFileRepProjView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    StretchPicture();
}

void CVexlBKFFileRepProjView::StretchPicture() {
    const QSize size = this->size();
    if (m_picture.isNull() || size.isEmpty()) {
        m_pList->SetBackgroundImage(QPixmap());
        return;
    }
    m_pList->SetBackgroundImage(QPixmap::fromImage(
        m_picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
}

}  // namespace kelvara
