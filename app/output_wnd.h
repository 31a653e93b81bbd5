#pragma once
// The "BKF File Status" pane: a tab control with the tabs below the pages, "Log Window" (the log
// list) and "File Viewer" (the preview viewer).
#include <QDockWidget>

#include "app/custom_list_ctrl.h"

class QTabWidget;

namespace kelvara {

class COutputWnd : public QDockWidget {
    Q_OBJECT
public:
    static constexpr int kLogTab = 0;
    static constexpr int kViewerTab = 1;

    explicit COutputWnd(const QString& caption, QWidget* parent = nullptr);

    void AppendLogLine(const QString& text) { m_pLogList->AppendLogLine(text); }
    void ScrollLogToEnd() { m_pLogList->ScrollLogToEnd(); }
    void ClearLog() { m_pLogList->ClearLog(); }

    CCustomListCtrl* GetLogList() const { return m_pLogList; }
    QTabWidget* GetTabs() const { return m_pTabs; }
    // The viewer's place in the "File Viewer" tab; it shows nothing yet.
    QWidget* GetViewer() const { return m_pViewer; }
    void SetActiveTab(int tab);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    QTabWidget* m_pTabs = nullptr;
    CCustomListCtrl* m_pLogList = nullptr;
    QWidget* m_pViewer = nullptr;
};

}  // namespace kelvara
