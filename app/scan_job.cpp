#include "app/scan_job.h"

#include <QCoreApplication>
#include <QFile>
#include <QThread>
#include <chrono>
#include <exception>
#include <limits>
#include <memory>

#include "app/app_messages.h"
#include "app/app_texts.h"
#include "app/application.h"
#include "app/main_frame.h"
#include "app/output_wnd.h"
#include "app/tree_fill.h"
#include "engine/bkf_advance.h"
#include "engine/engine_texts.h"
#include "platform/window_messages.h"

namespace kelvara {
namespace {

int64_t PerMille(const ScanProgress& p) {
    if (p.nImageLength == 0) return 0;
    return static_cast<int64_t>(static_cast<unsigned __int128>(p.nPosition) * 1000u /
                                p.nImageLength);
}

// Runs `call` on the user-interface thread; an exception it throws comes back to the worker.
template <typename Call>
void SendCallChecked(CMainFrame* frame, Call&& call) {
    std::exception_ptr failure;
    SendCall(frame, [&] {
        try {
            call();
        } catch (...) {
            failure = std::current_exception();
        }
    });
    if (failure) std::rethrow_exception(failure);
}

// The job is over: the flag goes, and the status-bar elements follow (posted; the worker does
// not wait for them).
void EndJob(CMainFrame* frame) {
    frame->GetApp().SetBusy(false);
    PostWindowMessage(frame, WM_BKF_STATUS_BAR, 0, 0);
}

}  // namespace

void CScanHost::OnScanProgress(const ScanProgress& progress) {
    const int64_t perMille = PerMille(progress);
    const auto now = std::chrono::steady_clock::now();
    if (perMille <= m_nLastPerMille && now - m_lastSent < kHeartbeat) return;
    m_nLastPerMille = perMille;
    m_lastSent = now;
    auto* record = new ScanProgress(progress);
    if (SendWindowMessage(m_pFrame, WM_BKF_SCAN_PROGRESS, reinterpret_cast<WPARAM>(record), 0) ==
        0) {
        delete record;  // never delivered
    }
}

void CScanHost::OnScanFinished(int percent) {
    SendWindowMessage(m_pFrame, WM_BKF_SCAN_DONE, static_cast<WPARAM>(percent), 0);
}

void CScanHost::ShowMessage(const std::string& text) {
    InfoMessage(m_pFrame, QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

uint64_t ParseRangeNumber(const QString& text) {
    uint64_t value = 0;
    for (QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) break;
        const uint64_t digit = static_cast<uint64_t>(c.unicode() - u'0');
        if (value > (std::numeric_limits<uint64_t>::max() - digit) / 10) {
            return std::numeric_limits<uint64_t>::max();
        }
        value = value * 10 + digit;
    }
    return value;
}

int ScanThreadProc(CMainFrame* frame) {
    CVexlBKFFileRepProjApp& app = frame->GetApp();
    CScanHost host(frame);
    std::unique_ptr<bkf> created;
    bkf* scanner = nullptr;
    // The scanner outlives the job (the frame keeps it); it must not keep the job's host.
    struct HostRelease {
        bkf*& scanner;
        ~HostRelease() {
            if (scanner) scanner->SetHost(nullptr);
        }
    } release{scanner};
    try {
        if (app.m_nRecoveryMode == 2) {
            created = std::make_unique<bkfAdvance>(app.m_bBusy);
        } else {
            created = std::make_unique<bkf>(app.m_bBusy);
        }
        scanner = created.get();
        scanner->SetHost(&host);
        // The frame owns the scanner from here on. Its user-interface thread reads it only once
        // the job has ended (IsJobRunning), so this store needs no message.
        frame->SetScanner(std::move(created));
        scanner->SetHeuristic(app.m_bHeuristic != 0);
        if (app.m_nRangeMode == 1) {
            scanner->SetRange(ParseRangeNumber(app.m_strRangeStart),
                              ParseRangeNumber(app.m_strRangeEnd));
        }

        if (scanner->ScanFile(QFile::encodeName(app.m_strBkfPath).toStdString()) == 0) {
            EndJob(frame);
            InfoMessage(frame, texts::kScanAborted);
            return 0;
        }

        COutputWnd* log = frame->GetOutputWnd();
        log->ScrollLogToEnd();
        SendCallChecked(frame, [&] { FillTopLevel(*frame->GetTreeCtrl(), *scanner); });
        const int64_t found = scanner->Files().Count();
        EndJob(frame);
        InfoMessage(frame, app_texts::kScanCompleted);
        log->AppendLogLine(QString::fromLatin1(texts::kTotalFilesFound) + QString::number(found));
        log->AppendLogLine(QString());
        log->AppendLogLine(QString::fromLatin1(app_texts::kScanCompleted));
        log->AppendLogLine(QString());
        return 1;
    } catch (...) {
        // What the scan had found stays in the catalogue and the tree.
        EndJob(frame);
        InfoMessage(frame, app_texts::kUnknownError);
        return 0;
    }
}

CScanThread::~CScanThread() {
    Wait();
}

void CScanThread::Start(CMainFrame* frame) {
    Wait();
    m_bRunning.store(true);
    m_thread = std::thread([this, frame] {
        ScanThreadProc(frame);
        m_bRunning.store(false);
    });
}

void CScanThread::Wait() {
    while (m_bRunning.load()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    if (m_thread.joinable()) m_thread.join();
}

}  // namespace kelvara
