#pragma once
// The application object: the busy flag that keeps jobs apart, the settings of the next scan,
// the single-instance marker, and start-up.
#include <QString>
#include <atomic>
#include <cstdint>
#include <memory>

#include "platform/single_instance.h"

namespace kelvara {

class CMainFrame;

class CVexlBKFFileRepProjApp {
public:
    // Takes the single-instance lock at `instanceLockPath` at once; the process holds it until
    // it ends.
    explicit CVexlBKFFileRepProjApp(
        const QString& instanceLockPath = CSingleInstanceLock::DefaultPath());
    ~CVexlBKFFileRepProjApp();
    CVexlBKFFileRepProjApp(const CVexlBKFFileRepProjApp&) = delete;
    CVexlBKFFileRepProjApp& operator=(const CVexlBKFFileRepProjApp&) = delete;

    // Start-up: refuses a second instance, creates and shows the main frame. False ends the
    // program.
    bool InitInstance();
    CMainFrame* GetMainFrame() const { return m_pMainFrame.get(); }

    bool IsBusy() const { return m_bBusy.load() != 0; }
    void SetBusy(bool busy) { m_bBusy.store(busy ? 1 : 0); }

    // 1 while a job runs; a job that finds it cleared stops.
    std::atomic<int32_t> m_bBusy{0};
    int m_nAppLook = 0;

    // Scan settings, written by the Open command and the recovery-selection dialog.
    int32_t m_nRangeMode = 0;     // 1 byte range, 2 whole file
    int32_t m_nRecoveryMode = 0;  // 1 standard, 2 advanced
    int32_t m_bHeuristic = 0;
    QString m_strBkfPath;
    QString m_strFileSize;
    QString m_strRangeStart;
    QString m_strRangeEnd;

private:
    CSingleInstanceLock m_instanceLock;
    std::unique_ptr<CMainFrame> m_pMainFrame;
};

}  // namespace kelvara
