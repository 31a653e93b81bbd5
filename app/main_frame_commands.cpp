// The ribbon's commands, the status-bar link and their update handlers.
#include <QUrl>

#include "app/about_dlg.h"
#include "app/app_messages.h"
#include "app/app_strings.h"
#include "app/app_texts.h"
#include "app/application.h"
#include "app/command_ids.h"
#include "app/log_file.h"
#include "app/main_frame.h"
#include "app/output_wnd.h"
#include "app/ribbon_bar.h"
#include "panes/check_tree_ctrl.h"
#include "platform/file_dialog.h"
#include "platform/file_error.h"
#include "platform/shell.h"

namespace kelvara {
namespace {}  // namespace

void CMainFrame::OnCommand(int id) {
    if (!IsCommandEnabled(id)) return;
    switch (id) {
        case ID_OPEN_BKF_FILE:
            OnOpenBkfFile();
            break;
        case ID_STOP_PROCESS:
            OnStopProcess();
            break;
        case ID_SAVE_RECOVERED:
            OnSaveRecovered();
            break;
        case ID_SEARCH_FILES:
            OnSearchFiles();
            break;
        case ID_SAVE_LOG:
            OnSaveLog();
            break;
        case ID_LOAD_SNAPSHOT:
            OnLoadSnapshot();
            break;
        case ID_SAVE_SNAPSHOT:
            OnSaveSnapshot();
            break;
        case ID_HELP_PAGE:
            OnHelp();
            break;
        case ID_ABOUT:
            OnAbout();
            break;
        case ID_STATUS_LINK:
            OnStatusLink();
            break;
        case ID_STATUS_PROGRESS:
        case ID_STATUS_FOUND:
        case ID_STATUS_PERCENT:
            break;  // panes that show text; handled only so they look enabled
        default:
            if (id >= ID_VIEW_APPLOOK_FIRST && id <= ID_VIEW_APPLOOK_LAST) OnApplicationLook(id);
            break;
    }
}

bool CMainFrame::IsCommandEnabled(int id) const {
    if (id == ID_STOP_PROCESS) return OnUpdateStopProcess();
    return true;
}

void CMainFrame::UpdateCommandUI() {
    if (m_pRibbon) m_pRibbon->SetCommandEnabled(ID_STOP_PROCESS, OnUpdateStopProcess());
}

bool CMainFrame::OnUpdateStopProcess() const {
    return m_app.IsBusy();
}

void CMainFrame::OnOpenBkfFile() {
    if (RefuseWhileBusy(app_texts::kBusyOpen)) return;
    RunOpenBkfFile();
}

void CMainFrame::OnStopProcess() {
    // The running job sees the cleared flag at its next step and ends its own way.
    if (AskYesNo(this, Text(app_texts::kStopQuestion), true)) m_app.SetBusy(false);
}

void CMainFrame::OnSaveRecovered() {
    if (RefuseWhileBusy(app_texts::kBusySave)) return;
    if (!m_pScanner) {
        InfoMessage(this, app_texts::kSelectBkfFile);
        return;
    }
    RunSaveRecovered();
}

void CMainFrame::OnSearchFiles() {
    if (RefuseWhileBusy(app_texts::kBusySearch)) return;
    if (!m_pScanner) {
        InfoMessage(this, app_texts::kSelectBkfFile);
        return;
    }
    if (TreeIsEmpty()) {
        InfoMessage(this, app_texts::kStartRecoveryFirst);
        return;
    }
    DestroyPreviewView();
    m_pOutput->SetActiveTab(COutputWnd::kLogTab);
    RunSearchDialog();
}

void CMainFrame::OnSaveLog() {
    if (RefuseWhileBusy(app_texts::kBusyLog)) return;
    if (TreeIsEmpty()) {
        InfoMessage(this, app_texts::kStartRecoveryFirst);
        return;
    }
    FileDialogRequest request;
    request.kind = FileDialogKind::Save;
    request.filters = {
        {Text(app_texts::kLogFilterDescription), Text(app_texts::kLogFilterPattern)}};
    request.defaultSuffix = Text(app_texts::kLogDefaultExtension);
    request.initialName = Text(app_texts::kLogInitialName);
    request.overwritePrompt = true;
    const QString path = ShowFileDialog(this, request);
    if (path.isEmpty()) return;
    if (const int error = WriteLogFile(path, m_pLogList->Rows()); error != 0) {
        InfoMessage(this, FileErrorMessage(error, path));
    }
}

void CMainFrame::OnLoadSnapshot() {
    if (RefuseWhileBusy(app_texts::kBusyLoadSnapshot)) return;
    RunLoadSnapshot();
}

void CMainFrame::OnSaveSnapshot() {
    if (RefuseWhileBusy(app_texts::kBusySaveSnapshot)) return;
    if (TreeIsEmpty()) {
        InfoMessage(this, app_texts::kSelectBkfFile);
        return;
    }
    RunSaveSnapshot();
}

void CMainFrame::OnHelp() {
    OpenInBrowser(QUrl(Text(app_texts::kHelpPage)));
}

void CMainFrame::OnAbout() {
    CVexloAboutDlg dialog(this);
    dialog.exec();
}

void CMainFrame::OnStatusLink() {
    OpenInBrowser(QUrl(Text(app_texts::kProductPage)));
}

// The work behind these commands comes with the save and search jobs and the preview.
void CMainFrame::RunSaveRecovered() {}
void CMainFrame::RunSearchDialog() {}
void CMainFrame::DestroyPreviewView() {}

}  // namespace kelvara
