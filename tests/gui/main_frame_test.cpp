#include <gtest/gtest.h>

#include <QContextMenuEvent>
#include <QDir>
#include <QDockWidget>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSettings>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "app/about_dlg.h"
#include "app/command_ids.h"
#include "app/custom_list_ctrl.h"
#include "app/output_wnd.h"
#include "app/range_slider_dlg.h"
#include "app/ribbon_bar.h"
#include "app/splash_wnd.h"
#include "app/status_bar.h"
#include "panes/check_tree_ctrl.h"
#include "panes/file_view.h"
#include "panes/tree_item_ref.h"
#include "platform/control_id.h"
#include "platform/settings.h"
#include "platform/temp_folder.h"
#include "tests/gui/gui_test_support.h"

namespace kelvara {
namespace {

using test::FrameTest;

TEST_F(FrameTest, StartUpBuildsTheMaximisedFrameWithTitleSplashAndLook) {
    EXPECT_EQ(frame->windowTitle(), "Kelvara v22.0");
    EXPECT_TRUE(frame->isVisible());
    EXPECT_TRUE(frame->windowState() & Qt::WindowMaximized);
    auto* splash = frame->findChild<CSplashWnd*>();
    ASSERT_NE(splash, nullptr);
    EXPECT_EQ(splash->Text(), "v22.0");
    EXPECT_EQ(splash->DisplayMs(), 2000);
    EXPECT_FALSE(splash->Flags() & CSplashWnd::CloseOnClick);
    EXPECT_EQ(app->m_nAppLook, 216);
    EXPECT_EQ(GetProfileInt("ApplicationLook", 0), 216);
    EXPECT_EQ(SettingsKey(), "QuarelExecBKFRepDemov22.0");
    EXPECT_EQ(MainMessageWindow(), frame);
    EXPECT_EQ(app->m_bBusy.load(), 0);
    EXPECT_EQ(app->m_nRangeMode, 0);
    EXPECT_EQ(app->m_nRecoveryMode, 0);
    EXPECT_TRUE(app->m_strBkfPath.isEmpty());
}

TEST_F(FrameTest, AnyStoredLookIsReplacedBy216) {
    WriteProfileInt("ApplicationLook", 211);
    frame->OnApplicationLook(216);
    EXPECT_EQ(GetProfileInt("ApplicationLook", 0), 216);
    // A new frame starts from what is stored, then applies 216 again.
    WriteProfileInt("ApplicationLook", 213);
    CMainFrame second(*app);
    EXPECT_EQ(app->m_nAppLook, 213);
    ASSERT_TRUE(second.Create());
    EXPECT_EQ(app->m_nAppLook, 216);
    EXPECT_EQ(GetProfileInt("ApplicationLook", 0), 216);
    SetMainMessageWindow(frame);
}

TEST_F(FrameTest, RibbonHasTheCategoryPanelsAndButtonsInOrder) {
    CVexloMFCRibboBarCls* ribbon = frame->GetRibbonBar();
    ASSERT_NE(ribbon, nullptr);
    EXPECT_EQ(frame->menuWidget(), ribbon);
    EXPECT_EQ(ribbon->GetCategoryName(), "Kelvara");
    EXPECT_EQ(ribbon->GetApplicationButton()->toolTip(), "Kelvara");
    EXPECT_TRUE(ribbon->GetApplicationButton()->text().isEmpty());
    EXPECT_EQ(ribbon->GetApplicationButton()->menu(), nullptr);
    EXPECT_FALSE(ribbon->GetApplicationButton()->icon().isNull());

    const struct {
        const char* panel;
        int panelImage;
        std::vector<RibbonButtonInfo> buttons;
    } expected[] = {
        {"BKF Recovery",
         1,
         {{283, "Open", 0, "Open BKF file"},
          {322, "Stop", 1, "Stop running recovery process"},
          {298, "Save", 2, "Save recovered data"},
          {297, "Search", 3, "Search file from the list"},
          {325, "Log", 4, "Save log for BKF file."}}},
        {"BKF File Snapshots",
         2,
         {{293, "Load", 5, "Load Backup Exec BKF Recovery Snapshot"},
          {294, "Save", 6, "Save Backup Exec BKF Recovery Snapshot"}}},
        {"About BKF Recovery",
         1,
         {{295, "Help", 7, "Help for Kelvara"}, {296, "About", 8, "About Kelvara"}}},
    };
    const QList<RibbonPanelInfo> panels = ribbon->GetPanels();
    ASSERT_EQ(panels.size(), 3);
    for (int p = 0; p < 3; ++p) {
        SCOPED_TRACE(expected[p].panel);
        EXPECT_EQ(panels[p].name, expected[p].panel);
        EXPECT_EQ(panels[p].image, expected[p].panelImage);
        ASSERT_EQ(panels[p].buttons.size(), static_cast<qsizetype>(expected[p].buttons.size()));
        for (size_t b = 0; b < expected[p].buttons.size(); ++b) {
            const RibbonButtonInfo& want = expected[p].buttons[b];
            const RibbonButtonInfo& got = panels[p].buttons[static_cast<qsizetype>(b)];
            EXPECT_EQ(got.id, want.id);
            EXPECT_EQ(got.label, want.label);
            EXPECT_EQ(got.image, want.image);
            EXPECT_EQ(got.tooltip, want.tooltip);
            QToolButton* button = ribbon->FindButton(want.id);
            ASSERT_NE(button, nullptr);
            EXPECT_EQ(button->text(), want.label);
            EXPECT_EQ(button->toolTip(), want.tooltip);
            EXPECT_EQ(button->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
            EXPECT_FALSE(button->icon().pixmap(32, 32).isNull());
            EXPECT_FALSE(button->icon().pixmap(16, 16).isNull());
        }
    }
}

TEST_F(FrameTest, PanesAreDockedAndCanOnlyBeResized) {
    CFileView* treePane = frame->GetFileView();
    COutputWnd* output = frame->GetOutputWnd();
    ASSERT_NE(treePane, nullptr);
    ASSERT_NE(output, nullptr);
    EXPECT_EQ(treePane->windowTitle(), "BKF File");
    EXPECT_EQ(output->windowTitle(), "BKF File Status");
    EXPECT_EQ(frame->dockWidgetArea(treePane), Qt::LeftDockWidgetArea);
    EXPECT_EQ(frame->dockWidgetArea(output), Qt::BottomDockWidgetArea);
    for (QDockWidget* pane :
         {static_cast<QDockWidget*>(treePane), static_cast<QDockWidget*>(output)}) {
        EXPECT_EQ(pane->features(), QDockWidget::NoDockWidgetFeatures);
        EXPECT_EQ(pane->allowedAreas(), Qt::AllDockWidgetAreas);
        EXPECT_FALSE(pane->isFloating());
        EXPECT_TRUE(pane->isVisible());
    }
    EXPECT_EQ(GetControlId(treePane), 133);
    EXPECT_EQ(GetControlId(output), 149);
    EXPECT_EQ(frame->corner(Qt::BottomLeftCorner), Qt::BottomDockWidgetArea);
    EXPECT_EQ(GetControlId(frame->GetTreeCtrl()), 281);

    QTabWidget* tabs = output->GetTabs();
    ASSERT_EQ(tabs->count(), 2);
    EXPECT_EQ(tabs->tabText(0), "Log Window");
    EXPECT_EQ(tabs->tabText(1), "File Viewer");
    EXPECT_EQ(tabs->tabPosition(), QTabWidget::South);
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_EQ(tabs->widget(0), frame->GetLogList());
    EXPECT_EQ(GetControlId(tabs), 324);
    EXPECT_EQ(GetControlId(frame->GetLogList()), 323);
    EXPECT_EQ(GetControlId(output->GetViewer()), 282);
    EXPECT_TRUE(output->GetViewer()->findChildren<QWidget*>().isEmpty());  // shows nothing yet
    EXPECT_EQ(frame->GetLogList()->RowCount(), 0);
    EXPECT_TRUE(frame->GetLogList()->isHeaderHidden());
    EXPECT_EQ(frame->GetLogList()->columnWidth(0), 1500);
    EXPECT_EQ(frame->GetLogList()->selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_EQ(frame->GetLogList()->model()->headerData(0, Qt::Horizontal).toString(), "rtrt");
}

TEST_F(FrameTest, StatusBarHasTheLinkASeparatorAndTheTitlePane) {
    CMyRibbonStatusBar* bar = frame->GetStatusBar();
    ASSERT_EQ(frame->statusBar(), bar);
    const QList<QWidget*> main = bar->GetMainElements();
    ASSERT_EQ(main.size(), 2);
    auto* link = qobject_cast<QLabel*>(main.at(0));
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(GetControlId(link), 311);
    EXPECT_TRUE(link->text().contains("www.kelvara.example"));
    EXPECT_EQ(GetControlId(main.at(1)), 0);  // the separator
    auto* title = qobject_cast<QLabel*>(bar->GetElement(121));
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->text(), "Kelvara");

    // Clicking the link opens the product page.
    emit link->linkActivated("https://www.kelvara.example/");
    ASSERT_EQ(script.OpenedUrls().size(), 1);
    EXPECT_EQ(script.OpenedUrls().at(0).toString(), "https://www.kelvara.example/bkf-recovery/");
}

// Each refusal, by command and state. "busy": the flag set; "none": no scanner; "empty": a
// scanner but an empty tree.
TEST_F(FrameTest, CommandsRefuseWithTheirOwnTexts) {
    const struct {
        int command;
        const char* state;
        const char* text;
    } cases[] = {
        {283, "busy", "Please stop the running process to open the BKF file."},
        {298, "busy", "Please stop the running process to save the recovered files."},
        {297, "busy", "Please stop the running process to search the files."},
        {325, "busy", "Please stop the running process to save the log file."},
        {293, "busy", "Please stop the running process to load recovery snapshot."},
        {294, "busy", "Please stop the running process to save recovery snapshot."},
        {298, "none", "Please select BKF file to recover data."},
        {297, "none", "Please select BKF file to recover data."},
        {325, "none", "Please start the recovery process of BKF file to save the log file."},
        {294, "none", "Please select BKF file to recover data."},
        {297, "empty", "Please start the recovery process of BKF file to save the log file."},
        {325, "empty", "Please start the recovery process of BKF file to save the log file."},
        {294, "empty", "Please select BKF file to recover data."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.command) + " " + c.state);
        frame->SetScanner(nullptr);
        app->SetBusy(std::string(c.state) == "busy");
        if (std::string(c.state) == "empty") InstallScanner();
        script.ClearRecords();
        frame->OnCommand(c.command);
        ASSERT_EQ(script.MessageBoxes().size(), 1u);
        const MessageBoxRequest box = script.MessageBoxes().front();
        EXPECT_EQ(box.text, c.text);
        EXPECT_EQ(box.caption, "Kelvara v22.0");
        EXPECT_EQ(box.icon, MessageBoxIcon::Information);
        EXPECT_EQ(box.buttons, MessageBoxButtons::Ok);
        EXPECT_TRUE(box.hasOwner);
        EXPECT_TRUE(script.FileDialogs().empty());
    }
    app->SetBusy(false);
}

TEST_F(FrameTest, CommandsWithSomethingToWorkOnGoAhead) {
    InstallScanner();
    AddNodeItem(1, "F1");
    frame->GetOutputWnd()->SetActiveTab(COutputWnd::kViewerTab);
    for (int command : {283, 298, 297, 293, 294}) {
        frame->OnCommand(command);
    }
    EXPECT_TRUE(script.MessageBoxes().empty());
    // Search brings the log to the front.
    EXPECT_EQ(frame->GetOutputWnd()->GetTabs()->currentIndex(), COutputWnd::kLogTab);
}

TEST_F(FrameTest, StopIsEnabledExactlyWhileBusy) {
    frame->UpdateCommandUI();
    EXPECT_FALSE(frame->GetRibbonBar()->FindButton(322)->isEnabled());
    EXPECT_FALSE(frame->IsCommandEnabled(322));
    for (int id : {283, 298, 297, 325, 293, 294, 295, 296}) {
        EXPECT_TRUE(frame->GetRibbonBar()->FindButton(id)->isEnabled()) << id;
    }
    // A disabled command does nothing, as from a greyed button.
    frame->OnCommand(322);
    EXPECT_TRUE(script.MessageBoxes().empty());

    app->SetBusy(true);
    // The update handlers run on their own, as the framework's idle processing did.
    QTRY_VERIFY(frame->GetRibbonBar()->FindButton(322)->isEnabled());
    for (int id : {283, 298, 297, 325, 293, 294, 295, 296}) {
        EXPECT_TRUE(frame->GetRibbonBar()->FindButton(id)->isEnabled()) << id;
    }

    // Stop asks; No keeps the job running, Yes clears the flag.
    frame->OnCommand(322);
    ASSERT_EQ(script.MessageBoxes().size(), 1u);
    EXPECT_EQ(script.MessageBoxes().at(0).text, "Do you want to stop recovering file(s)?");
    EXPECT_EQ(script.MessageBoxes().at(0).icon, MessageBoxIcon::Question);
    EXPECT_EQ(script.MessageBoxes().at(0).buttons, MessageBoxButtons::YesNo);
    EXPECT_TRUE(app->IsBusy());
    script.QueueMessageBoxAnswer(MessageBoxResult::Yes);
    frame->OnCommand(322);
    EXPECT_FALSE(app->IsBusy());
    QTRY_VERIFY(!frame->GetRibbonBar()->FindButton(322)->isEnabled());
}

TEST_F(FrameTest, HelpAndAboutWorkWhileBusy) {
    app->SetBusy(true);
    frame->OnCommand(ID_HELP_PAGE);
    ASSERT_EQ(script.OpenedUrls().size(), 1);
    EXPECT_EQ(script.OpenedUrls().at(0).toString(),
              "https://www.kelvara.example/bkf-recovery/how-it-works.html");

    bool aboutShown = false;
    QTimer::singleShot(0, [&] {
        if (auto* dialog = qobject_cast<CVexloAboutDlg*>(QApplication::activeModalWidget())) {
            aboutShown = true;
            dialog->accept();
        }
    });
    frame->OnCommand(ID_ABOUT);
    EXPECT_TRUE(aboutShown);
    EXPECT_TRUE(script.MessageBoxes().empty());
    app->SetBusy(false);
}

TEST_F(FrameTest, ClosingIsRefusedWhileBusyAndAskedOtherwise) {
    app->SetBusy(true);
    frame->close();
    EXPECT_EQ(script.MessageTexts(),
              QStringList{"Please stop the running process to close the application."});
    EXPECT_TRUE(frame->isVisible());
    EXPECT_TRUE(script.ProcessEnds().empty());

    app->SetBusy(false);
    script.ClearRecords();
    frame->close();  // answered No
    EXPECT_EQ(script.MessageTexts(), QStringList{"Are you sure to close the application?"});
    EXPECT_EQ(script.MessageBoxes().at(0).buttons, MessageBoxButtons::YesNo);
    EXPECT_EQ(script.MessageBoxes().at(0).icon, MessageBoxIcon::Information);
    EXPECT_TRUE(frame->isVisible());
    EXPECT_TRUE(script.ProcessEnds().empty());
    EXPECT_TRUE(script.OpenedUrls().isEmpty());
}

TEST_F(FrameTest, ConfirmedCloseClearsThePreviewFolderOpensTheProductPageAndEnds) {
    InstallScanner();
    ASSERT_TRUE(QDir().mkpath(GetPreviewFolder() + "/deep"));
    script.QueueMessageBoxAnswer(MessageBoxResult::Yes);
    frame->close();
    EXPECT_FALSE(QFileInfo::exists(GetPreviewFolder()));
    EXPECT_EQ(frame->GetScanner(), nullptr);
    ASSERT_EQ(script.OpenedUrls().size(), 1);
    EXPECT_EQ(script.OpenedUrls().at(0).toString(), "https://www.kelvara.example/bkf-recovery/");
    EXPECT_EQ(script.ProcessEnds(), std::vector<int>{-1});
}

TEST_F(FrameTest, StartUpEmptiesThePreviewFolder) {
    ASSERT_TRUE(QDir().mkpath(GetPreviewFolder() + "/left/over"));
    CMainFrame second(*app);
    ASSERT_TRUE(second.Create());
    EXPECT_FALSE(QFileInfo::exists(GetPreviewFolder()));
    SetMainMessageWindow(frame);
}

TEST_F(FrameTest, TreeMessagesWaitWhileBusy) {
    app->SetBusy(true);
    CheckTreeEndLabelEdit edit;
    const struct {
        uint32_t message;
        WPARAM wParam;
    } cases[] = {{WM_BKF_SHOW_FOLDER, 4},
                 {WM_BKF_TREE_MENU, 4},
                 {WM_BKF_EXPAND_ITEM, 16},
                 {WM_BKF_RENAME_ITEM, reinterpret_cast<WPARAM>(&edit)},
                 {WM_BKF_PREVIEW_ROW, 0}};
    for (const auto& c : cases) {
        script.ClearRecords();
        EXPECT_EQ(SendWindowMessage(frame, c.message, c.wParam, 0), 0) << c.message;
        EXPECT_EQ(script.MessageTexts(), QStringList{"Please wait for the running process."})
            << c.message;
    }
    // The check mirror just returns.
    script.ClearRecords();
    EXPECT_EQ(SendWindowMessage(frame, WM_BKF_CHECK_CHANGED, 0, 1), 0);
    EXPECT_TRUE(script.MessageBoxes().empty());
    EXPECT_TRUE(script.PopupMenus().empty());
    app->SetBusy(false);
}

TEST_F(FrameTest, CheckChangesAreMirroredIntoTheRecords) {
    bkf* scanner = InstallScanner(2, 3);
    CCheckTreeCtrl* tree = frame->GetTreeCtrl();
    QTreeWidgetItem* folder = AddNodeItem(1, "F0");
    QTreeWidgetItem* dummy = tree->InsertItem("Dummy", 0, 0, folder);
    QTreeWidgetItem* file = tree->InsertItem("file0.txt", 0, 0, folder);
    tree->SetItemData(file, TreeItemRef::File(0).ToVariant());

    tree->SetCheck(folder, true);
    EXPECT_EQ(scanner->Tree().Node(1).byCheck, kChecked);
    EXPECT_EQ(scanner->Files().At(0).byCheck, kChecked);
    EXPECT_EQ(scanner->Tree().Node(2).byCheck, kCheckNeverSet);  // no item, never told

    tree->SetCheck(folder, false);
    EXPECT_EQ(scanner->Tree().Node(1).byCheck, kUnchecked);
    EXPECT_EQ(scanner->Files().At(0).byCheck, kUnchecked);

    // A file record without a folder keeps its mark; the placeholder carries no record.
    scanner->Files().At(0).nFolder = -1;
    tree->SetCheck(file, true);
    EXPECT_EQ(scanner->Files().At(0).byCheck, kUnchecked);
    EXPECT_EQ(SendWindowMessage(frame, WM_BKF_CHECK_CHANGED, reinterpret_cast<WPARAM>(dummy), 1),
              0);
    EXPECT_EQ(SendWindowMessage(frame, WM_BKF_CHECK_CHANGED, 0, 1), 1);

    // While a job runs, the boxes change but the records do not.
    app->SetBusy(true);
    tree->SetCheck(folder, true);
    EXPECT_TRUE(tree->GetCheck(folder));
    EXPECT_EQ(scanner->Tree().Node(1).byCheck, kUnchecked);
    app->SetBusy(false);
}

TEST_F(FrameTest, RenamingTakesTheNewNameOrKeepsTheOld) {
    bkf* scanner = InstallScanner(2, 3);
    CCheckTreeCtrl* tree = frame->GetTreeCtrl();
    QTreeWidgetItem* folder = AddNodeItem(1, "F0");
    QTreeWidgetItem* file = tree->InsertItem("file1.txt", 0, 0, folder);
    tree->SetItemData(file, TreeItemRef::File(1).ToVariant());

    const auto rename = [&](QTreeWidgetItem* item, const QString* text) {
        CheckTreeEndLabelEdit edit{item, text};
        return SendWindowMessage(frame, WM_BKF_RENAME_ITEM, reinterpret_cast<WPARAM>(&edit), 0);
    };
    const QString folderName = "Shorter";
    EXPECT_EQ(rename(folder, &folderName), 1);
    EXPECT_EQ(scanner->Tree().NodeName(1), u"Shorter");
    EXPECT_EQ(folder->text(0), "Shorter");

    const QString empty;
    EXPECT_EQ(rename(folder, &empty), 1);
    EXPECT_EQ(scanner->Tree().NodeName(1), u"Shorter");
    EXPECT_EQ(rename(folder, nullptr), 1);  // cancelled
    EXPECT_EQ(folder->text(0), "Shorter");

    const QString fileName = QString::fromUtf16(u"r\u00e9sum\u00e9.txt");
    EXPECT_EQ(rename(file, &fileName), 1);
    EXPECT_EQ(scanner->Files().Name(1), u"r\u00e9sum\u00e9.txt");
    EXPECT_EQ(file->text(0), fileName);
    EXPECT_EQ(scanner->Files().Name(0), u"file0.txt");

    EXPECT_EQ(rename(nullptr, &fileName), 1);
}

TEST_F(FrameTest, TreeMenuCollapsesOrStartsARename) {
    bkf* scanner = InstallScanner(2, 0);
    CCheckTreeCtrl* tree = frame->GetTreeCtrl();
    QTreeWidgetItem* folder = AddNodeItem(1, "F0");
    tree->InsertItem("Dummy", 0, 0, folder);
    tree->Expand(folder, TVE_EXPAND);

    EXPECT_EQ(SendWindowMessage(frame, WM_BKF_TREE_MENU, static_cast<WPARAM>(-1), 0), 0);
    EXPECT_TRUE(script.PopupMenus().empty());

    script.QueuePopupMenuAnswer(ID_TREE_COLLAPSE_ALL);
    EXPECT_EQ(SendWindowMessage(frame, WM_BKF_TREE_MENU, TVHT_ONITEMLABEL, 0), 1);
    ASSERT_EQ(script.PopupMenus().size(), 1u);
    const QList<PopupMenuEntry> menu = script.PopupMenus().at(0);
    ASSERT_EQ(menu.size(), 2);
    EXPECT_EQ(menu.at(0).id, 32777);
    EXPECT_EQ(menu.at(0).text, "Collapse All");
    EXPECT_EQ(menu.at(1).id, 32782);
    EXPECT_EQ(menu.at(1).text, "Rename");
    EXPECT_FALSE(folder->isExpanded());
    EXPECT_EQ(tree->GetSelectedItem(), folder);

    // Rename through the menu, typed in place, reaches the catalogue.
    script.QueuePopupMenuAnswer(ID_TREE_RENAME);
    EXPECT_EQ(SendWindowMessage(frame, WM_BKF_TREE_MENU, TVHT_ONITEMLABEL, 0), 1);
    ASSERT_TRUE(tree->IsEditingLabel());
    auto* editor = tree->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->setText("Typed");
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_VERIFY(!tree->IsEditingLabel());
    EXPECT_EQ(scanner->Tree().NodeName(1), u"Typed");
    EXPECT_EQ(folder->text(0), "Typed");

    // Dismissed: nothing happens.
    EXPECT_EQ(SendWindowMessage(frame, WM_BKF_TREE_MENU, TVHT_ONITEMLABEL, 0), 1);
    EXPECT_FALSE(tree->IsEditingLabel());
}

// No context menu on the ribbon, its buttons, the status bar, the log or the pane captions.
TEST_F(FrameTest, NoContextMenuAnywhere) {
    QList<QWidget*> targets = {frame->GetRibbonBar(),
                               frame->GetRibbonBar()->FindButton(283),
                               frame->GetRibbonBar()->GetApplicationButton(),
                               frame->GetStatusBar(),
                               frame->GetStatusBar()->GetElement(311),
                               frame->GetStatusBar()->GetElement(121),
                               frame->GetLogList()->viewport(),
                               frame->GetOutputWnd(),
                               frame->GetFileView()};
    for (QWidget* target : targets) {
        ASSERT_NE(target, nullptr);
        bool menuShown = false;
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, [&] {
            if (QWidget* popup = QApplication::activePopupWidget()) {
                menuShown = true;
                popup->close();
            }
        });
        closer.start(20);
        const QPoint pos = target->rect().center();
        QContextMenuEvent event(QContextMenuEvent::Mouse, pos, target->mapToGlobal(pos));
        QApplication::sendEvent(target, &event);
        QTest::mouseClick(target, Qt::RightButton, Qt::NoModifier, pos);
        QTest::qWait(60);
        EXPECT_FALSE(menuShown) << target->metaObject()->className();
    }
    EXPECT_EQ(frame->findChild<QMenu*>(), nullptr);
}

// A picture of the frame for people to look at: build/tests/gui/kelvara-main-window.png.
TEST_F(FrameTest, RendersTheMainWindowToAPicture) {
    frame->showNormal();
    frame->resize(1280, 800);
    frame->GetLogList()->AppendLogLine("");
    QTest::qWait(50);
    const QImage image = frame->grab().toImage();
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(1280, 800));
    const QString path = test::TestOutputDir() + "/kelvara-main-window.png";
    ASSERT_TRUE(image.save(path));
    EXPECT_TRUE(QFileInfo(path).size() > 0);
    // The dark look: the frame's background is dark.
    EXPECT_LT(QColor(image.pixel(640, 790)).lightness(), 128);
}

TEST_F(FrameTest, RendersTheDialogsToPictures) {
    app->m_strFileSize = "73400320";
    CVexloRangeSliderDlg selection(*app);
    selection.show();
    CVexloAboutDlg about(frame);
    about.show();
    QTest::qWait(50);
    for (const auto& [widget, name] :
         {std::pair<QWidget*, const char*>{&selection, "kelvara-recovery-selection.png"},
          std::pair<QWidget*, const char*>{&about, "kelvara-about.png"}}) {
        const QImage image = widget->grab().toImage();
        ASSERT_FALSE(image.isNull()) << name;
        EXPECT_TRUE(image.save(test::TestOutputDir() + "/" + name)) << name;
    }
}

}  // namespace
}  // namespace kelvara
