#pragma once
// The one way the program shows a context menu: it returns the chosen command instead of
// sending it. User-interface thread only.
#include <QList>
#include <QPoint>
#include <QString>

class QWidget;

namespace kelvara {

struct PopupMenuEntry {
    int id = 0;
    QString text;
};

// The chosen entry's id, or 0 when the menu was dismissed.
int ShowPopupMenu(QWidget* owner, const QPoint& globalPos, const QList<PopupMenuEntry>& entries);

}  // namespace kelvara
