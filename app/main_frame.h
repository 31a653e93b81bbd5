#pragma once
// The program's one top-level window and the controller of the recovery workflow: it lays out the
// ribbon, the two docked panes, the file list and the status bar, owns the scanner object of the
// current scan, carries out the ribbon commands and handles the panes' window messages.
#include <QMainWindow>
#include <memory>

#include "engine/bkf.h"
#include "platform/shell_file_info.h"
#include "platform/window_messages.h"

class QTimer;
class QTreeWidgetItem;

namespace kelvara {

class CCheckTreeCtrl;
class CCustomListCtrl;
class CFileView;
class CMyRibbonStatusBar;
class COutputWnd;
class CVexlBKFFileRepProjApp;
class CVexloMFCRibboBarCls;

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

    CVexlBKFFileRepProjApp& GetApp() const { return m_app; }
    CVexloMFCRibboBarCls* GetRibbonBar() const { return m_pRibbon; }
    CMyRibbonStatusBar* GetStatusBar() const { return m_pStatusBar; }
    CFileView* GetFileView() const { return m_pFileView; }
    COutputWnd* GetOutputWnd() const { return m_pOutput; }
    CCheckTreeCtrl* GetTreeCtrl() const { return m_pTree; }
    CCustomListCtrl* GetLogList() const { return m_pLogList; }
    CShellFileInfo& GetShellFileInfo() { return m_shellFileInfo; }

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
    QWidget* m_pView = nullptr;
    QTimer* m_pCommandUiTimer = nullptr;
    std::unique_ptr<bkf> m_pScanner;
    CShellFileInfo m_shellFileInfo;
};

}  // namespace kelvara
