#pragma once
// The scan job's worker: it creates the scanner of the chosen mode, scans the image on its own
// thread, reports progress and messages through the frame's window messages, fills the tree's
// top level and writes the result to the log.
#include <QString>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <thread>

#include "engine/scanner_host.h"

class QWidget;

namespace kelvara {

class CMainFrame;

// What the scanner reports, as the frame's window messages. Progress is sent once per
// per-mille of the image, as the scanner paces it; its extra notice for every window without a
// block comes through at most once per heartbeat, so that an image of noise does not make the
// worker wait for the user-interface thread a million times.
class CScanHost final : public IScannerHost {
public:
    static constexpr std::chrono::milliseconds kHeartbeat{100};

    explicit CScanHost(QWidget* frame) : m_pFrame(frame) {}
    // WM_BKF_SCAN_PROGRESS with a heap record that the receiver frees.
    void OnScanProgress(const ScanProgress& progress) override;
    // WM_BKF_SCAN_DONE.
    void OnScanFinished(int percent) override;
    // A message box owned by the frame.
    void ShowMessage(const std::string& text) override;

private:
    QWidget* m_pFrame;
    int64_t m_nLastPerMille = -1;
    std::chrono::steady_clock::time_point m_lastSent;
};

// The worker's body: 1 after a scan that ran to its end or was stopped, 0 when the image could
// not be opened or anything failed.
int ScanThreadProc(CMainFrame* frame);

// A range field as a number: the decimal digits at its start, up to the first other character;
// no digits give 0, more than fit give the largest number.
uint64_t ParseRangeNumber(const QString& text);

// The frame's one scan worker thread.
class CScanThread {
public:
    CScanThread() = default;
    ~CScanThread();
    CScanThread(const CScanThread&) = delete;
    CScanThread& operator=(const CScanThread&) = delete;

    void Start(CMainFrame* frame);
    // True from Start until the worker has done its last step.
    bool IsRunning() const { return m_bRunning.load(); }
    // Waits for the worker to end. The user-interface thread's events keep running meanwhile,
    // because the worker may be waiting for one of them.
    void Wait();

private:
    std::thread m_thread;
    std::atomic<bool> m_bRunning{false};
};

}  // namespace kelvara
