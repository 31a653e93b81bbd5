#include "platform/file_dialog.h"

#include <QApplication>
#include <QFileDialog>
#include <QMetaObject>
#include <QPointer>
#include <QStringList>
#include <QThread>

#include "platform/ui_script.h"
#include "platform/ui_thread.h"

namespace kelvara {
namespace {

QString ShowOnUiThread(QWidget* owner, const FileDialogRequest& request) {
    QFileDialog dialog(owner, request.title);
    // The description is shown unchanged; the pattern that matches follows in its own brackets,
    // which the dialog hides.
    QStringList filters;
    for (const FileDialogFilter& filter : request.filters) {
        filters << QStringLiteral("%1 (%2)").arg(filter.description, filter.pattern);
    }
    if (!filters.isEmpty()) {
        dialog.setOption(QFileDialog::HideNameFilterDetails);
        dialog.setNameFilters(filters);
    }
    const bool save = request.kind == FileDialogKind::Save;
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save || !request.fileMustExist ? QFileDialog::AnyFile
                                                      : QFileDialog::ExistingFile);
    if (!request.overwritePrompt) dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.initialName.isEmpty()) dialog.selectFile(request.initialName);
    if (dialog.exec() != QDialog::Accepted) return {};
    const QStringList chosen = dialog.selectedFiles();
    return chosen.isEmpty() ? QString() : chosen.first();
}

}  // namespace

QString ShowFileDialog(QWidget* owner, const FileDialogRequest& request) {
    if (CUiScript* script = CUiScript::Active()) return script->AnswerFileDialog(request);

    return ShowOnUiThreadFrom(
        owner, [&](QWidget* o) { return ShowOnUiThread(o, request); }, QString());
}

}  // namespace kelvara
