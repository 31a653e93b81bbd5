#pragma once
// The one way the program asks for a file name to open or to save. Callable from any thread.
#include <QList>
#include <QString>

class QWidget;

namespace kelvara {

enum class FileDialogKind { Open, Save };

struct FileDialogFilter {
    QString description;  // shown as it is
    QString pattern;      // what is matched, e.g. "*.txt"
};

struct FileDialogRequest {
    FileDialogKind kind = FileDialogKind::Open;
    QString title;  // empty: the dialog's default title
    QList<FileDialogFilter> filters;
    QString defaultSuffix;  // without the dot
    QString initialName;
    bool overwritePrompt = false;
    bool fileMustExist = false;
};

// The chosen path, or the empty string when the user cancelled.
QString ShowFileDialog(QWidget* owner, const FileDialogRequest& request);

}  // namespace kelvara
