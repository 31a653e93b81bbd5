#include "app/about_dlg.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>
#include <QWindow>

#include "app/app_images.h"
#include "app/app_texts.h"
#include "platform/control_id.h"
#include "platform/shell.h"

namespace kelvara {
namespace {

QLabel* MakeLink(QWidget* parent, int id, const QString& shown, const QString& target,
                 const char* tooltip) {
    auto* link = new QLabel(parent);
    SetControlId(link, id);
    link->setTextFormat(Qt::RichText);
    link->setText(
        QStringLiteral("<a href=\"%1\">%2</a>").arg(target.toHtmlEscaped(), shown.toHtmlEscaped()));
    link->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    link->setOpenExternalLinks(false);
    link->setToolTip(QString::fromLatin1(tooltip));
    QObject::connect(link, &QLabel::linkActivated, link,
                     [](const QString& url) { OpenInBrowser(QUrl(url)); });
    return link;
}

}  // namespace

CVexloAboutDlg::CVexloAboutDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("aboutDialog"));
    setWindowTitle(QString::fromLatin1(app_texts::kProductTitle));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 12);
    layout->setSpacing(6);

    auto* banner = new QLabel(this);
    banner->setPixmap(QPixmap::fromImage(LoadSvgImage(QStringLiteral("about_banner"))));
    layout->addWidget(banner);

    auto* body = new QVBoxLayout;
    body->setContentsMargins(16, 4, 16, 0);
    body->setSpacing(4);
    auto* title = new QLabel(QString::fromLatin1(app_texts::kProductTitle), this);
    SetControlId(title, kTitleId);
    QFont titleFont(QStringLiteral("Arial"));
    titleFont.setPixelSize(15);
    titleFont.setWeight(QFont::DemiBold);
    title->setFont(titleFont);
    body->addWidget(title);

    const QString website = QString::fromLatin1(app_texts::kVendorWebsite);
    const QString support = QString::fromLatin1(app_texts::kSupportEmail);
    const QString sales = QString::fromLatin1(app_texts::kSalesEmail);
    body->addWidget(MakeLink(this, kWebsiteId, website, website, app_texts::kWebsiteTip));
    body->addWidget(MakeLink(this, kSupportId, support, QStringLiteral("mailto:") + support,
                             app_texts::kSupportTip));
    body->addWidget(
        MakeLink(this, kSalesId, sales, QStringLiteral("mailto:") + sales, app_texts::kSalesTip));
    body->addWidget(new QLabel(QString(52, QLatin1Char('_')), this));
    auto* notice = new QLabel(QString::fromLatin1(app_texts::kVendorNotice), this);
    SetControlId(notice, kNoticeId);
    notice->setWordWrap(true);
    body->addWidget(notice);
    layout->addLayout(body);

    auto* ok = new QPushButton(QString::fromLatin1(app_texts::kOk), this);
    SetControlId(ok, kOkId);
    // Enter must not reach it: only a click (or Space on it) closes the dialog.
    ok->setAutoDefault(false);
    ok->setDefault(false);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(ok, 0, Qt::AlignHCenter);
    setFixedSize(sizeHint());
}

void CVexloAboutDlg::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
            event->accept();
            return;
        default:
            QDialog::keyPressEvent(event);
    }
}

void CVexloAboutDlg::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QDialog::mousePressEvent(event);
        return;
    }
    event->accept();
    // As a press on the caption: the window manager moves it where it can, else we do.
    if (windowHandle() && windowHandle()->startSystemMove()) return;
    m_bDragging = true;
    m_dragOffset = event->globalPosition().toPoint() - frameGeometry().topLeft();
}

void CVexloAboutDlg::mouseMoveEvent(QMouseEvent* event) {
    if (m_bDragging && (event->buttons() & Qt::LeftButton)) {
        move(event->globalPosition().toPoint() - m_dragOffset);
        event->accept();
        return;
    }
    QDialog::mouseMoveEvent(event);
}

void CVexloAboutDlg::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) m_bDragging = false;
    QDialog::mouseReleaseEvent(event);
}

}  // namespace kelvara
