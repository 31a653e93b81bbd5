#include "app/icon_button.h"

#include <QHelpEvent>
#include <QPainter>
#include <QStyleOptionButton>
#include <QToolTip>

namespace kelvara {

CIconButton::CIconButton(QWidget* parent) : QPushButton(parent) {
    setAutoDefault(false);
    setDefault(false);
    setFocusPolicy(Qt::TabFocus);
}

void CIconButton::SetIcon(const QIcon& icon, QSize size) {
    setIcon(icon);
    setIconSize(size);
    update();
}

void CIconButton::SetFlat(bool flat) {
    setFlat(flat);
}

void CIconButton::SetBorderless(bool borderless) {
    m_bBorderless = borderless;
    update();
}

void CIconButton::SetTransparent(bool transparent) {
    m_bTransparent = transparent;
    setAttribute(Qt::WA_NoSystemBackground, transparent);
    setAutoFillBackground(!transparent);
    update();
}

void CIconButton::SetColours(const QColor& foreground, const QColor& background) {
    m_foreground = foreground;
    m_background = background;
    update();
}

void CIconButton::SetTooltipText(const QString& text) {
    setToolTip(text);
}

QString CIconButton::TooltipForDisplay() const {
    const QString text = toolTip();
    if (QFontMetrics(QToolTip::font()).horizontalAdvance(text) <= kMaxTooltipWidth) return text;
    return QStringLiteral("<table width=\"%1\"><tr><td>%2</td></tr></table>")
        .arg(kMaxTooltipWidth)
        .arg(text.toHtmlEscaped());
}

bool CIconButton::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        if (toolTip().isEmpty()) {
            QToolTip::hideText();
        } else {
            QToolTip::showText(help->globalPos(), TooltipForDisplay(), this);
        }
        return true;
    }
    return QPushButton::event(event);
}

void CIconButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!m_bTransparent) {
        painter.fillRect(rect(), m_background.isValid() ? m_background : palette().button());
    }
    const bool down = isDown() || isChecked();
    if (!m_bBorderless) {
        QStyleOptionButton option;
        initStyleOption(&option);
        option.icon = QIcon();
        option.text.clear();
        style()->drawPrimitive(
            isFlat() ? QStyle::PE_FrameButtonBevel : QStyle::PE_PanelButtonCommand, &option,
            &painter, this);
    } else if (underMouse() && isEnabled()) {
        painter.setPen(m_foreground.isValid() ? m_foreground : palette().color(QPalette::Mid));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    const QIcon::Mode mode = isEnabled() ? QIcon::Normal : QIcon::Disabled;
    QRect target(QPoint(0, 0), iconSize());
    target.moveCenter(rect().center());
    if (down) target.translate(1, 1);
    icon().paint(&painter, target, Qt::AlignCenter, mode);
}

}  // namespace kelvara
