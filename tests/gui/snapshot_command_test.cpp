#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "app/command_ids.h"
#include "engine/bkf_advance.h"
#include "panes/right_view_list_ctrl.h"
#include "panes/tree_item_ref.h"
#include "tests/gui/scan_test_support.h"
#include "tests/support/packed.h"

namespace kelvara {
namespace {

using test::IsLogTimestamp;
using testing::Copy;

class SnapshotCommandTest : public test::ScanTest {
protected:
    void SetUp() override {
        ScanTest::SetUp();
        ASSERT_TRUE(folder.isValid());
        image = test::MakeTwoMediaImage();
        imagePath = QString::fromStdString(image->Path().string());
        snapshotPath = folder.filePath("scan.EXECBKFQUAREL");
    }
    bool Save(const QString& path) {
        script.QueueFileDialogAnswer(path);
        frame->OnCommand(ID_SAVE_SNAPSHOT);
        return QFile::exists(path);
    }
    void Load(const QString& path) {
        script.QueueFileDialogAnswer(path);
        frame->OnCommand(ID_LOAD_SNAPSHOT);
    }
    // The text after `prefix`, which must begin `text`.
    static QString After(const QString& text, const QString& prefix) {
        EXPECT_TRUE(text.startsWith(prefix)) << text.toStdString();
        return text.mid(prefix.size());
    }

    QTemporaryDir folder;
    std::unique_ptr<testing::TempImage> image;
    QString imagePath;
    QString snapshotPath;
};

TEST_F(SnapshotCommandTest, SaveThenLoadGivesTheSameCatalogueAndTree) {
    // An advanced scan with a renamed folder, some of it opened and unchecked.
    ASSERT_TRUE(OpenAndScan(imagePath, [](CVexloRangeSliderDlg& d) { d.OnAdvancedMode(); }));
    Click(OpenPath(test::kDocs), TVHT_ONITEMLABEL);
    Click(Item(QString(test::kDocs) + "/C"), TVHT_ONITEMSTATEICON);
    const int64_t renamed = TreeItemRef::FromVariant(Tree()->GetItemData(Item(test::kDocs))).index;
    frame->GetScanner()->Tree().RenameNode(renamed, u"Renamed");
    const QStringList topLevel = TopLevelTexts();
    script.ClearRecords();

    const int before = LogRows().size();
    ASSERT_TRUE(Save(snapshotPath));
    ASSERT_EQ(script.FileDialogs().size(), 1u);
    const FileDialogRequest save = script.FileDialogs().front();
    EXPECT_EQ(save.kind, FileDialogKind::Save);
    EXPECT_EQ(save.defaultSuffix, "EXECBKFQUAREL");
    EXPECT_TRUE(save.initialName.isEmpty());
    EXPECT_TRUE(save.overwritePrompt);
    ASSERT_EQ(save.filters.size(), 1);
    EXPECT_EQ(save.filters[0].description, ".QuarelBKF Files (*.EXECBKFQUAREL)");
    EXPECT_EQ(save.filters[0].pattern, "*EXECBKFQUAREL");
    EXPECT_TRUE(script.MessageBoxes().empty());
    EXPECT_FALSE(app->IsBusy());
    const QStringList saved = LogRows().mid(before);
    ASSERT_EQ(saved.size(), 4);
    EXPECT_TRUE(IsLogTimestamp(After(
        saved[0], snapshotPath + " file is saving for Backup Exec BKF Recovery Snapshot.    ")));
    EXPECT_EQ(saved[1], "");
    EXPECT_TRUE(IsLogTimestamp(
        After(saved[2],
              "Saving of Backup Exec BKF Recovery Snapshot has been completed successfully.    ")));
    EXPECT_EQ(saved[3], "");

    // Keep the scanner's catalogue to compare with what the load rebuilds.
    std::unique_ptr<bkf> scanned = std::make_unique<bkfAdvance>(app->m_bBusy);
    {
        bkf* current = frame->GetScanner();
        for (int64_t i = 1; i < current->Tree().NodeCount(); ++i) {
            scanned->Tree().AppendRawNode(current->Tree().Node(i), current->Tree().NodeName(i));
        }
        for (int64_t i = 0; i < current->Files().Count(); ++i) {
            scanned->Files().Append(current->Files().At(i), current->Files().Name(i));
        }
    }

    script.ClearRecords();
    app->m_strBkfPath.clear();
    Load(snapshotPath);
    ASSERT_EQ(script.FileDialogs().size(), 1u);
    const FileDialogRequest load = script.FileDialogs().front();
    EXPECT_EQ(load.kind, FileDialogKind::Open);
    EXPECT_TRUE(load.fileMustExist);
    EXPECT_EQ(load.filters[0].pattern, "*EXECBKFQUAREL");
    EXPECT_TRUE(script.MessageBoxes().empty());
    EXPECT_FALSE(app->IsBusy());
    EXPECT_EQ(app->m_strBkfPath, imagePath);

    // A standard scanner with the same records, node for node and file for file.
    bkf* loaded = frame->GetScanner();
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(dynamic_cast<bkfAdvance*>(loaded), nullptr);
    ASSERT_EQ(loaded->Tree().NodeCount(), scanned->Tree().NodeCount());
    for (int64_t i = 1; i < loaded->Tree().NodeCount(); ++i) {
        const BKFTREENODE& a = loaded->Tree().Node(i);
        const BKFTREENODE& b = scanned->Tree().Node(i);
        EXPECT_EQ(loaded->Tree().NodeName(i), scanned->Tree().NodeName(i)) << i;
        EXPECT_EQ(Copy(a.nParent), Copy(b.nParent)) << i;
        EXPECT_EQ(Copy(a.nFirstChild), Copy(b.nFirstChild)) << i;
        EXPECT_EQ(Copy(a.nNextSibling), Copy(b.nNextSibling)) << i;
        EXPECT_EQ(Copy(a.nFirstFile), Copy(b.nFirstFile)) << i;
        EXPECT_EQ(Copy(a.nLastFile), Copy(b.nLastFile)) << i;
    }
    ASSERT_EQ(loaded->Files().Count(), scanned->Files().Count());
    for (int64_t i = 0; i < loaded->Files().Count(); ++i) {
        EXPECT_EQ(loaded->Files().Name(i), scanned->Files().Name(i)) << i;
        EXPECT_EQ(Copy(loaded->Files().At(i).nDataOffset),
                  Copy(scanned->Files().At(i).nDataOffset));
        EXPECT_EQ(Copy(loaded->Files().At(i).nDataSize), Copy(scanned->Files().At(i).nDataSize));
        EXPECT_EQ(Copy(loaded->Files().At(i).nFolder), Copy(scanned->Files().At(i).nFolder));
    }

    // The tree starts over: the same top level, all checked; marks below start over too.
    EXPECT_EQ(TopLevelTexts(), topLevel);
    for (int i = 0; i < Tree()->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = Tree()->topLevelItem(i);
        EXPECT_EQ(Tree()->GetCheckDisplay(item), CheckDisplay::Checked);
        EXPECT_EQ(ChildTexts(item), QStringList{"Dummy"});
        const int64_t node = TreeItemRef::FromVariant(Tree()->GetItemData(item)).index;
        EXPECT_EQ(Copy(loaded->Tree().Node(node).byCheck), kChecked);
    }
    EXPECT_EQ(Copy(loaded->Tree().Node(renamed).byCheck), kCheckNeverSet);
    for (int64_t i = 0; i < loaded->Files().Count(); ++i) {
        EXPECT_EQ(Copy(loaded->Files().At(i).byCheck), kCheckNeverSet);
    }
    EXPECT_EQ(frame->GetFileList()->GetItemCount(), 0);
    EXPECT_EQ(frame->m_hCurrentFolder, nullptr);

    const QStringList rows = LogRows().mid(LogRows().size() - 5);
    EXPECT_EQ(rows[0], "");
    EXPECT_TRUE(IsLogTimestamp(
        After(rows[1], snapshotPath + " File is selected for BKF Load Recovery Snapshot.     ")));
    EXPECT_EQ(rows[2], "");
    EXPECT_EQ(rows[3], "BKF file name:  " + imagePath);
    EXPECT_TRUE(
        IsLogTimestamp(After(rows[4], "Loading of BKF file snapshot has been completed.     ")));

    // The loaded catalogue browses as after a scan, with the renamed folder.
    const QString renamedPath = QString(test::kNewer) + "/SET 2 :Daily/D:/Renamed";
    Click(OpenPath(renamedPath), TVHT_ONITEMBUTTON);
    EXPECT_EQ(ChildTexts(Item(renamedPath)),
              QStringList({"A", "B", "C", "a.txt", "report.TXT", "noext"}));
}

TEST_F(SnapshotCommandTest, ALoadThatFailsLeavesNothingBehind) {
    ASSERT_TRUE(OpenAndScan(imagePath));
    ASSERT_TRUE(Save(snapshotPath));

    // The image moved away: its own message first, then the load's.
    ASSERT_TRUE(QFile::rename(imagePath, imagePath + ".moved"));
    script.ClearRecords();
    Load(snapshotPath);
    ASSERT_EQ(script.MessageTexts(),
              QStringList({"file cannot opened.", "Snapshot loading process aborted."}));
    EXPECT_EQ(script.MessageBoxes()[0].icon, MessageBoxIcon::None);
    EXPECT_EQ(script.MessageBoxes()[0].caption, "Kelvara v22.0");
    EXPECT_EQ(script.MessageBoxes()[1].icon, MessageBoxIcon::Information);
    EXPECT_EQ(frame->GetScanner(), nullptr);
    EXPECT_EQ(Tree()->topLevelItemCount(), 0);
    EXPECT_FALSE(app->IsBusy());
    ASSERT_TRUE(QFile::rename(imagePath + ".moved", imagePath));

    // A snapshot cut short.
    QFile file(snapshotPath);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.resize(file.size() / 2));
    file.close();
    script.ClearRecords();
    Load(snapshotPath);
    EXPECT_EQ(script.MessageTexts(), QStringList{"Snapshot loading process aborted."});
    EXPECT_EQ(frame->GetScanner(), nullptr);
    EXPECT_EQ(Tree()->topLevelItemCount(), 0);

    // Cancelled dialogs change nothing.
    ASSERT_TRUE(OpenAndScan(imagePath));
    const QStringList log = LogRows();
    script.ClearRecords();
    frame->OnCommand(ID_LOAD_SNAPSHOT);
    frame->OnCommand(ID_SAVE_SNAPSHOT);
    EXPECT_EQ(script.FileDialogs().size(), 2u);
    EXPECT_TRUE(script.MessageBoxes().empty());
    EXPECT_EQ(LogRows(), log);
    EXPECT_NE(frame->GetScanner(), nullptr);
}

TEST_F(SnapshotCommandTest, ASaveThatFailsSaysNothingAndEndsTheJob) {
    ASSERT_TRUE(OpenAndScan(imagePath));
    const int before = LogRows().size();
    script.ClearRecords();
    EXPECT_FALSE(Save(folder.filePath("missing/scan.EXECBKFQUAREL")));
    EXPECT_TRUE(script.MessageBoxes().empty());
    EXPECT_FALSE(app->IsBusy());
    // Only the line that says it started.
    ASSERT_EQ(LogRows().size(), before + 2);
    EXPECT_TRUE(
        LogRows()[before].contains(" file is saving for Backup Exec BKF Recovery Snapshot."));
}

}  // namespace
}  // namespace kelvara
