// The two snapshot commands: saving the current catalogue, and loading one in place of a scan.
#include <QCoreApplication>
#include <QFile>

#include "app/app_messages.h"
#include "app/app_strings.h"
#include "app/app_texts.h"
#include "app/application.h"
#include "app/main_frame.h"
#include "app/output_wnd.h"
#include "app/tree_fill.h"
#include "engine/engine_texts.h"
#include "engine/snapshot.h"
#include "extract/log_time.h"
#include "platform/file_dialog.h"
#include "platform/message_box.h"
#include "platform/wait_cursor.h"

namespace kelvara {
namespace {

FileDialogRequest SnapshotDialog(FileDialogKind kind) {
    FileDialogRequest request;
    request.kind = kind;
    request.filters = {
        {Text(app_texts::kSnapshotFilterDescription), Text(app_texts::kSnapshotFilterPattern)}};
    if (kind == FileDialogKind::Save) {
        request.defaultSuffix = Text(texts::kSnapshotExtension);
        request.overwritePrompt = true;
    } else {
        request.fileMustExist = true;
    }
    return request;
}

// A loaded catalogue shows every top-level folder checked; the marks stored below them would
// contradict the boxes, so they start over: a record without an item takes its folder's state.
void ForgetStoredChecks(bkf& scanner) {
    CVexloBKFTreeVectorClass& nodes = scanner.Tree();
    for (int64_t i = 0; i < nodes.NodeCount(); ++i) {
        nodes.Node(i).byCheck = kCheckNeverSet;
        nodes.Node(i).bInTree = 0;
    }
    CBkfFileTable& files = scanner.Files();
    for (int64_t i = 0; i < files.Count(); ++i) {
        files.At(i).byCheck = kCheckNeverSet;
        files.At(i).bInTree = 0;
    }
}

}  // namespace

void CMainFrame::RunSaveSnapshot() {
    const QString path = ShowFileDialog(this, SnapshotDialog(FileDialogKind::Save));
    if (path.isEmpty()) return;
    CWaitCursor wait;
    m_app.SetBusy(true);
    DestroyPreviewView();
    m_pOutput->SetActiveTab(COutputWnd::kLogTab);
    m_pOutput->AppendLogLine(path + Text(app_texts::kSnapshotSaving) + LogTimestamp());
    m_pOutput->AppendLogLine(QString());

    const bool saved =
        m_pScanner &&
        SaveSnapshot(*m_pScanner, QFile::encodeName(path).toStdString(), m_app.m_bBusy).ok();
    m_app.SetBusy(false);
    if (!saved) return;  // nothing logged, nothing shown
    m_pOutput->AppendLogLine(Text(app_texts::kSnapshotSaved) + LogTimestamp());
    m_pOutput->AppendLogLine(QString());
    m_pOutput->ScrollLogToEnd();
}

void CMainFrame::RunLoadSnapshot() {
    const QString path = ShowFileDialog(this, SnapshotDialog(FileDialogKind::Open));
    if (path.isEmpty()) return;
    CWaitCursor wait;
    DestroyPreviewView();
    m_pOutput->SetActiveTab(COutputWnd::kLogTab);
    QCoreApplication::processEvents();
    m_app.SetBusy(true);

    ResetRecoveryView();
    ShareImageList();
    m_pOutput->AppendLogLine(QString());
    m_pOutput->AppendLogLine(path + Text(app_texts::kSnapshotSelected) + LogTimestamp());
    m_pOutput->AppendLogLine(QString());

    std::u16string imagePath;
    const SnapshotResult result =
        LoadSnapshot(QFile::encodeName(path).toStdString(), m_app.m_bBusy, m_pScanner, imagePath);
    if (!result.ok()) {
        if (result.status == SnapshotStatus::kCannotOpenImage) {
            ShowMessageBox(this, Text(texts::kSnapshotImageCannotOpen),
                           Text(app_texts::kProductTitle), MessageBoxButtons::Ok,
                           MessageBoxIcon::None);
        }
        m_pScanner.reset();
        m_app.SetBusy(false);
        InfoMessage(this, texts::kSnapshotLoadAborted);
        return;
    }
    ForgetStoredChecks(*m_pScanner);
    FillTopLevel(*m_pTree, *m_pScanner);
    const QString bkfPath = QString::fromStdU16String(imagePath);
    m_pOutput->AppendLogLine(Text(app_texts::kSnapshotBkfName) + bkfPath);
    m_pOutput->AppendLogLine(Text(app_texts::kSnapshotLoaded) + LogTimestamp());
    m_pOutput->ScrollLogToEnd();
    m_app.m_strBkfPath = bkfPath;
    m_app.SetBusy(false);
}

}  // namespace kelvara
