#include "panes/file_view.h"

#include <QContextMenuEvent>
#include <QFrame>
#include <QVBoxLayout>

#include "platform/control_id.h"

namespace kelvara {

CFileView::CFileView(const QString& caption, QWidget* parent) : QDockWidget(caption, parent) {
    // A one-pixel frame in the shadow colour around the tree.
    auto* frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("fileViewFrame"));
    frame->setFrameStyle(QFrame::Box | QFrame::Plain);
    frame->setLineWidth(1);
    QPalette palette = frame->palette();
    palette.setColor(QPalette::WindowText, palette.color(QPalette::Dark));
    frame->setPalette(palette);
    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(0, 0, 0, 0);
    m_pTree = new CCheckTreeCtrl(frame);
    SetControlId(m_pTree, kTreeId);
    m_pTree->setObjectName(QStringLiteral("bkfTree"));
    m_pTree->setFrameShape(QFrame::NoFrame);
    m_pTree->Initialise();
    // Labels are edited in place: from the menu's "Rename", or by clicking the selected label.
    m_pTree->SetEditLabels(true);
    layout->addWidget(m_pTree);
    setWidget(frame);
    setFocusProxy(m_pTree);
}

void CFileView::contextMenuEvent(QContextMenuEvent* event) {
    // Right-clicking the pane outside the tree does nothing.
    event->accept();
}

}  // namespace kelvara
