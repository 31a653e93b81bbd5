#pragma once
// The splash screen: the picture without its transparent-colour pixels, the version text on it,
// shown over the frame for its display time between a fade in and a fade out, after which it
// deletes itself. A click does not close it unless CloseOnClick is set.
#include <QImage>
#include <QPointer>
#include <QWidget>

class QPropertyAnimation;
class QTimer;

namespace kelvara {

class CSplashWnd : public QWidget {
    Q_OBJECT
public:
    enum StyleFlags : unsigned {
        FadeIn = 0x1,
        FadeOut = 0x2,
        Shadow = 0x4,
        CenterScreen = 0x8,
        CloseOnClick = 0x10,
    };
    static constexpr int kFadeInMs = 500;
    static constexpr int kFadeOutMs = 200;

    CSplashWnd(QWidget* owner, const QString& text, int displayMs, unsigned flags);

    // False (and nothing to show) when the picture is null.
    bool SetBitmap(const QImage& picture, QRgb transparent);
    void SetText(const QString& text);
    // Fades in, waits the display time, fades out and deletes itself.
    void Show();

    int DisplayMs() const { return m_nDisplayMs; }
    unsigned Flags() const { return m_nFlags; }
    QString Text() const { return m_strText; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void StartDisplayTimer();
    void Finish();

    QImage m_picture;
    QString m_strText;
    int m_nDisplayMs = 0;
    unsigned m_nFlags = 0;
    QTimer* m_pTimer = nullptr;
    QPointer<QPropertyAnimation> m_pFade;
    bool m_bFinishing = false;
};

}  // namespace kelvara
