#include "app/status_bar.h"

#include <QContextMenuEvent>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>

#include "platform/control_id.h"

namespace kelvara {

CMyRibbonStatusBar::CMyRibbonStatusBar(QWidget* parent) : QStatusBar(parent) {
    setObjectName(QStringLiteral("statusBar"));
    setSizeGripEnabled(false);
}

void CMyRibbonStatusBar::AddLink(int id, const QString& label, const QString& target) {
    auto* link = new QLabel(this);
    link->setText(
        QStringLiteral("<a href=\"%1\">%2</a>").arg(target.toHtmlEscaped(), label.toHtmlEscaped()));
    link->setTextFormat(Qt::RichText);
    link->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    link->setOpenExternalLinks(false);
    link->setContextMenuPolicy(Qt::PreventContextMenu);
    link->setToolTip(target);
    connect(link, &QLabel::linkActivated, this, [this, id] { emit CommandTriggered(id); });
    AddElement(id, link);
}

QWidget* CMyRibbonStatusBar::AddSeparator() {
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    addWidget(line);
    m_mainElements.append(line);
    return line;
}

void CMyRibbonStatusBar::RemoveSeparator(QWidget* separator) {
    if (!separator || !m_mainElements.removeAll(separator)) return;
    removeWidget(separator);
    separator->deleteLater();
}

void CMyRibbonStatusBar::AddElement(int id, QWidget* element) {
    SetControlId(element, id);
    addWidget(element);
    m_elements.insert(id, element);
    m_mainElements.append(element);
}

bool CMyRibbonStatusBar::RemoveElement(int id) {
    QWidget* element = m_elements.take(id);
    if (!element) return false;
    m_mainElements.removeAll(element);
    removeWidget(element);
    element->deleteLater();
    return true;
}

void CMyRibbonStatusBar::AddExtendedPane(int id, const QString& text) {
    auto* pane = new QLabel(text, this);
    SetControlId(pane, id);
    pane->setContentsMargins(8, 0, 8, 0);
    addPermanentWidget(pane);
    m_elements.insert(id, pane);
}

void CMyRibbonStatusBar::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        event->accept();
        return;
    }
    QStatusBar::mousePressEvent(event);
}

void CMyRibbonStatusBar::contextMenuEvent(QContextMenuEvent* event) {
    event->accept();
}

}  // namespace kelvara
