#pragma once
// The one way the program shows a message box. Callable from any thread: a worker's box is shown
// on the user-interface thread while the worker waits for the answer.
#include <QString>

class QWidget;

namespace kelvara {

enum class MessageBoxButtons { Ok, YesNo };
enum class MessageBoxIcon { None, Information, Question };
enum class MessageBoxResult { Ok, Yes, No };

struct MessageBoxRequest {
    QString text;
    QString caption;
    MessageBoxButtons buttons = MessageBoxButtons::Ok;
    MessageBoxIcon icon = MessageBoxIcon::Information;
    bool hasOwner = false;
};

MessageBoxResult ShowMessageBox(QWidget* owner, const QString& text, const QString& caption,
                                MessageBoxButtons buttons = MessageBoxButtons::Ok,
                                MessageBoxIcon icon = MessageBoxIcon::Information);

}  // namespace kelvara
