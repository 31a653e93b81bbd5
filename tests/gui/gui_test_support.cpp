#include "tests/gui/gui_test_support.h"

#include <QCoreApplication>

#include "panes/check_tree_ctrl.h"
#include "panes/tree_item_ref.h"

namespace kelvara::test {

QString KelvaraExecutable() {
    return QStringLiteral(KELVARA_EXE_PATH);
}

QString TestOutputDir() {
    return QStringLiteral(KELVARA_TEST_OUTPUT_DIR);
}

QString TestExecutable() {
    return QCoreApplication::applicationFilePath();
}

LRESULT RecordingWindow::WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) {
    Message m{message, wParam, lParam};
    if (message == WM_BKF_RENAME_ITEM) {
        const auto* edit = reinterpret_cast<const CheckTreeEndLabelEdit*>(wParam);
        m.renameItem = edit->hItem;
        m.renameCancelled = edit->pszText == nullptr;
        if (edit->pszText) m.renameText = *edit->pszText;
    }
    messages.append(m);
    return result;
}

QList<RecordingWindow::Message> RecordingWindow::Of(uint32_t message) const {
    QList<Message> out;
    for (const Message& m : messages) {
        if (m.message == message) out.append(m);
    }
    return out;
}

void FrameTest::SetUp() {
    ASSERT_TRUE(lockDir.isValid());
    app =
        std::make_unique<CVexlBKFFileRepProjApp>(lockDir.filePath(QStringLiteral("instance.lock")));
    ASSERT_TRUE(app->InitInstance());
    frame = app->GetMainFrame();
    ASSERT_NE(frame, nullptr);
    script.ClearRecords();
}

void FrameTest::TearDown() {
    app.reset();
}

bkf* FrameTest::InstallScanner(int nodes, int files) {
    auto scanner = std::make_unique<bkf>(app->m_bBusy);
    int64_t first = -1;
    for (int i = 0; i < nodes; ++i) {
        const std::u16string name = u"F" + std::u16string(1, char16_t(u'0' + i));
        const int64_t node = scanner->Tree().AddNode(name, 0);
        if (first < 0) first = node;
    }
    for (int i = 0; i < files; ++i) {
        BKFFILEREC record = MakeEmptyFileRecord();
        record.nFolder = first;
        record.nSelf = scanner->Files().Count();
        scanner->Files().Append(record, u"file" + std::u16string(1, char16_t(u'0' + i)) + u".txt");
    }
    bkf* raw = scanner.get();
    frame->SetScanner(std::move(scanner));
    return raw;
}

QTreeWidgetItem* FrameTest::AddNodeItem(int64_t node, const QString& text) {
    CCheckTreeCtrl* tree = frame->GetTreeCtrl();
    QTreeWidgetItem* item = tree->InsertItem(text, 0, 0);
    tree->SetItemData(item, TreeItemRef::Node(node).ToVariant());
    return item;
}

}  // namespace kelvara::test
