#include "app/output_wnd.h"

#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QTabWidget>

#include "app/app_texts.h"
#include "app/command_ids.h"
#include "platform/control_id.h"

namespace kelvara {

COutputWnd::COutputWnd(const QString& caption, QWidget* parent) : QDockWidget(caption, parent) {
    m_pTabs = new QTabWidget(this);
    m_pTabs->setObjectName(QStringLiteral("outputTabs"));
    SetControlId(m_pTabs, ID_OUTPUT_TABS);
    m_pTabs->setTabPosition(QTabWidget::South);
    m_pTabs->setDocumentMode(true);
    m_pTabs->setTabsClosable(false);

    m_pLogList = new CCustomListCtrl(m_pTabs);
    m_pLogList->setObjectName(QStringLiteral("logList"));
    SetControlId(m_pLogList, ID_LOG_LIST);

    m_pViewer = new QWidget(m_pTabs);
    m_pViewer->setObjectName(QStringLiteral("fileViewer"));
    m_pViewer->setAccessibleName(QString::fromLatin1(app_texts::kViewerInitialText));
    SetControlId(m_pViewer, ID_VIEWER);

    m_pTabs->addTab(m_pLogList, QString::fromLatin1(app_texts::kLogTab));
    m_pTabs->addTab(m_pViewer, QString::fromLatin1(app_texts::kViewerTab));
    m_pTabs->setCurrentIndex(kLogTab);
    setWidget(m_pTabs);
}

void COutputWnd::SetActiveTab(int tab) {
    m_pTabs->setCurrentIndex(tab);
}

void COutputWnd::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        event->accept();
        return;
    }
    QDockWidget::mousePressEvent(event);
}

void COutputWnd::contextMenuEvent(QContextMenuEvent* event) {
    event->accept();
}

}  // namespace kelvara
