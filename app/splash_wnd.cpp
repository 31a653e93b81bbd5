#include "app/splash_wnd.h"

#include <QApplication>
#include <QBitmap>
#include <QMouseEvent>
#include <QPainter>
#include <QPropertyAnimation>
#include <QScreen>
#include <QTimer>

namespace kelvara {
namespace {

// Platforms without window opacity show and hide the splash at once instead of fading.
bool WindowFadeSupported() {
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

}  // namespace

CSplashWnd::CSplashWnd(QWidget* owner, const QString& text, int displayMs, unsigned flags)
    : QWidget(owner, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                         Qt::WindowDoesNotAcceptFocus),
      m_strText(text),
      m_nDisplayMs(displayMs),
      m_nFlags(flags) {
    setObjectName(QStringLiteral("splash"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_DeleteOnClose);
    setCursor(Qt::ArrowCursor);
    m_pTimer = new QTimer(this);
    m_pTimer->setSingleShot(true);
    connect(m_pTimer, &QTimer::timeout, this, &CSplashWnd::Finish);
}

bool CSplashWnd::SetBitmap(const QImage& picture, QRgb transparent) {
    if (picture.isNull()) return false;
    m_picture = picture.convertToFormat(QImage::Format_RGB32);
    setFixedSize(m_picture.size());
    const QImage mask = m_picture.createMaskFromColor(transparent | 0xFF000000u, Qt::MaskInColor);
    setMask(QBitmap::fromImage(mask));
    if (m_nFlags & CenterScreen) {
        if (QScreen* screen = QApplication::primaryScreen()) {
            move(screen->availableGeometry().center() - rect().center());
        }
    }
    return true;
}

void CSplashWnd::SetText(const QString& text) {
    m_strText = text;
    update();
}

void CSplashWnd::Show() {
    if ((m_nFlags & FadeIn) && WindowFadeSupported()) {
        setWindowOpacity(0.0);
        show();
        auto* fade = new QPropertyAnimation(this, "windowOpacity", this);
        fade->setDuration(kFadeInMs);
        fade->setStartValue(0.0);
        fade->setEndValue(1.0);
        connect(fade, &QPropertyAnimation::finished, this, &CSplashWnd::StartDisplayTimer);
        m_pFade = fade;
        fade->start(QAbstractAnimation::DeleteWhenStopped);
    } else {
        show();
        StartDisplayTimer();
    }
}

void CSplashWnd::StartDisplayTimer() {
    m_pTimer->start(m_nDisplayMs);
}

void CSplashWnd::Finish() {
    if (m_bFinishing) return;
    m_bFinishing = true;
    m_pTimer->stop();
    if (!(m_nFlags & FadeOut) || !WindowFadeSupported()) {
        close();
        return;
    }
    auto* fade = new QPropertyAnimation(this, "windowOpacity", this);
    fade->setDuration(kFadeOutMs);
    fade->setStartValue(windowOpacity());
    fade->setEndValue(0.0);
    connect(fade, &QPropertyAnimation::finished, this, &QWidget::close);
    m_pFade = fade;
    fade->start(QAbstractAnimation::DeleteWhenStopped);
}

void CSplashWnd::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, m_picture);
    QFont font = QApplication::font();
    font.setPixelSize(25);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, m_strText);
}

void CSplashWnd::mousePressEvent(QMouseEvent* event) {
    event->accept();
    if (m_nFlags & CloseOnClick) Finish();
}

}  // namespace kelvara
