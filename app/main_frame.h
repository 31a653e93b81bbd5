#pragma once
// The program's one top-level window and the controller of the recovery workflow: it lays out the
// ribbon, the two docked panes, the file list and the status bar, owns the scanner object of the
// current scan, carries out the ribbon commands and handles the panes' window messages.
#include <QMainWindow>
#include <memory>

#include "app/scan_job.h"
#include "engine/bkf.h"
#include "panes/file_type_lookup.h"
#include "platform/shell_file_info.h"
#include "platform/window_messages.h"

class QLabel;
class QProgressBar;
class QTimer;
class QTreeWidgetItem;

namespace kelvara {

class CCheckTreeCtrl;
class CCustomListCtrl;
class CFileView;
class CMyRibbonStatusBar;
class COutputWnd;
class CVexlBKFFileRepProjApp;
class CVexlBKFFileRepProjView;
class CVexloMFCRibboBarCls;
class CVexloRightViewListCtrl;

class CMainFrame : public QMainWindow, public IMessageWindow {
    Q_OBJECT
public:
    explicit CMainFrame(CVexlBKFFileRepProjApp& app);
    ~CMainFrame() override;

    // Window creation: splash, look, ribbon, status bar, panes. False ends start-up.
    bool Create();

    // Runs a command as the ribbon does; a disabled command does nothing.
    void OnCommand(int id);
    // The update handlers: only Stop follows the busy flag.
    bool IsCommandEnabled(int id) const;
    void UpdateCommandUI();

    void OnOpenBkfFile();
    void OnStopProcess();
    bool OnUpdateStopProcess() const;
    void OnSaveRecovered();
    void OnSearchFiles();
    void OnSaveLog();
    void OnLoadSnapshot();
    void OnSaveSnapshot();
    void OnHelp();
    void OnAbout();
    void OnStatusLink();
    void OnApplicationLook(int id);
    // True when the process may end (it then ends at once).
    bool OnClose();

    LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnShowFolder(WPARAM wParam, LPARAM lParam);
    LRESULT OnTreeMenu(WPARAM wParam, LPARAM lParam);
    LRESULT OnExpandTreeItem(WPARAM wParam, LPARAM lParam);
    LRESULT OnCheckChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnRenameItem(WPARAM wParam, LPARAM lParam);
    LRESULT OnPreviewFile(WPARAM wParam, LPARAM lParam);
    LRESULT OnShowJobStatus(WPARAM wParam, LPARAM lParam);
    LRESULT OnScanProgress(WPARAM wParam, LPARAM lParam);
    LRESULT OnScanDone(WPARAM wParam, LPARAM lParam);

    // True while a job holds the busy flag, and also after Stop until the scan worker has ended:
    // until then it still writes the catalogue and the tree.
    bool IsJobRunning() const;
    // Empties the file list and the tree and deletes the scanner object.
    void ResetRecoveryView();
    // The file's size as decimal text; empty when it cannot be opened.
    static QString GetBkfFileSize(const QString& path);
    // Lists the content of a tree item, building a folder's children first if needed.
    void FillFileList(QTreeWidgetItem* item);

    CVexlBKFFileRepProjApp& GetApp() const { return m_app; }
    CVexloMFCRibboBarCls* GetRibbonBar() const { return m_pRibbon; }
    CMyRibbonStatusBar* GetStatusBar() const { return m_pStatusBar; }
    CFileView* GetFileView() const { return m_pFileView; }
    COutputWnd* GetOutputWnd() const { return m_pOutput; }
    CCheckTreeCtrl* GetTreeCtrl() const { return m_pTree; }
    CCustomListCtrl* GetLogList() const { return m_pLogList; }
    CVexlBKFFileRepProjView* GetView() const { return m_pView; }
    CVexloRightViewListCtrl* GetFileList() const { return m_pFileList; }
    CShellFileInfo& GetShellFileInfo() { return m_shellFileInfo; }
    CFileTypeLookup& GetFileTypes() { return m_fileTypes; }

    bkf* GetScanner() const { return m_pScanner.get(); }
    void SetScanner(std::unique_ptr<bkf> scanner) { m_pScanner = std::move(scanner); }

    // The tree item whose content the file list shows.
    QTreeWidgetItem* m_hCurrentFolder = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    QMenu* createPopupMenu() override { return nullptr; }

private:
    void CreateRibbon();
    void CreateStatusBar();
    void CreatePanes();
    void CreateView();
    // The small-icon list for the tree and the file list; neither owns it.
    void ShareImageList();
    void AddJobStatusElements();
    void RemoveJobStatusElements();
    bool RefuseWhileBusy(const char* message);
    bool TreeIsEmpty() const;

    // Where the commands of later work continue once their checks have passed.
    void RunOpenBkfFile();
    void RunSaveRecovered();
    void RunSearchDialog();
    void RunLoadSnapshot();
    void RunSaveSnapshot();
    LRESULT RunShowFolder(WPARAM wParam, LPARAM lParam);
    LRESULT RunExpandTreeItem(WPARAM wParam, LPARAM lParam);
    LRESULT RunPreviewFile(WPARAM wParam, LPARAM lParam);
    void DestroyPreviewView();

    CVexlBKFFileRepProjApp& m_app;
    CVexloMFCRibboBarCls* m_pRibbon = nullptr;
    CMyRibbonStatusBar* m_pStatusBar = nullptr;
    CFileView* m_pFileView = nullptr;
    COutputWnd* m_pOutput = nullptr;
    CCheckTreeCtrl* m_pTree = nullptr;
    CCustomListCtrl* m_pLogList = nullptr;
    CVexlBKFFileRepProjView* m_pView = nullptr;
    CVexloRightViewListCtrl* m_pFileList = nullptr;
    QTimer* m_pCommandUiTimer = nullptr;
    // The running job's status-bar elements, null while none runs.
    QProgressBar* m_pProgressBar = nullptr;
    QLabel* m_pPercentPane = nullptr;
    QLabel* m_pProgressPane = nullptr;
    QLabel* m_pFoundPane = nullptr;
    QWidget* m_pJobSeparator = nullptr;
    std::unique_ptr<bkf> m_pScanner;
    CShellFileInfo m_shellFileInfo;
    CFileTypeLookup m_fileTypes{m_shellFileInfo};
    // Last: it is waited for before anything else of the frame goes.
    CScanThread m_scanThread;
};

}  // namespace kelvara
