#include <gtest/gtest.h>

#include "engine/catalogue.h"
#include "tests/support/packed.h"

using kelvara::testing::Copy;

namespace kelvara {
namespace {

std::vector<int64_t> Children(const CVexloBKFTreeVectorClass& t, int64_t parent) {
    std::vector<int64_t> out;
    for (int64_t c = t.GetFirstChild(parent); c >= 0; c = t.GetNextSibling(c)) out.push_back(c);
    return out;
}

TEST(Catalogue, FreshHasOnlyTheRoot) {
    CVexloBKFTreeVectorClass t;
    ASSERT_EQ(t.NodeCount(), 1);
    EXPECT_EQ(t.NodeName(0), u"ROOT");
    EXPECT_EQ(t.GetNodePath(0), u"");
    EXPECT_EQ(t.GetFirstChild(0), kNoNode);
    const BKFTREENODE& root = t.Node(0);
    EXPECT_EQ(Copy(root.nParent), -1);
    EXPECT_EQ(Copy(root.nSelf), 0);
    EXPECT_EQ(Copy(root.nFirstFile), -1);
    EXPECT_EQ(Copy(root.nLastFile), -1);
}

TEST(Catalogue, ChildListRunsNewestFirst) {
    CVexloBKFTreeVectorClass t;
    int64_t a = t.AddNode(u"A", 0), b = t.AddNode(u"B", 0), c = t.AddNode(u"C", 0);
    EXPECT_EQ(Children(t, 0), (std::vector<int64_t>{c, b, a}));
    EXPECT_EQ(t.GetNextSibling(a), kNoNode);
    EXPECT_EQ(Copy(t.Node(c).nParent), 0);
    EXPECT_EQ(Copy(t.Node(a).nNextSibling), -1);
    EXPECT_EQ(Copy(t.Node(b).nNextSibling), a);
}

TEST(Catalogue, AddNodeRefusesInvalidParents) {
    CVexloBKFTreeVectorClass t;
    EXPECT_EQ(t.AddNode(u"x", -1), kNoNode);
    EXPECT_EQ(t.AddNode(u"x", 1), kNoNode);
    EXPECT_EQ(t.NodeCount(), 1);
    EXPECT_EQ(t.GetFirstChild(-1), kNoNode);
    EXPECT_EQ(t.GetFirstChild(7), kNoNode);
    EXPECT_EQ(t.GetNextSibling(-3), kNoNode);
}

TEST(Catalogue, FindNodeDepthAndOrder) {
    CVexloBKFTreeVectorClass t;
    int64_t x = t.AddNode(u"x", 0);
    EXPECT_EQ(t.FindNode(u"x", x, 0), kNoNode);
    EXPECT_EQ(t.FindNode(u"x", x, 1), x);
    EXPECT_EQ(t.FindNode(u"x", -1, 1), kNoNode);

    // v holds a (added first) holding b, then a second child b: the newer b wins.
    int64_t v = t.AddNode(u"v", 0);
    int64_t a = t.AddNode(u"a", v);
    int64_t deepB = t.AddNode(u"b", a);
    int64_t laterB = t.AddNode(u"b", v);
    EXPECT_EQ(t.FindNode(u"b", v, 0), laterB);

    // The other way round, the search descends into a before trying the older sibling.
    CVexloBKFTreeVectorClass u;
    int64_t v2 = u.AddNode(u"v", 0);
    int64_t earlyB = u.AddNode(u"b", v2);
    int64_t a2 = u.AddNode(u"a", v2);
    int64_t deepB2 = u.AddNode(u"b", a2);
    EXPECT_EQ(u.FindNode(u"b", v2, 0), deepB2);
    (void)earlyB;
    (void)deepB;
    EXPECT_EQ(u.FindNode(u"B", v2, 0), kNoNode);  // case-sensitive
}

TEST(Catalogue, FindChildLooksOnlyOneLevelDown) {
    CVexloBKFTreeVectorClass t;
    int64_t v = t.AddNode(u"v", 0);
    int64_t a = t.AddNode(u"a", v);
    t.AddNode(u"c", a);
    EXPECT_EQ(t.FindChild(u"c", v), kNoNode);
    EXPECT_EQ(t.FindChild(u"a", v), a);
    int64_t c1 = t.AddNode(u"c", v);
    int64_t c2 = t.AddNode(u"c", v);
    EXPECT_EQ(t.FindChild(u"c", v), c2);
    (void)c1;
}

TEST(Catalogue, FindNodeSurvivesVeryDeepChains) {
    CVexloBKFTreeVectorClass t;
    int64_t parent = 0;
    for (int i = 0; i < 200000; ++i) parent = t.AddNode(u"n", parent);
    t.AddNode(u"needle", parent);
    EXPECT_GT(t.FindNode(u"needle", 0, 0), 0);
    EXPECT_EQ(t.FindNode(u"absent", 0, 0), kNoNode);
}

TEST(Catalogue, PathsJoinNamesWithBackslashes) {
    CVexloBKFTreeVectorClass t;
    int64_t a = t.AddNode(u"a", 0), b = t.AddNode(u"b", a), c = t.AddNode(u"c", b);
    EXPECT_EQ(t.GetNodePath(c), u"a\\b\\c\\");
    EXPECT_EQ(t.GetNodePath(a), u"a\\");
    int64_t odd = t.AddNode(u"x\\y", a);
    EXPECT_EQ(t.GetNodePath(odd), u"a\\x\\y\\");
    t.RenameNode(b, u"renamed");
    EXPECT_EQ(t.GetNodePath(c), u"a\\renamed\\c\\");
}

TEST(FileTable, RenameKeepsTheStoredNameSize) {
    CBkfFileTable files;
    BKFFILEREC rec = MakeEmptyFileRecord();
    rec.wNameSize = 10;
    rec.nSelf = 0;
    int64_t i = files.Append(rec, u"hello");
    files.RenameFile(i, u"a-much-longer-name");
    EXPECT_EQ(files.Name(i), u"a-much-longer-name");
    EXPECT_EQ(Copy(files.At(i).wNameSize), 10);
    EXPECT_EQ(Copy(files.At(i).chKind), 'F');
}

TEST(Records, FieldOffsetsMatchTheFileFormat) {
    EXPECT_EQ(offsetof(BKFTREENODE, nParent), 4u);
    EXPECT_EQ(offsetof(BKFTREENODE, nFirstChild), 12u);
    EXPECT_EQ(offsetof(BKFTREENODE, nNextSibling), 20u);
    EXPECT_EQ(offsetof(BKFTREENODE, nSelf), 28u);
    EXPECT_EQ(offsetof(BKFTREENODE, nFirstFile), 36u);
    EXPECT_EQ(offsetof(BKFTREENODE, nLastFile), 44u);
    EXPECT_EQ(offsetof(BKFTREENODE, byCheck), 52u);
    EXPECT_EQ(offsetof(BKFTREENODE, bInTree), 53u);
    EXPECT_EQ(offsetof(BKFFILEREC, wNameSize), 4u);
    EXPECT_EQ(offsetof(BKFFILEREC, nFolder), 6u);
    EXPECT_EQ(offsetof(BKFFILEREC, chKind), 14u);
    EXPECT_EQ(offsetof(BKFFILEREC, nSelf), 15u);
    EXPECT_EQ(offsetof(BKFFILEREC, nDataOffset), 23u);
    EXPECT_EQ(offsetof(BKFFILEREC, nDataSize), 31u);
    EXPECT_EQ(offsetof(BKFFILEREC, byCheck), 39u);
    EXPECT_EQ(offsetof(BKFFILEREC, bInTree), 40u);
}

}  // namespace
}  // namespace kelvara
