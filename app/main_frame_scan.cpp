// The frame's side of the scan job: the Open command, the reset before a scan, and the status-bar
// elements and progress display of the running job.
#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLayout>
#include <QProgressBar>
#include <memory>

#include "app/app_messages.h"
#include "app/app_strings.h"
#include "app/app_texts.h"
#include "app/application.h"
#include "app/command_ids.h"
#include "app/main_frame.h"
#include "app/output_wnd.h"
#include "app/range_slider_dlg.h"
#include "app/status_bar.h"
#include "engine/scanner_host.h"
#include "extract/log_time.h"
#include "panes/check_tree_ctrl.h"
#include "panes/right_view_list_ctrl.h"
#include "platform/file_dialog.h"
#include "platform/temp_folder.h"
#include "platform/wait_cursor.h"

namespace kelvara {
namespace {

// A pane whose initial text only reserves its width.
QLabel* MakeJobPane(QWidget* parent, const char* initialText) {
    auto* pane = new QLabel(Text(initialText), parent);
    pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance(pane->text()) + 8);
    return pane;
}

// The percent as the bar shows it: the fraction dropped.
int BarPosition(float percent) {
    if (!(percent > 0.0f)) return 0;  // NaN too
    return percent >= 100.0f ? 100 : static_cast<int>(percent);
}

}  // namespace

void CMainFrame::RunOpenBkfFile() {
    FileDialogRequest request;
    request.kind = FileDialogKind::Open;
    request.filters = {
        {Text(app_texts::kOpenFilterDescription), Text(app_texts::kOpenFilterPattern)}};
    request.defaultSuffix = Text(app_texts::kOpenDefaultExtension);
    request.initialName = Text(app_texts::kOpenInitialName);
    request.fileMustExist = true;
    QString path = ShowFileDialog(this, request);
    if (path.isEmpty()) return;
    path = path.trimmed();

    if (!path.contains(Text(app_texts::kBkfExtension), Qt::CaseSensitive) ||
        !QFileInfo(path).isFile()) {
        InfoMessage(this, app_texts::kSelectValidBkf);
        return;
    }
    m_app.m_strFileSize = GetBkfFileSize(path);

    {
        CVexloRangeSliderDlg dialog(m_app, this);
        if (dialog.exec() != QDialog::Accepted) {
            InfoMessage(this, app_texts::kSelectRecoveryMode);
            return;
        }
    }

    // From here on the previous scan is discarded.
    CWaitCursor wait;
    m_app.m_strBkfPath = path;
    DestroyPreviewView();
    ShareImageList();
    ResetRecoveryView();

    COutputWnd* log = m_pOutput;
    log->ClearLog();
    log->AppendLogLine(QString());
    log->AppendLogLine(path + Text(app_texts::kLogFileSelected));
    log->AppendLogLine(QString());
    log->AppendLogLine(Text(app_texts::kLogFileSize) + m_app.m_strFileSize);
    log->AppendLogLine(QString());
    log->AppendLogLine(Text(app_texts::kLogRecoveryStarts) + LogTimestamp());
    log->AppendLogLine(QString());
    log->ScrollLogToEnd();
    log->SetActiveTab(COutputWnd::kLogTab);

    m_app.SetBusy(true);
    SendWindowMessage(this, WM_BKF_STATUS_BAR, 1, 0);
    if (m_pProgressBar) {
        m_pProgressBar->setRange(0, 100);
        m_pProgressBar->setValue(0);
    }
    ClearPreviewFolder();
    m_scanThread.Start(this);
}

void CMainFrame::ResetRecoveryView() {
    m_pFileList->DeleteAllItems();
    m_pTree->DeleteAllItems();
    // The items it could point to are gone.
    m_hCurrentFolder = nullptr;
    m_pScanner.reset();
}

QString CMainFrame::GetBkfFileSize(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return QString();
    return QString::number(file.size());
}

LRESULT CMainFrame::OnShowJobStatus(WPARAM wParam, LPARAM) {
    if (wParam != 0) {
        AddJobStatusElements();
    } else {
        RemoveJobStatusElements();
    }
    if (QLayout* frameLayout = layout()) frameLayout->activate();
    update();
    return 1;
}

void CMainFrame::AddJobStatusElements() {
    if (m_pProgressBar) return;  // already shown
    m_pProgressBar = new QProgressBar(m_pStatusBar);
    m_pProgressBar->setFixedSize(550, 26);
    m_pProgressBar->setRange(0, 100);
    m_pProgressBar->setValue(0);
    m_pProgressBar->setTextVisible(false);
    m_pStatusBar->AddElement(ID_STATUS_PROGRESS_BAR, m_pProgressBar);
    m_pPercentPane = MakeJobPane(m_pStatusBar, app_texts::kPercentPaneInitial);
    m_pStatusBar->AddElement(ID_STATUS_PERCENT, m_pPercentPane);
    m_pProgressPane = MakeJobPane(m_pStatusBar, app_texts::kProgressPaneInitial);
    m_pStatusBar->AddElement(ID_STATUS_PROGRESS, m_pProgressPane);
    m_pFoundPane = MakeJobPane(m_pStatusBar, app_texts::kFoundPaneInitial);
    m_pStatusBar->AddElement(ID_STATUS_FOUND, m_pFoundPane);
    m_pJobSeparator = m_pStatusBar->AddSeparator();
}

void CMainFrame::RemoveJobStatusElements() {
    if (!m_pProgressBar) return;
    for (int id :
         {ID_STATUS_PROGRESS_BAR, ID_STATUS_PERCENT, ID_STATUS_PROGRESS, ID_STATUS_FOUND}) {
        m_pStatusBar->RemoveElement(id);
    }
    m_pStatusBar->RemoveSeparator(m_pJobSeparator);
    m_pProgressBar = nullptr;
    m_pPercentPane = m_pProgressPane = m_pFoundPane = nullptr;
    m_pJobSeparator = nullptr;
}

LRESULT CMainFrame::OnScanProgress(WPARAM wParam, LPARAM) {
    // The record is the sender's allocation, freed here.
    std::unique_ptr<ScanProgress> record(reinterpret_cast<ScanProgress*>(wParam));
    if (!record) return 1;
    const ScanProgress progress = *record;
    record.reset();
    if (!m_pProgressBar) return 1;
    // Texts are set now and painted with the next repaint, however often they change meanwhile.
    m_pProgressPane->setText(
        Text(app_texts::kProgressPrefix) +
        QStringLiteral("%1/%2").arg(progress.nPosition).arg(progress.nImageLength));
    m_pProgressBar->setValue(BarPosition(progress.fPercent));
    m_pPercentPane->setText(QString::asprintf("%.2f%%", static_cast<double>(progress.fPercent)));
    m_pFoundPane->setText(Text(app_texts::kFoundPrefix) + QString::number(progress.nFilesFound));
    return 1;
}

LRESULT CMainFrame::OnScanDone(WPARAM wParam, LPARAM) {
    if (m_pProgressBar) m_pProgressBar->setValue(static_cast<int>(wParam));
    return 1;
}

}  // namespace kelvara
