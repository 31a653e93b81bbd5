#include "app/main_frame.h"

#include <QApplication>
#include <QCloseEvent>
#include <QTimer>

#include "app/app_images.h"
#include "app/app_look.h"
#include "app/app_messages.h"
#include "app/app_strings.h"
#include "app/app_texts.h"
#include "app/application.h"
#include "app/command_ids.h"
#include "app/output_wnd.h"
#include "app/ribbon_bar.h"
#include "app/splash_wnd.h"
#include "app/status_bar.h"
#include "panes/check_tree_ctrl.h"
#include "panes/file_list_view.h"
#include "panes/file_view.h"
#include "panes/right_view_list_ctrl.h"
#include "platform/control_id.h"
#include "platform/settings.h"
#include "platform/shell.h"
#include "platform/temp_folder.h"
#include "platform/wait_cursor.h"

namespace kelvara {
namespace {

constexpr int kCommandUiIntervalMs = 100;

}  // namespace

CMainFrame::CMainFrame(CVexlBKFFileRepProjApp& app) : m_app(app) {
    m_app.m_nAppLook =
        GetProfileInt(Text(app_texts::kApplicationLookValue), ID_VIEW_APPLOOK_OFF_2007_BLACK);
    m_app.SetBusy(false);
    setObjectName(QStringLiteral("mainFrame"));
    // The title never shows a document name.
    setWindowTitle(Text(app_texts::kProductTitle));
    setWindowIcon(LoadSvgIcon(QStringLiteral("logo"), {16, 32}));
}

CMainFrame::~CMainFrame() {
    // A scan still running is stopped and waited for; it works on this frame's windows.
    if (m_scanThread.IsRunning()) m_app.SetBusy(false);
    m_scanThread.Wait();
    if (MainMessageWindow() == this) SetMainMessageWindow(nullptr);
}

bool CMainFrame::Create() {
    auto* splash = new CSplashWnd(
        this, Text(app_texts::kSplashText), 2000,
        CSplashWnd::FadeIn | CSplashWnd::FadeOut | CSplashWnd::Shadow | CSplashWnd::CenterScreen);
    if (splash->SetBitmap(LoadSvgImage(QStringLiteral("splash")), qRgb(255, 0, 255))) {
        splash->Show();
    } else {
        delete splash;  // no picture, no splash; start-up goes on
    }

    OnApplicationLook(ID_VIEW_APPLOOK_OFF_2007_BLACK);
    CreateRibbon();
    CreateStatusBar();
    CreatePanes();

    CreateView();
    ShareImageList();

    ClearPreviewFolder();

    m_pCommandUiTimer = new QTimer(this);
    connect(m_pCommandUiTimer, &QTimer::timeout, this, &CMainFrame::UpdateCommandUI);
    m_pCommandUiTimer->start(kCommandUiIntervalMs);
    UpdateCommandUI();
    return true;
}

void CMainFrame::CreateRibbon() {
    m_pRibbon = new CVexloMFCRibboBarCls(this);
    m_pRibbon->SetApplicationButton(LoadSvgIcon(QStringLiteral("logo"), {42}),
                                    Text(app_texts::kAppButtonTooltip), QStringLiteral("f"));
    m_pRibbon->SetPanelImages(RibbonPanelImages());
    m_pRibbon->SetCategory(Text(app_texts::kCategory), RibbonButtonImages(16),
                           RibbonButtonImages(32));

    const int recovery = m_pRibbon->AddPanel(Text(app_texts::kPanelRecovery), 1);
    m_pRibbon->AddButton(
        recovery, {ID_OPEN_BKF_FILE, Text(app_texts::kOpenLabel), 0, Text(app_texts::kOpenTip)});
    m_pRibbon->AddButton(
        recovery, {ID_STOP_PROCESS, Text(app_texts::kStopLabel), 1, Text(app_texts::kStopTip)});
    m_pRibbon->AddButton(
        recovery, {ID_SAVE_RECOVERED, Text(app_texts::kSaveLabel), 2, Text(app_texts::kSaveTip)});
    m_pRibbon->AddButton(
        recovery, {ID_SEARCH_FILES, Text(app_texts::kSearchLabel), 3, Text(app_texts::kSearchTip)});
    m_pRibbon->AddButton(recovery,
                         {ID_SAVE_LOG, Text(app_texts::kLogLabel), 4, Text(app_texts::kLogTip)});

    const int snapshots = m_pRibbon->AddPanel(Text(app_texts::kPanelSnapshots), 2);
    m_pRibbon->AddButton(snapshots, {ID_LOAD_SNAPSHOT, Text(app_texts::kLoadSnapshotLabel), 5,
                                     Text(app_texts::kLoadSnapshotTip)});
    m_pRibbon->AddButton(snapshots, {ID_SAVE_SNAPSHOT, Text(app_texts::kSaveSnapshotLabel), 6,
                                     Text(app_texts::kSaveSnapshotTip)});

    const int about = m_pRibbon->AddPanel(Text(app_texts::kPanelAbout), 1);
    m_pRibbon->AddButton(about,
                         {ID_HELP_PAGE, Text(app_texts::kHelpLabel), 7, Text(app_texts::kHelpTip)});
    m_pRibbon->AddButton(about,
                         {ID_ABOUT, Text(app_texts::kAboutLabel), 8, Text(app_texts::kAboutTip)});

    connect(m_pRibbon, &CVexloMFCRibboBarCls::CommandTriggered, this, &CMainFrame::OnCommand);
    setMenuWidget(m_pRibbon);
}

void CMainFrame::CreateStatusBar() {
    m_pStatusBar = new CMyRibbonStatusBar(this);
    m_pStatusBar->AddLink(ID_STATUS_LINK, Text(app_texts::kVendorWebsiteLabel),
                          Text(app_texts::kVendorWebsite));
    m_pStatusBar->AddSeparator();
    m_pStatusBar->AddExtendedPane(ID_STATUS_TITLE, Text(app_texts::kStatusTitle));
    connect(m_pStatusBar, &CMyRibbonStatusBar::CommandTriggered, this, &CMainFrame::OnCommand);
    setStatusBar(m_pStatusBar);
}

void CMainFrame::CreatePanes() {
    // The bottom pane runs under the tree pane and the file list alike.
    setCorner(Qt::BottomLeftCorner, Qt::BottomDockWidgetArea);
    setCorner(Qt::BottomRightCorner, Qt::BottomDockWidgetArea);
    setDockOptions(QMainWindow::AnimatedDocks | QMainWindow::AllowNestedDocks);

    m_pFileView = new CFileView(Text(app_texts::kTreePaneCaption), this);
    m_pFileView->setObjectName(QStringLiteral("treePane"));
    SetControlId(m_pFileView, ID_TREE_PANE);
    m_pOutput = new COutputWnd(Text(app_texts::kOutputPaneCaption), this);
    m_pOutput->setObjectName(QStringLiteral("outputPane"));
    SetControlId(m_pOutput, ID_OUTPUT_PANE);
    for (QDockWidget* pane :
         {static_cast<QDockWidget*>(m_pFileView), static_cast<QDockWidget*>(m_pOutput)}) {
        // Resizable only: no floating, hiding or closing.
        pane->setFeatures(QDockWidget::NoDockWidgetFeatures);
        pane->setAllowedAreas(Qt::AllDockWidgetAreas);
    }
    addDockWidget(Qt::LeftDockWidgetArea, m_pFileView);
    addDockWidget(Qt::BottomDockWidgetArea, m_pOutput);
    resizeDocks({m_pFileView}, {200}, Qt::Horizontal);
    resizeDocks({m_pOutput}, {100}, Qt::Vertical);

    m_pTree = m_pFileView->GetTreeCtrl();
    m_pLogList = m_pOutput->GetLogList();
}

void CMainFrame::CreateView() {
    m_pView = new CVexlBKFFileRepProjView(this);
    m_pView->setObjectName(QStringLiteral("fileListView"));
    m_pView->SetBackgroundPicture(LoadSvgImage(QStringLiteral("list_background")));
    m_pFileList = m_pView->GetListCtrl();
    setCentralWidget(m_pView);
}

void CMainFrame::ShareImageList() {
    m_pTree->SetImageList(&m_shellFileInfo.ImageList());
    m_pFileList->SetImageList(&m_shellFileInfo.ImageList());
}

void CMainFrame::OnApplicationLook(int id) {
    CWaitCursor wait;
    m_app.m_nAppLook = id;
    // Every look id gets the one look this program has.
    ApplyBlackLook();
    update();
    WriteProfileInt(Text(app_texts::kApplicationLookValue), id);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    // On a confirmed close the process has ended inside OnClose.
    event->ignore();
    OnClose();
}

bool CMainFrame::OnClose() {
    if (RefuseWhileBusy(app_texts::kBusyClose)) return false;
    if (!AskYesNo(this, Text(app_texts::kCloseQuestion))) return false;
    m_pScanner.reset();
    ClearPreviewFolder();
    OnStatusLink();
    EndProcessNow(-1);
    return true;
}

bool CMainFrame::IsJobRunning() const {
    return m_app.IsBusy() || m_scanThread.IsRunning();
}

bool CMainFrame::RefuseWhileBusy(const char* message) {
    if (!IsJobRunning()) return false;
    InfoMessage(this, message);
    return true;
}

bool CMainFrame::TreeIsEmpty() const {
    return !m_pTree || m_pTree->topLevelItemCount() == 0;
}

}  // namespace kelvara
