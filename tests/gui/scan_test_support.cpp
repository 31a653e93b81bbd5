#include "tests/gui/scan_test_support.h"

#include <QApplication>
#include <QCoreApplication>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include "app/custom_list_ctrl.h"
#include "panes/right_view_list_ctrl.h"

namespace kelvara::test {

using testing::Stan;

void AddTwoMedia(testing::ImageBuilder& image) {
    image.Dirb(u"Old").File(u"old.txt", Stan("old"));
    image.Sset(2, u"Daily").Volb(u"D:").Dirb(u"Docs");
    image.File(u"a.txt", Stan("alpha"))
        .File(u"report.TXT", Stan("report"))
        .File(u"noext", Stan("n"));
    image.Dirb(u"Docs\\A").File(u"a1.bin", Stan("a1"));
    image.Dirb(u"Docs\\B");
    image.Dirb(u"Docs\\C").File(u"c1.txt", Stan("c1"));
    image.Dirb(u"Odd").File(u"Dummy", Stan("d")).File(u"z.txt", Stan("z"));
    image.Eset();
}

std::unique_ptr<testing::TempImage> MakeTwoMediaImage() {
    testing::ImageBuilder image;
    AddTwoMedia(image);
    return std::make_unique<testing::TempImage>(image);
}

RangeDialogAnswer::RangeDialogAnswer(bool confirm,
                                     std::function<void(CVexloRangeSliderDlg&)> adjust)
    : m_pTimer(new QTimer) {
    QObject::connect(m_pTimer, &QTimer::timeout, [this, confirm, adjust] {
        auto* dialog = qobject_cast<CVexloRangeSliderDlg*>(QApplication::activeModalWidget());
        if (!dialog || m_bAnswered) return;
        m_bAnswered = true;
        if (adjust) adjust(*dialog);
        if (confirm) {
            dialog->OnOK();
        } else {
            dialog->reject();
        }
    });
    m_pTimer->start(5);
}

RangeDialogAnswer::~RangeDialogAnswer() {
    delete m_pTimer;
}

void ScanTest::TearDown() {
    EXPECT_TRUE(WaitForJobEnd());
    FrameTest::TearDown();
}

bool ScanTest::WaitForJobEnd(int timeoutMs) {
    const bool ended = QTest::qWaitFor([this] { return !frame->IsJobRunning(); }, timeoutMs);
    // What the worker posted last (the status bar's removal) is handled too.
    QCoreApplication::processEvents();
    return ended;
}

bool ScanTest::OpenAndScan(const QString& path, std::function<void(CVexloRangeSliderDlg&)> adjust) {
    script.QueueFileDialogAnswer(path);
    RangeDialogAnswer answer(true, std::move(adjust));
    frame->OnOpenBkfFile();
    return answer.Answered() && WaitForJobEnd();
}

QStringList ScanTest::TopLevelTexts() const {
    QStringList texts;
    for (int i = 0; i < Tree()->topLevelItemCount(); ++i) texts << Tree()->topLevelItem(i)->text(0);
    return texts;
}

QStringList ScanTest::ChildTexts(QTreeWidgetItem* item) const {
    QStringList texts;
    if (!item) return texts;
    for (int i = 0; i < item->childCount(); ++i) texts << item->child(i)->text(0);
    return texts;
}

QTreeWidgetItem* ScanTest::Item(const QString& path) const {
    QTreeWidgetItem* item = nullptr;
    for (const QString& name : path.split('/')) {
        QTreeWidgetItem* next = nullptr;
        const int count = item ? item->childCount() : Tree()->topLevelItemCount();
        for (int i = 0; i < count && !next; ++i) {
            QTreeWidgetItem* child = item ? item->child(i) : Tree()->topLevelItem(i);
            if (child->text(0) == name) next = child;
        }
        if (!next) return nullptr;
        item = next;
    }
    return item;
}

QTreeWidgetItem* ScanTest::OpenPath(const QString& path) {
    const QStringList names = path.split('/');
    QString sofar;
    for (int i = 0; i + 1 < names.size(); ++i) {
        sofar += (i ? "/" : "") + names[i];
        QTreeWidgetItem* folder = Item(sofar);
        if (!folder) return nullptr;
        if (!folder->isExpanded()) Click(folder, TVHT_ONITEMBUTTON);
    }
    return Item(path);
}

void ScanTest::Click(QTreeWidgetItem* item, TreeHitFlags part, Qt::MouseButton button) {
    ASSERT_NE(item, nullptr);
    Tree()->scrollToItem(item);
    QApplication::processEvents();
    const QRect rect = Tree()->ItemPartRect(item, part);
    ASSERT_TRUE(rect.isValid()) << item->text(0).toStdString() << " part " << part;
    QTest::mouseClick(Tree()->viewport(), button, Qt::NoModifier, rect.center());
}

QStringList ScanTest::ListColumn(int column) const {
    QStringList texts;
    CVexloRightViewListCtrl* list = frame->GetFileList();
    for (int row = 0; row < list->GetItemCount(); ++row) texts << list->GetItemText(row, column);
    return texts;
}

QStringList ScanTest::LogRows() const {
    return frame->GetLogList()->Rows();
}

bool IsLogTimestamp(const QString& text) {
    static const QRegularExpression pattern(
        QStringLiteral("^(Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec)-[0-3][0-9]-[0-9]{4}"
                       "\\((0[1-9]|1[0-2])-[0-5][0-9]-[0-5][0-9]-(AM|PM)\\)$"));
    return pattern.match(text).hasMatch();
}

}  // namespace kelvara::test
