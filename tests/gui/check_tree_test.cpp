#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QMap>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>
#include <functional>
#include <vector>

#include "panes/check_tree_ctrl.h"
#include "platform/image_list.h"
#include "tests/gui/gui_test_support.h"

namespace kelvara {
namespace {

using test::RecordingWindow;

class CheckTreeTest : public ::testing::Test {
protected:
    void SetUp() override {
        tree.SetNotifyWindow(&window);
        tree.Initialise();
    }

    // Builds items from paths such as "P", "P/A", "P/A/A1"; names are unique.
    void Build(const std::vector<const char*>& paths) {
        for (const char* path : paths) Add(QString::fromLatin1(path));
    }
    QTreeWidgetItem* Add(const QString& path) {
        const int slash = path.lastIndexOf('/');
        QTreeWidgetItem* parent = nullptr;
        if (slash >= 0) {
            const QString parentPath = path.left(slash);
            parent = items.value(parentPath.mid(parentPath.lastIndexOf('/') + 1));
        }
        const QString name = path.mid(slash + 1);
        QTreeWidgetItem* item = tree.InsertItem(name, 0, 0, parent);
        items.insert(name, item);
        return item;
    }
    QTreeWidgetItem* I(const QString& name) const { return items.value(name); }

    // "+X" checks X, "-X" unchecks it, "ins P/X" inserts X under P, "del X" deletes X.
    void Run(const QString& op) {
        if (op.startsWith('+')) {
            ASSERT_TRUE(tree.SetCheck(I(op.mid(1)), true)) << op.toStdString();
        } else if (op.startsWith('-')) {
            ASSERT_TRUE(tree.SetCheck(I(op.mid(1)), false)) << op.toStdString();
        } else if (op.startsWith("ins ")) {
            Add(op.mid(4));
        } else if (op.startsWith("del ")) {
            QTreeWidgetItem* item = I(op.mid(4));
            std::function<void(QTreeWidgetItem*)> forget = [&](QTreeWidgetItem* it) {
                for (int i = 0; i < it->childCount(); ++i) forget(it->child(i));
                items.remove(items.key(it));
            };
            forget(item);
            ASSERT_TRUE(tree.DeleteItem(item)) << op.toStdString();
        } else {
            FAIL() << "bad op " << op.toStdString();
        }
    }

    // Every item in tree order as "name:U|C|T".
    QString States() const {
        QStringList out;
        std::function<void(QTreeWidgetItem*)> walk = [&](QTreeWidgetItem* item) {
            const char* state = "U";
            switch (tree.GetCheckDisplay(item)) {
                case CheckDisplay::Checked:
                    state = "C";
                    break;
                case CheckDisplay::TriState:
                    state = "T";
                    break;
                case CheckDisplay::Unchecked:
                    break;
            }
            out << item->text(0) + ":" + state;
            for (int i = 0; i < item->childCount(); ++i) walk(item->child(i));
        };
        for (int i = 0; i < tree.topLevelItemCount(); ++i) walk(tree.topLevelItem(i));
        return out.join(' ');
    }

    // The counters against a count made from scratch, and the shown state against the flags.
    void ExpectConsistent() const {
        std::function<void(QTreeWidgetItem*, int&, int&)> count = [&](QTreeWidgetItem* item,
                                                                      int& children, int& checked) {
            for (int i = 0; i < item->childCount(); ++i) {
                QTreeWidgetItem* child = item->child(i);
                ++children;
                if (tree.GetItemRecord(child)->bChecked) ++checked;
                count(child, children, checked);
            }
        };
        for (auto it = items.begin(); it != items.end(); ++it) {
            int children = 0, checked = 0;
            count(it.value(), children, checked);
            const CHECKTREEDATA* rec = tree.GetItemRecord(it.value());
            ASSERT_NE(rec, nullptr);
            EXPECT_EQ(rec->nChildren, children) << it.key().toStdString();
            EXPECT_EQ(rec->nChecked, checked) << it.key().toStdString();
            if (children > 0) {
                EXPECT_EQ(rec->bChecked, checked == children) << it.key().toStdString();
            }
            const CheckDisplay shown = tree.GetCheckDisplay(it.value());
            const Qt::CheckState drawn = it.value()->checkState(0);
            EXPECT_EQ(drawn, shown == CheckDisplay::Checked    ? Qt::Checked
                             : shown == CheckDisplay::TriState ? Qt::PartiallyChecked
                                                               : Qt::Unchecked)
                << it.key().toStdString();
        }
        EXPECT_EQ(tree.GetCount(), items.size());
    }

    QList<QTreeWidgetItem*> CheckNotices() const {
        QList<QTreeWidgetItem*> out;
        for (const auto& m : window.Of(WM_BKF_CHECK_CHANGED)) {
            out << reinterpret_cast<QTreeWidgetItem*>(m.wParam);
        }
        return out;
    }

    RecordingWindow window;
    CCheckTreeCtrl tree;
    QMap<QString, QTreeWidgetItem*> items;
};

struct CounterCase {
    const char* name;
    std::vector<const char*> tree;
    std::vector<const char*> ops;
    const char* expected;
};

const CounterCase kCounterCases[] = {
    {"one of three children checked", {"P", "P/A", "P/B", "P/C"}, {"+A"}, "P:T A:C B:U C:U"},
    {"all three children checked",
     {"P", "P/A", "P/B", "P/C"},
     {"+A", "+B", "+C"},
     "P:C A:C B:C C:C"},
    {"checking a collapsed parent checks every level",
     {"P", "P/A", "P/A/A1", "P/A/A2", "P/B"},
     {"+P"},
     "P:C A:C A1:C A2:C B:C"},
    {"unchecking a deep leaf",
     {"P", "P/A", "P/A/A1", "P/A/A2", "P/B"},
     {"+P", "-A1"},
     "P:T A:T A1:U A2:C B:C"},
    {"unchecking a tri-state item changes nothing",
     {"P", "P/A", "P/A/A1", "P/A/A2", "P/B"},
     {"+A1", "-P"},
     "P:T A:T A1:C A2:U B:U"},
    {"checking then unchecking the top",
     {"P", "P/A", "P/A/A1", "P/A/A2", "P/B"},
     {"+A1", "+P", "-P"},
     "P:U A:U A1:U A2:U B:U"},
    {"a chain flips every ancestor", {"G", "G/P", "G/P/Q", "G/P/Q/L"}, {"+L"}, "G:C P:C Q:C L:C"},
    {"a chain flips back", {"G", "G/P", "G/P/Q", "G/P/Q/L"}, {"+L", "-L"}, "G:U P:U Q:U L:U"},
    {"sibling subtrees, one complete",
     {"G", "G/P1", "G/P1/a", "G/P1/b", "G/P2", "G/P2/c"},
     {"+a", "+b"},
     "G:T P1:C a:C b:C P2:U c:U"},
    {"sibling subtrees, both complete",
     {"G", "G/P1", "G/P1/a", "G/P1/b", "G/P2", "G/P2/c"},
     {"+a", "+b", "+c"},
     "G:C P1:C a:C b:C P2:C c:C"},
    {"sibling subtrees, one leaf unchecked",
     {"G", "G/P1", "G/P1/a", "G/P1/b", "G/P2", "G/P2/c"},
     {"+G", "-a"},
     "G:T P1:T a:U b:C P2:C c:C"},
    {"inserting under a checked parent", {"P", "P/A"}, {"+P", "ins P/B"}, "P:T A:C B:U"},
    {"checking the inserted child", {"P", "P/A"}, {"+P", "ins P/B", "+B"}, "P:C A:C B:C"},
    {"inserting two levels down", {"G", "G/P", "G/P/A"}, {"+G", "ins P/B"}, "G:T P:T A:C B:U"},
    {"a checked leaf gains a first child", {"P"}, {"+P", "ins P/A"}, "P:U A:U"},
    {"deleting the only checked child", {"P", "P/A"}, {"+P", "del A"}, "P:C"},
    {"deleting the only unchecked child", {"P", "P/A"}, {"del A"}, "P:U"},
    {"deleting the one unchecked child of many",
     {"G", "G/P", "G/P/A", "G/P/B"},
     {"+A", "del B"},
     "G:C P:C A:C"},
    {"deleting a checked child beside an unchecked one",
     {"P", "P/A", "P/B"},
     {"+A", "del A"},
     "P:U B:U"},
    {"deleting a checked subtree",
     {"G", "G/P", "G/P/A", "G/P/B", "G/C"},
     {"+G", "-C", "del P"},
     "G:U C:U"},
    {"a leaf shows its own flag", {"P", "Q"}, {"+P", "+Q", "-Q"}, "P:C Q:U"},
};

TEST_F(CheckTreeTest, CountersAndShownStatesFollowEveryChange) {
    for (const CounterCase& c : kCounterCases) {
        SCOPED_TRACE(c.name);
        tree.DeleteAllItems();
        items.clear();
        Build(c.tree);
        for (const char* op : c.ops) {
            Run(QString::fromLatin1(op));
            ExpectConsistent();
        }
        EXPECT_EQ(States(), QString::fromLatin1(c.expected));
    }
}

TEST_F(CheckTreeTest, ReportedStateIsCheckedExactlyWhenAllDescendantsAre) {
    Build({"P", "P/A", "P/B", "P/C"});
    EXPECT_FALSE(tree.GetCheck(I("P")));
    tree.SetCheck(I("A"), true);
    EXPECT_FALSE(tree.GetCheck(I("P")));
    tree.SetCheck(I("B"), true);
    tree.SetCheck(I("C"), true);
    EXPECT_TRUE(tree.GetCheck(I("P")));
    EXPECT_TRUE(tree.GetCheck(I("A")));
    EXPECT_FALSE(tree.GetCheck(nullptr));
}

TEST_F(CheckTreeTest, CountersOfAWideTree) {
    Build({"G", "G/P1", "G/P1/a", "G/P1/b", "G/P2", "G/P2/c"});
    tree.SetCheck(I("G"), true);
    tree.SetCheck(I("a"), false);
    const CHECKTREEDATA* g = tree.GetItemRecord(I("G"));
    EXPECT_EQ(g->nChildren, 5);
    EXPECT_EQ(g->nChecked, 3);  // b, P2, c
    EXPECT_FALSE(g->bChecked);
    const CHECKTREEDATA* p1 = tree.GetItemRecord(I("P1"));
    EXPECT_EQ(p1->nChildren, 2);
    EXPECT_EQ(p1->nChecked, 1);
}

TEST_F(CheckTreeTest, CheckingAParentNotifiesEveryDescendantOnceAndItselfLast) {
    Build({"P", "P/A", "P/A/A1", "P/A/A2", "P/B"});
    window.messages.clear();
    tree.SetCheck(I("P"), true);
    EXPECT_EQ(CheckNotices(), (QList<QTreeWidgetItem*>{I("A1"), I("A2"), I("A"), I("B"), I("P")}));
    for (const auto& m : window.Of(WM_BKF_CHECK_CHANGED)) EXPECT_EQ(m.lParam, 1);

    window.messages.clear();
    tree.SetCheck(I("A"), false);
    EXPECT_EQ(CheckNotices(), (QList<QTreeWidgetItem*>{I("A1"), I("A2"), I("A")}));
    for (const auto& m : window.Of(WM_BKF_CHECK_CHANGED)) EXPECT_EQ(m.lParam, 0);
}

TEST_F(CheckTreeTest, SettingTheSameStateChangesNoCounterButStillNotifies) {
    Build({"P", "P/A", "P/B"});
    tree.SetCheck(I("A"), true);
    const CHECKTREEDATA before = *tree.GetItemRecord(I("P"));
    window.messages.clear();
    EXPECT_TRUE(tree.SetCheck(I("A"), true));
    const CHECKTREEDATA after = *tree.GetItemRecord(I("P"));
    EXPECT_EQ(after.nChecked, before.nChecked);
    EXPECT_EQ(after.nChildren, before.nChildren);
    EXPECT_EQ(CheckNotices(), QList<QTreeWidgetItem*>{I("A")});
    EXPECT_EQ(window.messages.at(0).lParam, 1);
}

TEST_F(CheckTreeTest, RefusedCheckChangesDoNothing) {
    Build({"P", "P/A"});
    window.messages.clear();
    EXPECT_FALSE(tree.SetCheck(nullptr, true));
    ASSERT_TRUE(tree.EnableItem(I("A"), false));
    EXPECT_FALSE(tree.SetCheck(I("A"), true));
    EXPECT_FALSE(tree.GetItemRecord(I("A"))->bChecked);
    tree.SetCheckBoxes(false);
    EXPECT_FALSE(tree.SetCheck(I("P"), true));
    EXPECT_TRUE(window.messages.isEmpty());
    // An item this control did not create has no record.
    QTreeWidgetItem foreign;
    EXPECT_FALSE(tree.SetCheck(&foreign, true));
    EXPECT_FALSE(tree.DeleteItem(&foreign));
}

TEST_F(CheckTreeTest, InsertPositionsAndRecords) {
    QTreeWidgetItem* p = tree.InsertItem("P", 0, 0);
    QTreeWidgetItem* b = tree.InsertItem("B", 0, 0, p);
    QTreeWidgetItem* a = tree.InsertItem("A", 0, 0, p, TreeInsertAfter::First());
    QTreeWidgetItem* c = tree.InsertItem("C", 0, 0, p, TreeInsertAfter::Last());
    QTreeWidgetItem* ab = tree.InsertItem("AB", 0, 0, p, a);
    ASSERT_EQ(p->childCount(), 4);
    EXPECT_EQ(p->child(0), a);
    EXPECT_EQ(p->child(1), ab);
    EXPECT_EQ(p->child(2), b);
    EXPECT_EQ(p->child(3), c);
    EXPECT_EQ(tree.GetChildItem(p), a);
    EXPECT_EQ(tree.GetNextSiblingItem(a), ab);
    EXPECT_EQ(tree.GetNextSiblingItem(c), nullptr);
    EXPECT_EQ(tree.GetItemRecord(p)->nChildren, 4);
    EXPECT_FALSE(tree.GetItemRecord(c)->bChecked);
    EXPECT_TRUE(tree.GetItemRecord(c)->bEnabled);
    EXPECT_EQ(tree.GetCount(), 5);

    tree.SetItemData(b, 42);
    EXPECT_EQ(tree.GetItemData(b).toInt(), 42);
    EXPECT_TRUE(tree.SetItemText(b, "B2"));
    EXPECT_EQ(tree.GetItemText(b), "B2");

    EXPECT_TRUE(tree.DeleteItem(p));
    EXPECT_EQ(tree.GetCount(), 0);
    EXPECT_EQ(tree.topLevelItemCount(), 0);
}

TEST_F(CheckTreeTest, ExpandRecordsItsStateAndCollapseAllResetsEverything) {
    Build({"P", "P/A", "P/A/A1", "Q"});
    QSignalSpy expanded(&tree, &CCheckTreeCtrl::ItemExpandedNotify);
    EXPECT_TRUE(tree.Expand(I("P"), TVE_EXPAND));
    EXPECT_TRUE(I("P")->isExpanded());
    EXPECT_TRUE(tree.GetItemRecord(I("P"))->bExpanded);
    EXPECT_TRUE(tree.GetItemRecord(I("P"))->bHasBeenExpanded);
    EXPECT_TRUE(tree.Expand(I("P"), TVE_EXPAND));  // no change, no notice
    EXPECT_EQ(expanded.count(), 1);
    EXPECT_TRUE(tree.Expand(I("P"), TVE_TOGGLE));
    EXPECT_FALSE(I("P")->isExpanded());
    EXPECT_TRUE(tree.GetItemRecord(I("P"))->bHasBeenExpanded);
    EXPECT_EQ(expanded.count(), 2);

    tree.ExpandBranch(I("P"));
    EXPECT_TRUE(I("P")->isExpanded());
    EXPECT_TRUE(I("A")->isExpanded());
    tree.SelectItem(I("A1"));
    tree.CollapseAll();
    EXPECT_FALSE(I("P")->isExpanded());
    EXPECT_FALSE(I("A")->isExpanded());
    EXPECT_FALSE(tree.GetItemRecord(I("A"))->bExpanded);
    EXPECT_EQ(tree.GetSelectedItem(), I("P"));
}

// The control on screen, clicked and typed at.
class CheckTreeInputTest : public CheckTreeTest {
protected:
    void SetUp() override {
        CheckTreeTest::SetUp();
        images.Add(QApplication::style()->standardIcon(QStyle::SP_DirIcon));
        tree.SetImageList(&images);
        tree.resize(400, 300);
        tree.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&tree));
    }
    QPoint At(const QString& name, TreeHitFlags part) const {
        const QRect r = tree.ItemPartRect(I(name), part);
        EXPECT_TRUE(r.isValid()) << name.toStdString() << " part " << part;
        return r.center();
    }
    void Click(const QPoint& pos, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseClick(tree.viewport(), button, Qt::NoModifier, pos);
    }
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(&tree, static_cast<Qt::Key>(key), modifiers);
    }
    CImageList images{QSize(16, 16)};
};

TEST_F(CheckTreeInputTest, HitTestTellsTheItemsParts) {
    Build({"P", "P/A", "Q"});
    const struct {
        const char* item;
        TreeHitFlags part;
    } parts[] = {{"P", TVHT_ONITEMSTATEICON},
                 {"P", TVHT_ONITEMICON},
                 {"P", TVHT_ONITEMLABEL},
                 {"P", TVHT_ONITEMBUTTON},
                 {"Q", TVHT_ONITEMLABEL}};
    for (const auto& p : parts) {
        uint32_t flags = 0;
        EXPECT_EQ(tree.HitTest(At(p.item, p.part), &flags), I(p.item));
        EXPECT_EQ(flags, static_cast<uint32_t>(p.part)) << p.item << " " << p.part;
    }
    uint32_t flags = 0;
    const QRect label = tree.ItemPartRect(I("Q"), TVHT_ONITEMLABEL);
    EXPECT_EQ(tree.HitTest(QPoint(label.right() + 20, label.center().y()), &flags), I("Q"));
    EXPECT_EQ(flags, static_cast<uint32_t>(TVHT_ONITEMRIGHT));
    EXPECT_EQ(tree.HitTest(QPoint(10, 290), &flags), nullptr);
    EXPECT_EQ(flags, static_cast<uint32_t>(TVHT_NOWHERE));
    EXPECT_FALSE(tree.ItemPartRect(I("Q"), TVHT_ONITEMBUTTON).isValid());  // no children
}

TEST_F(CheckTreeInputTest, LeftClicksOnBoxLabelIconAndButton) {
    Build({"P", "P/A", "Q"});
    Click(At("Q", TVHT_ONITEMSTATEICON));
    EXPECT_TRUE(tree.GetCheck(I("Q")));
    EXPECT_EQ(tree.GetSelectedItem(), I("Q"));
    EXPECT_EQ(CheckNotices(), QList<QTreeWidgetItem*>{I("Q")});
    EXPECT_TRUE(window.Of(WM_BKF_SHOW_FOLDER).isEmpty());

    window.messages.clear();
    Click(At("P", TVHT_ONITEMLABEL));
    ASSERT_EQ(window.messages.size(), 1);
    EXPECT_EQ(window.messages.at(0).message, WM_BKF_SHOW_FOLDER);
    EXPECT_EQ(window.messages.at(0).wParam, static_cast<WPARAM>(TVHT_ONITEMLABEL));
    EXPECT_EQ(window.messages.at(0).lParam, reinterpret_cast<LPARAM>(I("P")));
    EXPECT_EQ(tree.GetSelectedItem(), I("P"));

    window.messages.clear();
    Click(At("Q", TVHT_ONITEMICON));
    ASSERT_EQ(window.messages.size(), 1);
    EXPECT_EQ(window.messages.at(0).wParam, static_cast<WPARAM>(TVHT_ONITEMICON));

    window.messages.clear();
    Click(At("P", TVHT_ONITEMBUTTON));
    EXPECT_TRUE(I("P")->isExpanded());
    ASSERT_EQ(window.messages.size(), 1);
    EXPECT_EQ(window.messages.at(0).message, WM_BKF_EXPAND_ITEM);
    EXPECT_EQ(window.messages.at(0).wParam, static_cast<WPARAM>(TVHT_ONITEMBUTTON));
    EXPECT_EQ(window.messages.at(0).lParam, reinterpret_cast<LPARAM>(I("P")));
    EXPECT_EQ(tree.GetSelectedItem(), I("P"));
    Click(At("P", TVHT_ONITEMBUTTON));
    EXPECT_FALSE(I("P")->isExpanded());

    // Beyond the label: nothing to report.
    window.messages.clear();
    const QRect label = tree.ItemPartRect(I("Q"), TVHT_ONITEMLABEL);
    Click(QPoint(label.right() + 30, label.center().y()));
    EXPECT_TRUE(window.messages.isEmpty());
}

TEST_F(CheckTreeInputTest, RightClicksAskForTheMenu) {
    Click(QPoint(20, 20), Qt::RightButton);  // empty tree: nothing at all
    EXPECT_TRUE(window.messages.isEmpty());

    Build({"P", "P/A", "Q"});
    Click(At("Q", TVHT_ONITEMLABEL), Qt::RightButton);
    ASSERT_EQ(window.messages.size(), 1);
    EXPECT_EQ(window.messages.at(0).message, WM_BKF_TREE_MENU);
    EXPECT_EQ(window.messages.at(0).wParam, static_cast<WPARAM>(TVHT_ONITEMLABEL));
    EXPECT_EQ(window.messages.at(0).lParam, reinterpret_cast<LPARAM>(I("Q")));
    EXPECT_EQ(tree.GetSelectedItem(), I("Q"));

    window.messages.clear();
    Click(QPoint(20, 280), Qt::RightButton);  // empty space: the selection stays
    ASSERT_EQ(window.messages.size(), 1);
    EXPECT_EQ(window.messages.at(0).lParam, 0);
    EXPECT_EQ(window.messages.at(0).wParam, static_cast<WPARAM>(TVHT_NOWHERE));
    EXPECT_EQ(tree.GetSelectedItem(), I("Q"));
}

TEST_F(CheckTreeInputTest, DoubleClickNeitherExpandsNorCollapses) {
    Build({"P", "P/A"});
    QTest::mouseDClick(tree.viewport(), Qt::LeftButton, Qt::NoModifier, At("P", TVHT_ONITEMLABEL));
    EXPECT_FALSE(I("P")->isExpanded());
    tree.Expand(I("P"), TVE_EXPAND);
    QTest::mouseDClick(tree.viewport(), Qt::LeftButton, Qt::NoModifier, At("P", TVHT_ONITEMLABEL));
    EXPECT_TRUE(I("P")->isExpanded());
    EXPECT_FALSE(tree.IsEditingLabel());
}

TEST_F(CheckTreeInputTest, SpaceTogglesTheSelectedItemOnly) {
    Build({"P", "P/A", "Q"});
    Key(Qt::Key_Space);  // nothing selected
    EXPECT_TRUE(window.messages.isEmpty());
    tree.SelectItem(I("P"));
    Key(Qt::Key_Space);
    EXPECT_TRUE(tree.GetCheck(I("P")));
    EXPECT_TRUE(tree.GetCheck(I("A")));
    Key(Qt::Key_Space);
    EXPECT_FALSE(tree.GetCheck(I("A")));
    tree.SetReadOnly(true);
    Key(Qt::Key_Space);
    EXPECT_FALSE(tree.GetCheck(I("P")));
}

TEST_F(CheckTreeInputTest, ArrowsExpandQuietlyAndMoveWithANotice) {
    Build({"P", "P/A", "Q", "R"});
    tree.SelectItem(I("P"));
    window.messages.clear();
    Key(Qt::Key_Right);
    EXPECT_TRUE(I("P")->isExpanded());
    EXPECT_TRUE(tree.GetItemRecord(I("P"))->bExpanded);
    EXPECT_TRUE(window.messages.isEmpty());
    Key(Qt::Key_Left);
    EXPECT_FALSE(I("P")->isExpanded());
    EXPECT_TRUE(window.messages.isEmpty());

    Key(Qt::Key_Down);
    EXPECT_EQ(tree.GetSelectedItem(), I("Q"));
    ASSERT_EQ(window.messages.size(), 1);
    EXPECT_EQ(window.messages.at(0).message, WM_BKF_SHOW_FOLDER);
    EXPECT_EQ(window.messages.at(0).wParam, 0u);
    EXPECT_EQ(window.messages.at(0).lParam, reinterpret_cast<LPARAM>(I("Q")));
    Key(Qt::Key_Up);
    EXPECT_EQ(tree.GetSelectedItem(), I("P"));
    EXPECT_EQ(window.Of(WM_BKF_SHOW_FOLDER).size(), 2);

    // Disabled items are skipped; at the end nothing moves and nothing is sent.
    tree.EnableItem(I("Q"), false);
    Key(Qt::Key_Down);
    EXPECT_EQ(tree.GetSelectedItem(), I("R"));
    window.messages.clear();
    Key(Qt::Key_Down);
    EXPECT_EQ(tree.GetSelectedItem(), I("R"));
    EXPECT_TRUE(window.messages.isEmpty());
}

TEST_F(CheckTreeInputTest, KeypadExpandsTheBranchOrOneLevel) {
    Build({"P", "P/A", "P/A/A1", "P/A/A1/X"});
    tree.SelectItem(I("P"));
    Key(Qt::Key_Asterisk, Qt::KeypadModifier);
    EXPECT_TRUE(I("P")->isExpanded());
    EXPECT_TRUE(I("A")->isExpanded());
    EXPECT_TRUE(I("A1")->isExpanded());
    tree.SelectItem(I("A"));
    Key(Qt::Key_Minus, Qt::KeypadModifier);
    EXPECT_FALSE(I("A")->isExpanded());
    Key(Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_TRUE(I("A")->isExpanded());
    EXPECT_TRUE(window.messages.isEmpty());
}

TEST_F(CheckTreeInputTest, LabelEditsAreForwardedAndNeverApplied) {
    Build({"P", "Q"});
    ASSERT_TRUE(tree.EditLabel(I("Q")));
    auto* editor = tree.findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->setText("Renamed");
    QTest::keyClick(editor, Qt::Key_Return);  // the edit ends once the event loop runs
    QTRY_VERIFY(!tree.IsEditingLabel());
    ASSERT_EQ(window.Of(WM_BKF_RENAME_ITEM).size(), 1);
    auto m = window.Of(WM_BKF_RENAME_ITEM).at(0);
    EXPECT_EQ(m.renameItem, I("Q"));
    EXPECT_FALSE(m.renameCancelled);
    EXPECT_EQ(m.renameText, "Renamed");
    EXPECT_EQ(m.lParam, 0);
    EXPECT_EQ(I("Q")->text(0), "Q");  // only the main window changes labels
    EXPECT_FALSE(tree.IsEditingLabel());

    ASSERT_TRUE(tree.EditLabel(I("P")));
    editor = tree.findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->setText("Other");
    QTest::keyClick(editor, Qt::Key_Escape);
    ASSERT_EQ(window.Of(WM_BKF_RENAME_ITEM).size(), 2);
    m = window.Of(WM_BKF_RENAME_ITEM).at(1);
    EXPECT_EQ(m.renameItem, I("P"));
    EXPECT_TRUE(m.renameCancelled);
    EXPECT_EQ(I("P")->text(0), "P");

    EXPECT_FALSE(tree.EditLabel(nullptr));
}

}  // namespace
}  // namespace kelvara

namespace kelvara {
namespace {

// Every item in tree order with its flag, counters and drawn box.
QString Describe(const CCheckTreeCtrl& tree) {
    QStringList out;
    std::function<void(QTreeWidgetItem*)> walk = [&](QTreeWidgetItem* item) {
        const CHECKTREEDATA* rec = tree.GetItemRecord(item);
        out << QStringLiteral("%1:%2/%3/%4/%5/%6")
                   .arg(item->text(0))
                   .arg(rec->bChecked)
                   .arg(rec->nChildren)
                   .arg(rec->nChecked)
                   .arg(int(item->checkState(0)))
                   .arg(tree.GetItemData(item).toString());
        for (int i = 0; i < item->childCount(); ++i) walk(item->child(i));
    };
    for (int i = 0; i < tree.topLevelItemCount(); ++i) walk(tree.topLevelItem(i));
    return out.join(' ');
}

QStringList Notices(const RecordingWindow& window) {
    QStringList out;
    for (const auto& m : window.Of(WM_BKF_CHECK_CHANGED)) {
        out << reinterpret_cast<QTreeWidgetItem*>(m.wParam)->text(0) + "=" +
                   QString::number(m.lParam);
    }
    return out;
}

// Inserting many items at once leaves the same tree, counters and notices as inserting them one
// by one with their data and check state (and a placeholder under each folder).
TEST(CheckTreeBulk, InsertingManyAtOnceEqualsOneByOne) {
    const struct {
        const char* name;
        bool parentChecked;  // G and P before the insertion
        bool topLevel;       // under no parent at all
        bool checked;
        bool placeholders;
    } cases[] = {
        {"checked files under a checked folder", true, false, true, false},
        {"unchecked files under a checked folder", true, false, false, false},
        {"unchecked folders under an unchecked folder", false, false, false, true},
        {"checked folders under an unchecked folder", false, false, true, true},
        {"checked folders at the top level", false, true, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QString described[2];
        QStringList notices[2];
        for (int bulk = 0; bulk < 2; ++bulk) {
            RecordingWindow window;
            CCheckTreeCtrl tree;
            tree.SetNotifyWindow(&window);
            tree.Initialise();
            QTreeWidgetItem* g = tree.InsertItem("G", 0, 0);
            QTreeWidgetItem* p = tree.InsertItem("P", 0, 0, g);
            tree.InsertItem("old", 0, 0, p);
            tree.InsertItem("X", 0, 0, g);
            tree.SetCheck(p, c.parentChecked);
            window.messages.clear();
            QTreeWidgetItem* parent = c.topLevel ? nullptr : p;
            std::vector<NewTreeItem> entries;
            for (int i = 0; i < 3; ++i) {
                entries.push_back({QStringLiteral("n%1").arg(i), 1, 2, QStringLiteral("d%1").arg(i),
                                   c.placeholders});
            }
            if (bulk) {
                const QList<QTreeWidgetItem*> made = tree.InsertItems(parent, entries, c.checked);
                ASSERT_EQ(made.size(), 3);
                EXPECT_EQ(made[2]->text(0), "n2");
                EXPECT_EQ(tree.GetItemImage(made[0]), 1);
            } else {
                for (const NewTreeItem& entry : entries) {
                    QTreeWidgetItem* item =
                        tree.InsertItem(entry.text, entry.image, entry.selectedImage, parent);
                    tree.SetItemData(item, entry.data);
                    if (entry.placeholder) tree.InsertItem("Dummy", -1, -1, item);
                    tree.SetCheck(item, c.checked);
                }
            }
            described[bulk] = Describe(tree);
            notices[bulk] = Notices(window);
        }
        EXPECT_EQ(described[1], described[0]);
        EXPECT_EQ(notices[1], notices[0]);
    }
}

// Checking a folder of many children tells the view once, yet every box and notice follows.
TEST(CheckTreeBulk, CheckingABigFolderReachesEveryChild) {
    RecordingWindow window;
    CCheckTreeCtrl tree;
    tree.SetNotifyWindow(&window);
    tree.Initialise();
    QTreeWidgetItem* top = tree.InsertItem("top", 0, 0);
    QTreeWidgetItem* folder = tree.InsertItem("big", 0, 0, top);
    std::vector<NewTreeItem> entries(1000);
    tree.InsertItems(folder, entries, false);
    tree.resize(300, 400);
    tree.show();
    tree.Expand(top, TVE_EXPAND);
    tree.Expand(folder, TVE_EXPAND);
    window.messages.clear();
    tree.SetCheck(folder, true);
    EXPECT_EQ(window.Of(WM_BKF_CHECK_CHANGED).size(), 1001);
    for (int i = 0; i < folder->childCount(); ++i) {
        ASSERT_EQ(folder->child(i)->checkState(0), Qt::Checked) << i;
    }
    EXPECT_EQ(top->checkState(0), Qt::Checked);
    EXPECT_EQ(tree.GetItemRecord(top)->nChecked, 1001);
    tree.SetCheck(folder->child(0), false);
    EXPECT_EQ(tree.GetCheckDisplay(folder), CheckDisplay::TriState);
    EXPECT_EQ(tree.GetCheckDisplay(top), CheckDisplay::TriState);
}

}  // namespace
}  // namespace kelvara
