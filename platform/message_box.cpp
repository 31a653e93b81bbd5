#include "platform/message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QMetaObject>
#include <QPointer>
#include <QThread>

#include "platform/ui_script.h"
#include "platform/ui_thread.h"

namespace kelvara {
namespace {

MessageBoxResult ShowOnUiThread(QWidget* owner, const MessageBoxRequest& request) {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    if (request.icon == MessageBoxIcon::Information) icon = QMessageBox::Information;
    if (request.icon == MessageBoxIcon::Question) icon = QMessageBox::Question;
    const bool yesNo = request.buttons == MessageBoxButtons::YesNo;
    QMessageBox box(icon, request.caption, request.text,
                    yesNo ? (QMessageBox::Yes | QMessageBox::No) : QMessageBox::Ok, owner);
    const int answer = box.exec();
    if (!yesNo) return MessageBoxResult::Ok;
    return answer == QMessageBox::Yes ? MessageBoxResult::Yes : MessageBoxResult::No;
}

}  // namespace

MessageBoxResult ShowMessageBox(QWidget* owner, const QString& text, const QString& caption,
                                MessageBoxButtons buttons, MessageBoxIcon icon) {
    MessageBoxRequest request{text, caption, buttons, icon, owner != nullptr};
    if (CUiScript* script = CUiScript::Active()) return script->AnswerMessageBox(request);

    return ShowOnUiThreadFrom(
        owner, [&](QWidget* o) { return ShowOnUiThread(o, request); }, MessageBoxResult::Ok);
}

}  // namespace kelvara
