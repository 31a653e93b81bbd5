#include "app/app_messages.h"

#include "app/app_texts.h"
#include "platform/message_box.h"

namespace kelvara {

void InfoMessage(QWidget* owner, const QString& text) {
    ShowMessageBox(owner, text, QString::fromLatin1(app_texts::kProductTitle));
}

void InfoMessage(QWidget* owner, const char* text) {
    InfoMessage(owner, QString::fromUtf8(text));
}

bool AskYesNo(QWidget* owner, const QString& text, bool questionIcon) {
    return ShowMessageBox(owner, text, QString::fromLatin1(app_texts::kProductTitle),
                          MessageBoxButtons::YesNo,
                          questionIcon ? MessageBoxIcon::Question : MessageBoxIcon::Information) ==
           MessageBoxResult::Yes;
}

}  // namespace kelvara
