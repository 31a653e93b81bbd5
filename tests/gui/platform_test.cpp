#include <errno.h>
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <thread>

#include "platform/control_id.h"
#include "platform/file_error.h"
#include "platform/settings.h"
#include "platform/shell_file_info.h"
#include "platform/temp_folder.h"
#include "platform/ui_script.h"
#include "tests/gui/gui_test_support.h"

namespace kelvara {
namespace {

using test::RecordingWindow;

TEST(WindowMessages, NumbersFollowTheMessageTable) {
    EXPECT_EQ(WM_BKF_SHOW_FOLDER, 1175u);
    EXPECT_EQ(WM_BKF_TREE_MENU, 1176u);
    EXPECT_EQ(WM_BKF_EXPAND_ITEM, 1178u);
    EXPECT_EQ(WM_BKF_CHECK_CHANGED, 1179u);
    EXPECT_EQ(WM_BKF_RENAME_ITEM, 1180u);
    EXPECT_EQ(WM_BKF_SCAN_DONE, 1181u);
    EXPECT_EQ(WM_BKF_SCAN_PROGRESS, 1182u);
    EXPECT_EQ(WM_BKF_PREVIEW_ROW, 1184u);
    EXPECT_EQ(WM_BKF_STATUS_BAR, 1186u);
    EXPECT_EQ(WM_BKF_RESULT_CLICKED, 1187u);
}

TEST(WindowMessages, SendRunsTheHandlerBeforeReturningOnAnyThread) {
    RecordingWindow window;
    window.result = 7;
    EXPECT_EQ(SendWindowMessage(&window, WM_BKF_CHECK_CHANGED, 11, 1), 7);
    ASSERT_EQ(window.messages.size(), 1);

    // From a worker: the handler runs on the window's thread while the worker waits.
    LRESULT fromWorker = 0;
    std::thread worker([&] { fromWorker = SendWindowMessage(&window, WM_BKF_SCAN_DONE, 100, 0); });
    QTRY_COMPARE(window.messages.size(), 2);
    worker.join();
    EXPECT_EQ(fromWorker, 7);
    EXPECT_EQ(window.messages.at(1).message, WM_BKF_SCAN_DONE);
    EXPECT_EQ(window.messages.at(1).wParam, 100u);
}

TEST(WindowMessages, PostQueuesAndNullOrForeignWindowsGetNothing) {
    RecordingWindow window;
    EXPECT_TRUE(PostWindowMessage(&window, WM_BKF_STATUS_BAR, 0, 0));
    EXPECT_TRUE(window.messages.isEmpty());  // not yet: it is queued
    QCoreApplication::processEvents();
    ASSERT_EQ(window.messages.size(), 1);
    EXPECT_EQ(window.messages.at(0).message, WM_BKF_STATUS_BAR);

    QWidget plain;
    EXPECT_EQ(SendWindowMessage(nullptr, WM_BKF_SCAN_DONE), 0);
    EXPECT_EQ(SendWindowMessage(&plain, WM_BKF_SCAN_DONE), 0);
    EXPECT_FALSE(PostWindowMessage(&plain, WM_BKF_SCAN_DONE));

    // A posted message to a window that dies first is dropped.
    auto* doomed = new RecordingWindow;
    EXPECT_TRUE(PostWindowMessage(doomed, WM_BKF_STATUS_BAR));
    delete doomed;
    QCoreApplication::processEvents();
}

TEST(UiScript, AnswersFromQueuesAndRecordsEveryBox) {
    CUiScript script;
    script.QueueMessageBoxAnswer(MessageBoxResult::Yes);
    EXPECT_EQ(
        ShowMessageBox(nullptr, "q1", "cap", MessageBoxButtons::YesNo, MessageBoxIcon::Question),
        MessageBoxResult::Yes);
    // Empty queue: No for a question, OK for a message.
    EXPECT_EQ(ShowMessageBox(nullptr, "q2", "cap", MessageBoxButtons::YesNo), MessageBoxResult::No);
    QWidget owner;
    EXPECT_EQ(ShowMessageBox(&owner, "m", "cap"), MessageBoxResult::Ok);
    // A Yes queued for an OK box is consumed but cannot turn into Yes.
    script.QueueMessageBoxAnswer(MessageBoxResult::Yes);
    EXPECT_EQ(ShowMessageBox(nullptr, "m2", "cap"), MessageBoxResult::Ok);

    EXPECT_EQ(script.MessageTexts(), (QStringList{"q1", "q2", "m", "m2"}));
    const auto boxes = script.MessageBoxes();
    EXPECT_EQ(boxes.at(0).icon, MessageBoxIcon::Question);
    EXPECT_FALSE(boxes.at(0).hasOwner);
    EXPECT_TRUE(boxes.at(2).hasOwner);
    EXPECT_EQ(boxes.at(2).buttons, MessageBoxButtons::Ok);

    FileDialogRequest request;
    request.kind = FileDialogKind::Save;
    request.defaultSuffix = "txt";
    script.QueueFileDialogAnswer("/some/where.txt");
    EXPECT_EQ(ShowFileDialog(nullptr, request), "/some/where.txt");
    EXPECT_EQ(ShowFileDialog(nullptr, request), QString());  // cancelled
    ASSERT_EQ(script.FileDialogs().size(), 2u);
    EXPECT_EQ(script.FileDialogs().at(0).defaultSuffix, "txt");

    script.QueuePopupMenuAnswer(5);
    script.QueuePopupMenuAnswer(99);  // not on the menu: dismissed
    EXPECT_EQ(ShowPopupMenu(nullptr, {}, {{5, "five"}, {6, "six"}}), 5);
    EXPECT_EQ(ShowPopupMenu(nullptr, {}, {{5, "five"}}), 0);
    EXPECT_EQ(script.PopupMenus().size(), 2u);
}

TEST(UiScript, WorkerBoxesAreRecordedToo) {
    CUiScript script;
    script.QueueMessageBoxAnswer(MessageBoxResult::Yes);
    MessageBoxResult answer = MessageBoxResult::Ok;
    std::thread worker(
        [&] { answer = ShowMessageBox(nullptr, "from worker", "cap", MessageBoxButtons::YesNo); });
    worker.join();
    EXPECT_EQ(answer, MessageBoxResult::Yes);
    EXPECT_EQ(script.MessageTexts(), QStringList{"from worker"});
}

TEST(FileError, FrameworkWordingByCause) {
    const struct {
        int error;
        const char* expected;
    } cases[] = {
        {EACCES, "Access to /x/y.txt was denied."},
        {EISDIR, "Access to /x/y.txt was denied."},
        {EROFS, "Access to /x/y.txt was denied."},
        {ENOENT, "/x/y.txt contains an invalid path."},
        {ENOTDIR, "/x/y.txt contains an invalid path."},
        {EMFILE, "/x/y.txt could not be opened because there are too many open files."},
        {ENOSPC, "Disk full while accessing /x/y.txt."},
        {EIO, "A hardware I/O error was reported while accessing /x/y.txt."},
        {EBUSY, "An unknown error occurred while accessing /x/y.txt."},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FileErrorMessage(c.error, "/x/y.txt"), QString::fromLatin1(c.expected))
            << c.error;
    }
    // The framework's buffer holds 1024 characters.
    EXPECT_EQ(FileErrorMessage(EACCES, QString(2000, 'a')).size(), 1024);
}

TEST(Settings, IntegersRoundTripUnderTheKeyName) {
    SetSettingsKey("KelvaraSettingsTest");
    EXPECT_EQ(GetProfileInt("Missing", 42), 42);
    WriteProfileInt("Value", 216);
    EXPECT_EQ(GetProfileInt("Value", 0), 216);
    QSettings direct("KelvaraSettingsTest", "Kelvara");
    EXPECT_EQ(direct.value("Value").toInt(), 216);
}

TEST(PreviewFolder, LivesUnderTheTemporaryPathAndIsRemovedWhole) {
    EXPECT_EQ(GetPreviewFolder(), QDir::tempPath() + "/VAVEdoDeduv4");
    ClearPreviewFolder();  // nothing there: nothing happens

    QTemporaryDir outside;
    QFile keep(outside.filePath("keep.txt"));
    ASSERT_TRUE(keep.open(QIODevice::WriteOnly));
    keep.close();

    const QString folder = GetPreviewFolder();
    ASSERT_TRUE(QDir().mkpath(folder + "/a/b"));
    QFile inner(folder + "/a/b/c.bin");
    ASSERT_TRUE(inner.open(QIODevice::WriteOnly));
    inner.close();
    // A link inside must be removed as a link, never followed.
    ASSERT_TRUE(QFile::link(outside.path(), folder + "/link"));

    ClearPreviewFolder();
    EXPECT_FALSE(QFileInfo::exists(folder));
    EXPECT_TRUE(QFileInfo::exists(outside.filePath("keep.txt")));
}

TEST(ShellFileInfo, WorksFromTheNameAlone) {
    CShellFileInfo info;
    // None of these files exist.
    const int txt = info.FileIconIndex("/no/such/folder/a.txt");
    EXPECT_EQ(info.FileIconIndex("b.TXT"), txt);  // one index per icon
    EXPECT_GE(txt, 0);
    EXPECT_LT(txt, info.ImageList().Count());
    EXPECT_GE(info.FolderIconIndex(), 0);
    EXPECT_NE(info.FolderIconIndex(), info.FileIconIndex("c.unknownext"));
    EXPECT_FALSE(info.ImageList().Icon(info.FolderIconIndex()).isNull());

    EXPECT_EQ(info.TypeName("x.qqqzzz"), "QQQZZZ File");
    EXPECT_EQ(info.TypeName("noextension"), "File");
    EXPECT_FALSE(info.TypeName("photo.png").isEmpty());
    EXPECT_NE(info.TypeName("photo.png"), "PNG File");  // the database knows it
}

TEST(ControlIds, FindControlByTheIdItWasGiven) {
    QWidget parent;
    auto* a = new QWidget(&parent);
    auto* b = new QWidget(a);
    SetControlId(a, 10);
    SetControlId(b, 20);
    EXPECT_EQ(FindControl(&parent, 20), b);
    EXPECT_EQ(FindControl(&parent, 10), a);
    EXPECT_EQ(FindControl(&parent, 30), nullptr);
    EXPECT_EQ(GetControlId(&parent), 0);
}

}  // namespace
}  // namespace kelvara
