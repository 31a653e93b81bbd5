#include "platform/shell.h"

#include <QDesktopServices>
#include <cstdlib>

#include "platform/ui_script.h"

namespace kelvara {

void OpenInBrowser(const QUrl& url) {
    if (CUiScript* script = CUiScript::Active()) {
        script->RecordOpenedUrl(url);
        return;
    }
    QDesktopServices::openUrl(url);
}

void EndProcessNow(int exitCode) {
    if (CUiScript* script = CUiScript::Active()) {
        script->RecordProcessEnd(exitCode);
        return;
    }
    std::_Exit(exitCode);
}

}  // namespace kelvara
