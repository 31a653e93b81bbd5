#include "panes/file_view.h"

#include <QContextMenuEvent>
#include <QVBoxLayout>

#include "platform/control_id.h"

namespace kelvara {

CFileView::CFileView(const QString& caption, QWidget* parent) : QDockWidget(caption, parent) {
    auto* frame = new QWidget(this);
    frame->setObjectName(QStringLiteral("fileViewFrame"));
    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(1, 1, 1, 1);
    m_pTree = new CCheckTreeCtrl(frame);
    SetControlId(m_pTree, kTreeId);
    m_pTree->setObjectName(QStringLiteral("bkfTree"));
    m_pTree->Initialise();
    layout->addWidget(m_pTree);
    setWidget(frame);
    setFocusProxy(m_pTree);
}

void CFileView::contextMenuEvent(QContextMenuEvent* event) {
    // Right-clicking the pane outside the tree does nothing.
    event->accept();
}

}  // namespace kelvara
