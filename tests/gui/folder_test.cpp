#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>

#include "app/command_ids.h"
#include "panes/right_view_list_ctrl.h"
#include "panes/tree_item_ref.h"
#include "tests/gui/scan_test_support.h"
#include "tests/support/packed.h"

namespace kelvara {
namespace {

using testing::Copy;

// A scanned image with its top level shown; folders are opened by real clicks.
class FolderTest : public test::ScanTest {
protected:
    void SetUp() override {
        ScanTest::SetUp();
        image = test::MakeTwoMediaImage();
        ASSERT_TRUE(OpenAndScan(QString::fromStdString(image->Path().string())));
        script.ClearRecords();
        scanner = frame->GetScanner();
        ASSERT_NE(scanner, nullptr);
    }

    TreeItemRef Ref(QTreeWidgetItem* item) const {
        return TreeItemRef::FromVariant(Tree()->GetItemData(item));
    }
    // byCheck of the record behind an item.
    int Mark(QTreeWidgetItem* item) const {
        const TreeItemRef ref = Ref(item);
        if (ref.IsFile()) return Copy(scanner->Files().At(ref.index).byCheck);
        if (ref.IsNode()) return Copy(scanner->Tree().Node(ref.index).byCheck);
        return -1;
    }
    int64_t FileIndex(const char16_t* name) const {
        for (int64_t i = 0; i < scanner->Files().Count(); ++i) {
            if (scanner->Files().Name(i) == name) return i;
        }
        return -1;
    }
    QString Docs(const QString& below = {}) const {
        return below.isEmpty() ? QString(test::kDocs) : QString(test::kDocs) + "/" + below;
    }

    std::unique_ptr<testing::TempImage> image;
    bkf* scanner = nullptr;
};

TEST_F(FolderTest, ExpandButtonBuildsChildFoldersOldestFirstThenTheFiles) {
    QTreeWidgetItem* docs = OpenPath(Docs());
    ASSERT_NE(docs, nullptr);
    EXPECT_EQ(ChildTexts(docs), QStringList{"Dummy"});
    Click(docs, TVHT_ONITEMBUTTON);
    const QStringList built = {"A", "B", "C", "a.txt", "report.TXT", "noext"};
    EXPECT_EQ(ChildTexts(docs), built);
    EXPECT_TRUE(docs->isExpanded());
    for (const char* folder : {"A", "B", "C"}) {
        QTreeWidgetItem* item = Item(Docs(folder));
        EXPECT_EQ(ChildTexts(item), QStringList{"Dummy"}) << folder;
        EXPECT_TRUE(Ref(item).IsNode());
        EXPECT_EQ(Tree()->GetItemImage(item), frame->GetShellFileInfo().FolderIconIndex());
        EXPECT_EQ(Copy(scanner->Tree().Node(Ref(item).index).bInTree), 1);
    }
    for (const char* file : {"a.txt", "report.TXT", "noext"}) {
        QTreeWidgetItem* item = Item(Docs(file));
        EXPECT_EQ(item->childCount(), 0) << file;
        ASSERT_TRUE(Ref(item).IsFile());
        EXPECT_EQ(Tree()->GetItemImage(item), frame->GetShellFileInfo().FileIconIndex(file));
        EXPECT_EQ(Copy(scanner->Files().At(Ref(item).index).bInTree), 1);
        EXPECT_TRUE(Tree()->GetCheck(item));
        EXPECT_EQ(Mark(item), kChecked);
    }
    // Inside a folder never opened, nothing is marked.
    EXPECT_EQ(Copy(scanner->Files().At(FileIndex(u"a1.bin")).bInTree), 0);
    EXPECT_EQ(Copy(scanner->Files().At(FileIndex(u"a1.bin")).byCheck), kCheckNeverSet);

    // Built once: the button only collapses and expands again.
    Click(docs, TVHT_ONITEMBUTTON);
    EXPECT_FALSE(docs->isExpanded());
    Click(docs, TVHT_ONITEMBUTTON);
    EXPECT_TRUE(docs->isExpanded());
    EXPECT_EQ(ChildTexts(docs), built);

    // An empty folder loses its placeholder and its button.
    QTreeWidgetItem* empty = Item(Docs("B"));
    Click(empty, TVHT_ONITEMBUTTON);
    EXPECT_EQ(empty->childCount(), 0);
    EXPECT_FALSE(Tree()->ItemPartRect(empty, TVHT_ONITEMBUTTON).isValid());

    // Expanding fills no list.
    EXPECT_EQ(frame->GetFileList()->GetItemCount(), 0);
    EXPECT_TRUE(script.MessageBoxes().empty());
}

TEST_F(FolderTest, LabelClickBuildsNewestFirstAndListsWhatItBuilt) {
    QTreeWidgetItem* docs = OpenPath(Docs());
    Click(docs, TVHT_ONITEMLABEL);
    const QStringList built = {"C", "B", "A", "a.txt", "report.TXT", "noext"};
    EXPECT_EQ(ChildTexts(docs), built);
    EXPECT_TRUE(docs->isExpanded());
    EXPECT_EQ(frame->m_hCurrentFolder, docs);
    EXPECT_EQ(ListColumn(0), built);
    const QString text = frame->GetShellFileInfo().TypeName("x.txt");
    EXPECT_NE(text, "TXT File");  // the database's name for plain text
    EXPECT_EQ(ListColumn(1), QStringList({"Folder", "Folder", "Folder", text, text, "File"}));
    CVexloRightViewListCtrl* list = frame->GetFileList();
    EXPECT_EQ(list->GetItemImage(0), frame->GetShellFileInfo().FolderIconIndex());
    EXPECT_EQ(list->GetItemImage(3), Tree()->GetItemImage(Item(Docs("a.txt"))));
    EXPECT_EQ(ChildTexts(Item(Docs("C"))), QStringList{"Dummy"});
    EXPECT_FALSE(app->IsBusy());

    // The button then finds the children built and only toggles.
    Click(docs, TVHT_ONITEMBUTTON);
    EXPECT_FALSE(docs->isExpanded());
    EXPECT_EQ(ChildTexts(docs), built);

    // An unbuilt folder without files is built but stays closed; one with files opens.
    Click(Item(Docs()), TVHT_ONITEMBUTTON);
    Click(Item(Docs("B")), TVHT_ONITEMLABEL);
    EXPECT_EQ(Item(Docs("B"))->childCount(), 0);
    EXPECT_FALSE(Item(Docs("B"))->isExpanded());
    EXPECT_TRUE(ListColumn(0).isEmpty());
    Click(Item(Docs("A")), TVHT_ONITEMLABEL);
    EXPECT_EQ(ListColumn(0), QStringList{"a1.bin"});
    EXPECT_TRUE(Item(Docs("A"))->isExpanded());

    // A file lists itself; a built folder lists its children in tree order.
    Click(Item(Docs("report.TXT")), TVHT_ONITEMLABEL);
    EXPECT_EQ(ListColumn(0), QStringList{"report.TXT"});
    EXPECT_EQ(ListColumn(1), QStringList{text});
    Click(docs, TVHT_ONITEMICON);
    EXPECT_EQ(ListColumn(0), built);
    EXPECT_EQ(frame->m_hCurrentFolder, docs);
}

TEST_F(FolderTest, TheRightArrowBuildsNothingAndDownShowsTheNextItem) {
    QTreeWidgetItem* newer = Item(test::kNewer);
    Tree()->SelectItem(newer);
    Tree()->setFocus();
    QTest::keyClick(Tree(), Qt::Key_Right);
    EXPECT_TRUE(newer->isExpanded());
    EXPECT_EQ(ChildTexts(newer), QStringList{"Dummy"});
    // Its button, clicked now, toggles the item closed and builds it.
    Click(newer, TVHT_ONITEMBUTTON);
    EXPECT_FALSE(newer->isExpanded());
    EXPECT_EQ(ChildTexts(newer), QStringList{"SET 2 :Daily"});

    // Down shows the next item's content, building it as a click on its label would.
    QTest::keyClick(Tree(), Qt::Key_Down);
    QTreeWidgetItem* older = Item(test::kOlder);
    EXPECT_EQ(Tree()->GetSelectedItem(), older);
    EXPECT_EQ(frame->m_hCurrentFolder, older);
    EXPECT_EQ(ListColumn(0), QStringList{"DUMY VOLUME XX: "});
    EXPECT_EQ(ChildTexts(older), QStringList{"DUMY VOLUME XX: "});
}

TEST_F(FolderTest, ChildrenOfAnUncheckedFolderArriveUncheckedAndMarkedSo) {
    QTreeWidgetItem* newer = Item(test::kNewer);
    Click(newer, TVHT_ONITEMSTATEICON);
    EXPECT_FALSE(Tree()->GetCheck(newer));
    EXPECT_EQ(Mark(newer), kUnchecked);
    const int64_t setNode = scanner->Tree().Node(Ref(newer).index).nFirstChild;
    EXPECT_EQ(Copy(scanner->Tree().Node(setNode).byCheck), kCheckNeverSet);

    // By the button, then by a label: both give the folder's state.
    Click(newer, TVHT_ONITEMBUTTON);
    QTreeWidgetItem* set = Item(QString(test::kNewer) + "/SET 2 :Daily");
    ASSERT_NE(set, nullptr);
    EXPECT_EQ(Tree()->GetCheckDisplay(set), CheckDisplay::Unchecked);
    EXPECT_EQ(Mark(set), kUnchecked);
    Click(set, TVHT_ONITEMLABEL);
    QTreeWidgetItem* volume = Item(QString(test::kNewer) + "/SET 2 :Daily/D:");
    EXPECT_EQ(Mark(volume), kUnchecked);
    Click(volume, TVHT_ONITEMBUTTON);
    QTreeWidgetItem* docs = Item(Docs());
    Click(docs, TVHT_ONITEMLABEL);
    for (const char* name : {"C", "B", "A", "a.txt", "report.TXT", "noext"}) {
        QTreeWidgetItem* item = Item(Docs(name));
        EXPECT_FALSE(Tree()->GetCheck(item)) << name;
        EXPECT_EQ(Mark(item), kUnchecked) << name;
    }
    EXPECT_EQ(Tree()->GetCheckDisplay(newer), CheckDisplay::Unchecked);
    // The other top-level folder is untouched.
    EXPECT_TRUE(Tree()->GetCheck(Item(test::kOlder)));

    // Checking it again reaches every built record; unbuilt ones keep no mark of their own.
    Click(newer, TVHT_ONITEMSTATEICON);
    for (const char* name : {"C", "a.txt", "noext"}) EXPECT_EQ(Mark(Item(Docs(name))), kChecked);
    EXPECT_EQ(Mark(set), kChecked);
    EXPECT_EQ(Copy(scanner->Files().At(FileIndex(u"a1.bin")).byCheck), kCheckNeverSet);

    // One file unchecked: its folder shows the third state.
    Click(Item(Docs("a.txt")), TVHT_ONITEMSTATEICON);
    EXPECT_EQ(Mark(Item(Docs("a.txt"))), kUnchecked);
    EXPECT_EQ(Tree()->GetCheckDisplay(docs), CheckDisplay::TriState);
}

// A folder or file really named "Dummy" is not the placeholder: it carries a record.
TEST_F(FolderTest, AnItemNamedDummyIsNeverTakenForThePlaceholder) {
    const QString odd = QString(test::kNewer) + "/SET 2 :Daily/D:/Odd";
    QTreeWidgetItem* folder = OpenPath(odd);
    ASSERT_NE(folder, nullptr);
    Click(folder, TVHT_ONITEMBUTTON);
    EXPECT_EQ(ChildTexts(folder), QStringList({"Dummy", "z.txt"}));
    Click(folder, TVHT_ONITEMBUTTON);
    Click(folder, TVHT_ONITEMBUTTON);
    EXPECT_EQ(ChildTexts(folder), QStringList({"Dummy", "z.txt"}));
    Click(folder, TVHT_ONITEMLABEL);
    EXPECT_EQ(ListColumn(0), QStringList({"Dummy", "z.txt"}));
    Click(Item(odd + "/Dummy"), TVHT_ONITEMLABEL);
    EXPECT_EQ(ListColumn(0), QStringList{"Dummy"});
    EXPECT_EQ(ListColumn(1), QStringList{"File"});
}

TEST_F(FolderTest, RenamingAFolderAndAFileInPlace) {
    QTreeWidgetItem* docs = OpenPath(Docs());
    Click(docs, TVHT_ONITEMLABEL);
    QTreeWidgetItem* file = Item(Docs("a.txt"));
    const int64_t fileIndex = Ref(file).index;
    const int64_t docsNode = Ref(docs).index;

    const auto renameByMenu = [&](QTreeWidgetItem* item, const QString& text, int key) {
        script.QueuePopupMenuAnswer(ID_TREE_RENAME);
        Click(item, TVHT_ONITEMLABEL, Qt::RightButton);
        ASSERT_TRUE(Tree()->IsEditingLabel());
        auto* editor = Tree()->findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr);
        editor->setText(text);
        QTest::keyClick(editor, static_cast<Qt::Key>(key));
        QTRY_VERIFY(!Tree()->IsEditingLabel());
    };

    renameByMenu(file, "renamed.log", Qt::Key_Return);
    EXPECT_EQ(scanner->Files().Name(fileIndex), u"renamed.log");
    EXPECT_EQ(file->text(0), "renamed.log");
    // The list shown keeps the old name until it is filled again.
    EXPECT_EQ(ListColumn(0).at(3), "a.txt");
    Click(docs, TVHT_ONITEMLABEL);
    EXPECT_EQ(ListColumn(0).at(3), "renamed.log");
    EXPECT_EQ(ListColumn(1).at(3), frame->GetShellFileInfo().TypeName("x.log"));

    // An empty text or Escape keeps the name.
    renameByMenu(file, "", Qt::Key_Return);
    EXPECT_EQ(file->text(0), "renamed.log");
    EXPECT_EQ(scanner->Files().Name(fileIndex), u"renamed.log");
    renameByMenu(docs, "Ignored", Qt::Key_Escape);
    EXPECT_EQ(docs->text(0), "Docs");
    EXPECT_EQ(scanner->Tree().NodeName(docsNode), u"Docs");

    // A click on the label of the selected folder edits it once the double-click time is over.
    Tree()->SelectItem(docs);
    Click(docs, TVHT_ONITEMLABEL);
    QTRY_VERIFY(Tree()->IsEditingLabel());
    auto* editor = Tree()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->setText("Papers");
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_VERIFY(!Tree()->IsEditingLabel());
    EXPECT_EQ(docs->text(0), "Papers");
    EXPECT_EQ(scanner->Tree().NodeName(docsNode), u"Papers");
    EXPECT_EQ(scanner->Tree().GetNodePath(
                  Ref(Item(QString(test::kNewer) + "/SET 2 :Daily/D:/Papers/A")).index),
              u"TAPE CREATED \\SET 2 :Daily\\D:\\Papers\\A\\");
}

TEST_F(FolderTest, CollapseAllFromTheMenu) {
    QTreeWidgetItem* docs = OpenPath(Docs());
    Click(docs, TVHT_ONITEMBUTTON);
    script.QueuePopupMenuAnswer(ID_TREE_COLLAPSE_ALL);
    Click(docs, TVHT_ONITEMLABEL, Qt::RightButton);
    for (const QString& path : {QString(test::kNewer), Docs()}) {
        EXPECT_FALSE(Item(path)->isExpanded()) << path.toStdString();
    }
    EXPECT_EQ(Tree()->GetSelectedItem(), Item(test::kNewer));
    // Collapsing builds and removes nothing.
    EXPECT_EQ(ChildTexts(docs).size(), 6);
}

// The demo image opened, browsed and drawn, for people to look at:
// build/tests/gui/kelvara-browsing.png.
using DemoTest = test::ScanTest;
TEST_F(DemoTest, BrowsingTheDemoImageRendersToAPicture) {
    frame->showNormal();
    frame->resize(1280, 800);
    ASSERT_TRUE(OpenAndScan(QStringLiteral(KELVARA_SAMPLES_DIR "/demo.bkf")));
    const QString documents = "Demo media 2026/SET CREATED /C:/Users/ann/Documents";
    QTreeWidgetItem* folder = OpenPath(documents);
    ASSERT_NE(folder, nullptr);
    Click(OpenPath("Demo media 2026/SET 2 :Daily incremental/D:/Shared"), TVHT_ONITEMBUTTON);
    Click(folder, TVHT_ONITEMLABEL);
    EXPECT_EQ(ListColumn(0), QStringList({"letter.txt", "report-compressed.txt"}));
    QTest::qWait(50);
    const QImage image = frame->grab().toImage();
    ASSERT_EQ(image.size(), QSize(1280, 800));
    EXPECT_TRUE(image.save(test::TestOutputDir() + "/kelvara-browsing.png"));
}

}  // namespace
}  // namespace kelvara
