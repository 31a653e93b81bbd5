#include "app/scan_job.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QTabWidget>
#include <QTest>
#include <chrono>
#include <thread>

#include "app/command_ids.h"
#include "app/output_wnd.h"
#include "app/status_bar.h"
#include "engine/bkf_advance.h"
#include "panes/right_view_list_ctrl.h"
#include "panes/tree_item_ref.h"
#include "platform/control_id.h"
#include "tests/gui/scan_test_support.h"
#include "tests/support/packed.h"

namespace kelvara {
namespace {

using test::IsLogTimestamp;
using test::ScanTest;
using testing::Copy;

QString PathOf(const testing::TempImage& image) {
    return QString::fromStdString(image.Path().string());
}

const char* const kCompleted = "Scanning for BKF file completed. Expand tree to see recover files.";

TEST_F(ScanTest, OpenScansTheImageAndShowsTheTopLevelCheckedNewestFirst) {
    auto image = test::MakeTwoMediaImage();
    const QString path = PathOf(*image);
    frame->GetOutputWnd()->SetActiveTab(COutputWnd::kViewerTab);
    frame->GetLogList()->AppendLogLine("from before");
    ASSERT_TRUE(OpenAndScan(path));

    ASSERT_EQ(script.FileDialogs().size(), 1u);
    const FileDialogRequest dialog = script.FileDialogs().front();
    EXPECT_EQ(dialog.kind, FileDialogKind::Open);
    ASSERT_EQ(dialog.filters.size(), 1);
    EXPECT_EQ(dialog.filters[0].description, ".bkf Files (*.bkf)");
    EXPECT_EQ(dialog.filters[0].pattern, "*bkf");
    EXPECT_EQ(dialog.defaultSuffix, "bkf");
    EXPECT_EQ(dialog.initialName, "*.bkf");
    EXPECT_TRUE(dialog.fileMustExist);

    ASSERT_EQ(script.MessageTexts(), QStringList{kCompleted});
    EXPECT_TRUE(script.MessageBoxes().front().hasOwner);
    EXPECT_EQ(script.MessageBoxes().front().icon, MessageBoxIcon::Information);
    EXPECT_EQ(app->m_strBkfPath, path);
    EXPECT_EQ(app->m_strFileSize, QString::number(QFileInfo(path).size()));
    EXPECT_EQ(app->m_nRecoveryMode, 1);
    EXPECT_EQ(app->m_nRangeMode, 2);
    EXPECT_FALSE(app->IsBusy());
    EXPECT_FALSE(frame->IsJobRunning());

    // The root's children, newest first, each checked with its placeholder.
    bkf* scanner = frame->GetScanner();
    ASSERT_NE(scanner, nullptr);
    EXPECT_EQ(dynamic_cast<bkfAdvance*>(scanner), nullptr);
    EXPECT_EQ(TopLevelTexts(), QStringList({test::kNewer, test::kOlder}));
    std::vector<bool> shown(static_cast<size_t>(scanner->Tree().NodeCount()), false);
    for (int i = 0; i < Tree()->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = Tree()->topLevelItem(i);
        EXPECT_TRUE(Tree()->GetCheck(item));
        EXPECT_EQ(Tree()->GetCheckDisplay(item), CheckDisplay::Checked);
        EXPECT_EQ(ChildTexts(item), QStringList{"Dummy"});
        EXPECT_EQ(Tree()->GetItemImage(item), 0);
        const TreeItemRef ref = TreeItemRef::FromVariant(Tree()->GetItemData(item));
        ASSERT_TRUE(ref.IsNode());
        EXPECT_EQ(Copy(scanner->Tree().Node(ref.index).byCheck), kChecked);
        EXPECT_EQ(Copy(scanner->Tree().Node(ref.index).bInTree), 1);
        shown[static_cast<size_t>(ref.index)] = true;
    }
    // Nothing below the top level has an item or a mark yet.
    for (int64_t n = 0; n < scanner->Tree().NodeCount(); ++n) {
        if (shown[static_cast<size_t>(n)]) continue;
        EXPECT_EQ(Copy(scanner->Tree().Node(n).bInTree), 0) << n;
        EXPECT_EQ(Copy(scanner->Tree().Node(n).byCheck), kCheckNeverSet) << n;
    }
    ASSERT_EQ(scanner->Files().Count(), test::kTwoMediaFiles);
    for (int64_t f = 0; f < scanner->Files().Count(); ++f) {
        EXPECT_EQ(Copy(scanner->Files().At(f).byCheck), kCheckNeverSet);
    }

    // The log starts over, in this order.
    const QStringList rows = LogRows();
    ASSERT_EQ(rows.size(), 11) << rows.join('|').toStdString();
    const QString starts = "Quarel BKF file Recovery process starts.  ";
    EXPECT_EQ(rows.mid(0, 5), QStringList({"", path + " File is selected for recovery....", "",
                                           "BKF file size is: " + app->m_strFileSize, ""}));
    EXPECT_TRUE(rows[5].startsWith(starts));
    EXPECT_TRUE(IsLogTimestamp(rows[5].mid(starts.size()))) << rows[5].toStdString();
    EXPECT_EQ(rows.mid(6), QStringList({"", "Total number of files found: 8", "", kCompleted, ""}));
    EXPECT_EQ(frame->GetOutputWnd()->GetTabs()->currentIndex(), COutputWnd::kLogTab);

    // The job's status-bar elements are gone again.
    CMyRibbonStatusBar* bar = frame->GetStatusBar();
    EXPECT_EQ(bar->GetMainElements().size(), 2);
    for (int id : {310, 312, 313, 326}) EXPECT_EQ(bar->GetElement(id), nullptr) << id;
    EXPECT_NE(bar->GetElement(ID_STATUS_LINK), nullptr);
}

TEST_F(ScanTest, OpenRefusesPathsWithoutLowerCaseBkfOrMissingFiles) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    auto write = [&](const QString& name) {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        return dir.filePath(name);
    };
    const struct {
        QString path;
        bool accepted;
    } cases[] = {
        {write("BACKUP.BKF"), false}, {dir.filePath("missing.bkf"), false},
        {dir.path(), false},  // a folder is not a file
        {write("x.bkf.old"), true},   {"  " + write("spaced.bkf") + "\t", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        script.ClearRecords();
        script.QueueFileDialogAnswer(c.path);
        test::RangeDialogAnswer answer(false);
        frame->OnOpenBkfFile();
        if (c.accepted) {
            EXPECT_TRUE(answer.Answered());
            EXPECT_EQ(script.MessageTexts(),
                      QStringList{
                          "Please select recovery mode and scanning option to recover bkf file."});
            EXPECT_EQ(app->m_strFileSize, "0");
        } else {
            EXPECT_FALSE(answer.Answered());
            EXPECT_EQ(script.MessageTexts(),
                      QStringList{"Please select valid BKF file to recover."});
        }
        EXPECT_FALSE(app->IsBusy());
    }
    // Cancelling the file dialog does nothing at all.
    script.ClearRecords();
    frame->OnOpenBkfFile();
    EXPECT_EQ(script.FileDialogs().size(), 1u);
    EXPECT_TRUE(script.MessageBoxes().empty());
}

TEST_F(ScanTest, CancellingTheRecoveryDialogKeepsThePreviousScan) {
    auto image = test::MakeTwoMediaImage();
    ASSERT_TRUE(OpenAndScan(PathOf(*image)));
    bkf* scanner = frame->GetScanner();
    const QStringList log = LogRows();
    Click(Item(test::kNewer), TVHT_ONITEMLABEL);
    ASSERT_EQ(frame->GetFileList()->GetItemCount(), 1);

    script.ClearRecords();
    script.QueueFileDialogAnswer(PathOf(*image));
    test::RangeDialogAnswer answer(false);
    frame->OnOpenBkfFile();
    EXPECT_EQ(script.MessageTexts(),
              QStringList{"Please select recovery mode and scanning option to recover bkf file."});
    EXPECT_EQ(frame->GetScanner(), scanner);
    EXPECT_EQ(TopLevelTexts(), QStringList({test::kNewer, test::kOlder}));
    EXPECT_EQ(LogRows(), log);
    EXPECT_EQ(frame->GetFileList()->GetItemCount(), 1);
}

TEST_F(ScanTest, RangeAndModeOfTheDialogReachTheScanner) {
    testing::ImageBuilder builder;
    test::AddTwoMedia(builder);
    uint64_t secondTape = 0;  // where the newer container's blocks begin
    for (const testing::BlockInfo& block : builder.Blocks()) {
        if (block.tag == "SSET" && secondTape == 0) secondTape = block.offset;
    }
    ASSERT_GT(secondTape, 0u);
    testing::TempImage image(builder);
    const QString size = QString::number(QFileInfo(PathOf(image)).size());
    // The range fields are read up to their first non-digit.
    ASSERT_TRUE(OpenAndScan(PathOf(image), [&](CVexloRangeSliderDlg& dialog) {
        dialog.OnScanPartial();
        dialog.OnAdvancedMode();
        FindControl<QLineEdit>(&dialog, CVexloRangeSliderDlg::IDC_RANGE_MIN)
            ->setText(QString::number(secondTape) + "x9");
        FindControl<QLineEdit>(&dialog, CVexloRangeSliderDlg::IDC_RANGE_MAX)->setText(size);
    }));
    EXPECT_EQ(app->m_nRangeMode, 1);
    EXPECT_EQ(app->m_nRecoveryMode, 2);
    ASSERT_NE(dynamic_cast<bkfAdvance*>(frame->GetScanner()), nullptr);
    EXPECT_EQ(frame->GetScanner()->RangeStart(), secondTape);
    EXPECT_EQ(TopLevelTexts(), QStringList{test::kNewer});

    // A range past the end is corrected with the scanner's message, owned by the frame.
    script.ClearRecords();
    ASSERT_TRUE(OpenAndScan(PathOf(image), [&](CVexloRangeSliderDlg& dialog) {
        dialog.OnScanPartial();
        FindControl<QLineEdit>(&dialog, CVexloRangeSliderDlg::IDC_RANGE_MAX)
            ->setText("99999999999999999999999");
    }));
    EXPECT_EQ(script.MessageTexts(),
              QStringList({"End range exceeds the file size so file will parse to the end of file "
                           "size.",
                           kCompleted}));
    EXPECT_TRUE(script.MessageBoxes().front().hasOwner);
    EXPECT_EQ(TopLevelTexts(), QStringList({test::kNewer, test::kOlder}));
}

TEST_F(ScanTest, AScanThatFindsNothingOrCannotOpenTheImage) {
    testing::ImageBuilder zeros;
    zeros.Zeros(64 * 1024);
    testing::TempImage empty(zeros);
    ASSERT_TRUE(OpenAndScan(PathOf(empty)));
    EXPECT_EQ(script.MessageTexts(), QStringList{kCompleted});
    EXPECT_EQ(Tree()->topLevelItemCount(), 0);
    EXPECT_EQ(LogRows().mid(7),
              QStringList({"Total number of files found: 0", "", kCompleted, ""}));

    // The image goes away while the recovery dialog is open.
    auto image = test::MakeTwoMediaImage();
    const QString path = PathOf(*image);
    script.ClearRecords();
    ASSERT_TRUE(OpenAndScan(path, [&](CVexloRangeSliderDlg&) { QFile::remove(path); }));
    EXPECT_EQ(script.MessageTexts(), QStringList{"Scanning for BKF file process aborted."});
    EXPECT_EQ(Tree()->topLevelItemCount(), 0);
    EXPECT_EQ(LogRows().size(), 7);  // nothing after the start lines
    EXPECT_EQ(frame->GetStatusBar()->GetMainElements().size(), 2);
    EXPECT_FALSE(app->IsBusy());
}

// A scan stopped midway: every command waits while it runs, Stop asks, and the job counts as
// running until the worker has ended, although the flag is already clear.
TEST_F(ScanTest, StoppingAScanKeepsWhatWasFoundAndEveryCommandWaitsMeanwhile) {
    testing::ImageBuilder builder;
    builder.Tape(u"Big").Sset(1, u"Set").Volb(u"C:");
    constexpr int kFiles = 3000;
    for (int i = 0; i < kFiles; ++i) {
        if (i % 500 == 0) builder.Dirb("dir" + std::to_string(i / 500));
        builder.File("f" + std::to_string(i) + ".txt", testing::Stan("x"));
    }
    testing::TempImage image(builder);
    script.QueueFileDialogAnswer(PathOf(image));
    test::RangeDialogAnswer answer;
    frame->OnOpenBkfFile();
    ASSERT_TRUE(frame->IsJobRunning());
    EXPECT_TRUE(app->IsBusy());
    // The status bar shows the job's elements after the link and its separator.
    CMyRibbonStatusBar* bar = frame->GetStatusBar();
    const QList<QWidget*> elements = bar->GetMainElements();
    ASSERT_EQ(elements.size(), 7);
    const int order[] = {311, 0, 310, 326, 312, 313, 0};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(GetControlId(elements[i]), order[i]) << i;
    auto* progressBar = qobject_cast<QProgressBar*>(bar->GetElement(310));
    ASSERT_NE(progressBar, nullptr);
    EXPECT_EQ(progressBar->size(), QSize(550, 26));
    EXPECT_EQ(progressBar->maximum(), 100);
    EXPECT_EQ(qobject_cast<QLabel*>(bar->GetElement(326))->text(), ".............  ");
    EXPECT_EQ(qobject_cast<QLabel*>(bar->GetElement(312))->text(), ".." + QString(61, ' ') + ".");
    EXPECT_EQ(qobject_cast<QLabel*>(bar->GetElement(313))->text(), ".." + QString(30, ' ') + ".");

    // This thread takes no messages now, so the worker waits at its first progress notice.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    script.ClearRecords();
    const struct {
        int command;
        const char* text;
    } refusals[] = {
        {283, "Please stop the running process to open the BKF file."},
        {298, "Please stop the running process to save the recovered files."},
        {297, "Please stop the running process to search the files."},
        {325, "Please stop the running process to save the log file."},
        {293, "Please stop the running process to load recovery snapshot."},
        {294, "Please stop the running process to save recovery snapshot."},
    };
    for (const auto& r : refusals) {
        script.ClearRecords();
        frame->OnCommand(r.command);
        EXPECT_EQ(script.MessageTexts(), QStringList{r.text}) << r.command;
    }
    CheckTreeEndLabelEdit edit;
    for (uint32_t message : {WM_BKF_SHOW_FOLDER, WM_BKF_TREE_MENU, WM_BKF_EXPAND_ITEM,
                             WM_BKF_RENAME_ITEM, WM_BKF_PREVIEW_ROW}) {
        script.ClearRecords();
        const WPARAM wParam =
            message == WM_BKF_RENAME_ITEM ? reinterpret_cast<WPARAM>(&edit) : WPARAM(4);
        EXPECT_EQ(SendWindowMessage(frame, message, wParam, 0), 0) << message;
        EXPECT_EQ(script.MessageTexts(), QStringList{"Please wait for the running process."});
    }
    script.ClearRecords();
    EXPECT_EQ(SendWindowMessage(frame, WM_BKF_CHECK_CHANGED, 0, 1), 0);
    EXPECT_TRUE(script.MessageBoxes().empty());

    // Stop asks first; No keeps the scan going.
    frame->OnCommand(ID_STOP_PROCESS);
    EXPECT_EQ(script.MessageTexts(), QStringList{"Do you want to stop recovering file(s)?"});
    EXPECT_EQ(script.MessageBoxes().front().icon, MessageBoxIcon::Question);
    EXPECT_TRUE(app->IsBusy());
    script.QueueMessageBoxAnswer(MessageBoxResult::Yes);
    frame->OnCommand(ID_STOP_PROCESS);
    EXPECT_FALSE(app->IsBusy());
    // The worker has not seen it yet: it still owns the catalogue, so nothing may start.
    EXPECT_TRUE(frame->IsJobRunning());
    script.ClearRecords();
    frame->OnCommand(ID_OPEN_BKF_FILE);
    frame->close();
    EXPECT_EQ(script.MessageTexts(),
              QStringList({"Please stop the running process to open the BKF file.",
                           "Please stop the running process to close the application."}));
    EXPECT_TRUE(script.FileDialogs().empty());

    script.ClearRecords();
    ASSERT_TRUE(WaitForJobEnd());
    EXPECT_EQ(script.MessageTexts(), QStringList{kCompleted});
    EXPECT_EQ(TopLevelTexts(), QStringList{"Big"});
    const int64_t found = frame->GetScanner()->Files().Count();
    EXPECT_LT(found, kFiles);
    EXPECT_EQ(LogRows().mid(7),
              QStringList(
                  {"Total number of files found: " + QString::number(found), "", kCompleted, ""}));
    EXPECT_EQ(bar->GetMainElements().size(), 2);
}

TEST_F(ScanTest, ProgressMessagesSetTheStatusBarTexts) {
    EXPECT_EQ(SendWindowMessage(frame, WM_BKF_STATUS_BAR, 1, 0), 1);
    EXPECT_EQ(SendWindowMessage(frame, WM_BKF_STATUS_BAR, 1, 0), 1);  // shown once only
    CMyRibbonStatusBar* bar = frame->GetStatusBar();
    ASSERT_EQ(bar->GetMainElements().size(), 7);
    const struct {
        float percent;
        uint64_t position, found, length;
        const char* percentText;
        int bar;
        const char* progressText;
        const char* foundText;
    } cases[] = {
        {99.999f, 1023, 7, 1024, "100.00%", 99, "Progress: 1023/1024", "File Found: 7"},
        {0.0f, 0, 0, 5368709120ull, "0.00%", 0, "Progress: 0/5368709120", "File Found: 0"},
        {12.345f, 6000000000ull, 123456, 48600000000ull, "12.35%", 12,
         "Progress: 6000000000/48600000000", "File Found: 123456"},
    };
    for (const auto& c : cases) {
        auto* record = new ScanProgress{c.percent, c.position, c.found, c.length};
        EXPECT_EQ(
            SendWindowMessage(frame, WM_BKF_SCAN_PROGRESS, reinterpret_cast<WPARAM>(record), 0), 1);
        EXPECT_EQ(qobject_cast<QLabel*>(bar->GetElement(326))->text(), c.percentText);
        EXPECT_EQ(qobject_cast<QProgressBar*>(bar->GetElement(310))->value(), c.bar);
        EXPECT_EQ(qobject_cast<QLabel*>(bar->GetElement(312))->text(), c.progressText);
        EXPECT_EQ(qobject_cast<QLabel*>(bar->GetElement(313))->text(), c.foundText);
    }
    EXPECT_EQ(SendWindowMessage(frame, WM_BKF_SCAN_DONE, 100, 0), 1);
    EXPECT_EQ(qobject_cast<QProgressBar*>(bar->GetElement(310))->value(), 100);

    // Removal is posted by the worker; several scans leave the bar as it was at start-up.
    for (int i = 0; i < 3; ++i) {
        PostWindowMessage(frame, WM_BKF_STATUS_BAR, 0, 0);
        QTRY_COMPARE(bar->GetMainElements().size(), 2);
        SendWindowMessage(frame, WM_BKF_STATUS_BAR, 1, 0);
    }
    SendWindowMessage(frame, WM_BKF_STATUS_BAR, 0, 0);
    EXPECT_EQ(bar->GetMainElements().size(), 2);
    EXPECT_EQ(bar->GetElement(310), nullptr);
    // A late progress notice after removal is only freed.
    auto* late = new ScanProgress{50.0f, 1, 1, 2};
    EXPECT_EQ(SendWindowMessage(frame, WM_BKF_SCAN_PROGRESS, reinterpret_cast<WPARAM>(late), 0), 1);
}

TEST(ScanJob, RangeFieldsAreReadUpToTheFirstNonDigit) {
    const struct {
        const char* text;
        uint64_t value;
    } cases[] = {
        {"", 0},
        {"abc", 0},
        {"0", 0},
        {"1048576", 1048576},
        {"12x34", 12},
        {" 5", 0},
        {"-5", 0},
        {"18446744073709551615", UINT64_MAX},
        {"18446744073709551616", UINT64_MAX},
        {"99999999999999999999999", UINT64_MAX},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseRangeNumber(QString::fromLatin1(c.text)), c.value) << c.text;
    }
}

// Frees what it is sent, as the frame does, and counts the progress notices.
class ProgressCounter : public QWidget, public IMessageWindow {
public:
    LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM) override {
        if (message != WM_BKF_SCAN_PROGRESS) return 1;
        std::unique_ptr<ScanProgress> record(reinterpret_cast<ScanProgress*>(wParam));
        positions.push_back(record->nPosition);
        return 1;
    }
    std::vector<uint64_t> positions;
};

TEST(ScanJob, HostPassesEveryPerMilleButFewHeartbeats) {
    ProgressCounter window;
    CScanHost host(&window);
    constexpr uint64_t kLength = 1000 * 1024;
    // A notice for every window, as for an image without blocks: 1,000 per-mille steps.
    for (uint64_t position = 0; position < kLength; position += 256) {
        host.OnScanProgress({static_cast<float>(position * 100.0 / kLength), position, 0, kLength});
    }
    // The first notice, then each new per-mille; the rest only as heartbeats.
    ASSERT_GE(window.positions.size(), 1000u);
    EXPECT_LE(window.positions.size(), 1000u + 50u);
    EXPECT_EQ(window.positions.front(), 0u);
    EXPECT_GE(window.positions.back(), kLength - 1024);

    // Within one per-mille, a notice passes again once the heartbeat has gone by.
    const size_t before = window.positions.size();
    host.OnScanProgress({99.9f, kLength - 1000, 0, kLength});
    EXPECT_EQ(window.positions.size(), before);
    std::this_thread::sleep_for(CScanHost::kHeartbeat + std::chrono::milliseconds(10));
    host.OnScanProgress({99.9f, kLength - 1000, 0, kLength});
    EXPECT_EQ(window.positions.size(), before + 1);
}

}  // namespace
}  // namespace kelvara
