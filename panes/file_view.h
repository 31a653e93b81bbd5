#pragma once
// The "BKF File" pane: a dock that holds the check-box tree (control id 281) and gives it the
// focus. The tree pane's own behaviour is the main frame's (its window messages).
#include <QDockWidget>

#include "panes/check_tree_ctrl.h"

namespace kelvara {

class CFileView : public QDockWidget {
    Q_OBJECT
public:
    static constexpr int kTreeId = 281;

    explicit CFileView(const QString& caption, QWidget* parent = nullptr);

    CCheckTreeCtrl* GetTreeCtrl() { return m_pTree; }

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    CCheckTreeCtrl* m_pTree = nullptr;
};

}  // namespace kelvara
