#pragma once
// The program's message boxes: caption "Kelvara v22.0", OK with the information icon, or a
// Yes/No question.
#include <QString>

class QWidget;

namespace kelvara {

void InfoMessage(QWidget* owner, const QString& text);
void InfoMessage(QWidget* owner, const char* text);
// True for Yes. `questionIcon` picks the question icon instead of the information icon.
bool AskYesNo(QWidget* owner, const QString& text, bool questionIcon = false);

}  // namespace kelvara
