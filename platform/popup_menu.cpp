#include "platform/popup_menu.h"

#include <QAction>
#include <QMenu>

#include "platform/ui_script.h"

namespace kelvara {

int ShowPopupMenu(QWidget* owner, const QPoint& globalPos, const QList<PopupMenuEntry>& entries) {
    if (CUiScript* script = CUiScript::Active()) return script->AnswerPopupMenu(entries);
    QMenu menu(owner);
    for (const PopupMenuEntry& entry : entries) menu.addAction(entry.text)->setData(entry.id);
    QAction* chosen = menu.exec(globalPos);
    return chosen ? chosen->data().toInt() : 0;
}

}  // namespace kelvara
