#pragma once
// A push button that draws only its icon, optionally flat, without a border or transparent, with
// its own colours and a tooltip that can be replaced at any time (at most 400 pixels wide).
#include <QColor>
#include <QIcon>
#include <QPushButton>

namespace kelvara {

class CIconButton : public QPushButton {
    Q_OBJECT
public:
    static constexpr int kMaxTooltipWidth = 400;

    explicit CIconButton(QWidget* parent = nullptr);

    void SetIcon(const QIcon& icon, QSize size = QSize(16, 16));
    void SetFlat(bool flat);
    void SetBorderless(bool borderless);
    void SetTransparent(bool transparent);
    void SetColours(const QColor& foreground, const QColor& background);
    void SetTooltipText(const QString& text);
    QString TooltipText() const { return toolTip(); }

    bool IsBorderless() const { return m_bBorderless; }
    bool IsTransparent() const { return m_bTransparent; }

    // The tooltip as shown: long texts wrapped to kMaxTooltipWidth.
    QString TooltipForDisplay() const;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_bBorderless = false;
    bool m_bTransparent = false;
    QColor m_foreground;
    QColor m_background;
};

}  // namespace kelvara
