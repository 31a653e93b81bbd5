#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QMenu>
#include <QStyle>
#include <QTest>

#include "panes/file_list_view.h"
#include "panes/right_view_list_ctrl.h"
#include "platform/control_id.h"
#include "platform/image_list.h"
#include "tests/gui/gui_test_support.h"

namespace kelvara {
namespace {

using test::RecordingWindow;

class FileListTest : public ::testing::Test {
protected:
    void SetUp() override {
        images.Add(QApplication::style()->standardIcon(QStyle::SP_DirIcon));
        images.Add(QApplication::style()->standardIcon(QStyle::SP_FileIcon));
        list.SetNotifyWindow(&window);
        list.SetImageList(&images);
        list.resize(800, 300);
        list.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
        list.AppendRows({{"Sub", "Folder", 0}, {"a.txt", "Text", 1}, {"b.bin", "Binary", 1}});
    }
    QPoint RowPoint(int row, int column = 0) const {
        return list.visualRect(list.model()->index(row, column)).center();
    }
    QList<WPARAM> Previewed() const {
        QList<WPARAM> rows;
        for (const auto& m : window.Of(WM_BKF_PREVIEW_ROW)) rows << m.wParam;
        return rows;
    }

    RecordingWindow window;
    CImageList images{QSize(16, 16)};
    CVexloRightViewListCtrl list;
};

TEST_F(FileListTest, ColumnsRowsAndTheLastColumnFillingTheWidth) {
    QAbstractItemModel* model = list.model();
    ASSERT_EQ(model->columnCount(), 2);
    EXPECT_EQ(model->headerData(0, Qt::Horizontal).toString(), "File Name");
    EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), "File Type");
    EXPECT_EQ(list.columnWidth(0), 400);
    EXPECT_EQ(list.columnWidth(1), list.viewport()->width() - 400);
    list.resize(1200, 300);
    QApplication::processEvents();
    EXPECT_EQ(list.columnWidth(1), list.viewport()->width() - 400);
    EXPECT_TRUE(list.showGrid());
    EXPECT_EQ(list.selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(list.editTriggers(), QAbstractItemView::NoEditTriggers);

    ASSERT_EQ(list.GetItemCount(), 3);
    EXPECT_EQ(list.GetItemText(1, 0), "a.txt");
    EXPECT_EQ(list.GetItemText(1, 1), "Text");
    EXPECT_EQ(list.GetItemImage(0), 0);
    EXPECT_FALSE(model->index(1, 0).data(Qt::DecorationRole).value<QIcon>().isNull());
    EXPECT_FALSE(model->index(1, 1).data(Qt::DecorationRole).isValid());
    list.AppendRows({{"c", "File", 1}});
    EXPECT_EQ(list.GetItemText(3, 0), "c");
    list.DeleteAllItems();
    EXPECT_EQ(list.GetItemCount(), 0);
}

TEST_F(FileListTest, HeaderClicksNeverReorderTheRows) {
    const QPoint header(list.horizontalHeader()->sectionViewportPosition(0) + 20,
                        list.horizontalHeader()->height() / 2);
    QTest::mouseClick(list.horizontalHeader()->viewport(), Qt::LeftButton, Qt::NoModifier, header);
    QTest::mouseClick(list.horizontalHeader()->viewport(), Qt::LeftButton, Qt::NoModifier, header);
    EXPECT_EQ(list.GetItemText(0, 0), "Sub");
    EXPECT_EQ(list.GetItemText(2, 0), "b.bin");
}

TEST_F(FileListTest, ClicksAndUpDownAskForAPreview) {
    QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::NoModifier, RowPoint(1, 1));
    EXPECT_EQ(Previewed(), QList<WPARAM>{1});
    EXPECT_EQ(list.GetSelectionMark(), 1);

    // Below the last row: nothing to preview.
    window.messages.clear();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(20, 280));
    EXPECT_TRUE(Previewed().isEmpty());

    // Down on the first row: the first row on the press, the second on the release.
    QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::NoModifier, RowPoint(0));
    window.messages.clear();
    QTest::keyPress(&list, Qt::Key_Down);
    EXPECT_EQ(Previewed(), QList<WPARAM>{0});
    QTest::keyRelease(&list, Qt::Key_Down);
    EXPECT_EQ(Previewed(), QList<WPARAM>({0, 1}));
    EXPECT_EQ(list.GetSelectionMark(), 1);
    EXPECT_TRUE(list.selectionModel()->isRowSelected(1, QModelIndex()));
    QTest::keyClick(&list, Qt::Key_Up);
    EXPECT_EQ(Previewed(), QList<WPARAM>({0, 1, 1, 0}));

    // Other keys and the right button preview nothing and show no menu.
    window.messages.clear();
    QTest::keyClick(&list, Qt::Key_End);
    QTest::mouseClick(list.viewport(), Qt::RightButton, Qt::NoModifier, RowPoint(2));
    EXPECT_TRUE(window.messages.isEmpty());
    EXPECT_EQ(list.findChild<QMenu*>(), nullptr);

    // With no row to start from, Up and Down preview nothing.
    list.DeleteAllItems();
    QTest::keyClick(&list, Qt::Key_Down);
    EXPECT_TRUE(window.messages.isEmpty());
}

TEST_F(FileListTest, InfoTipsShowTheWholeCellUpToTheTipSize) {
    const QString longName = QString(3000, 'n') + ".txt";
    list.AppendRows({{longName, "Text", 1}});
    EXPECT_EQ(list.GetInfoTip(3, 0), longName.left(1023));
    EXPECT_EQ(list.GetInfoTip(1, 1), "Text");
    EXPECT_EQ(list.model()->index(1, 0).data(Qt::ToolTipRole).toString(), "a.txt");
}

TEST(FileListView, HoldsTheListWithItsHeaderFontAndStretchedPicture) {
    CVexlBKFFileRepProjView view;
    CVexloRightViewListCtrl* list = view.GetListCtrl();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(GetControlId(list), 280);
    const QFont font = list->horizontalHeader()->font();
    EXPECT_EQ(font.family(), "Arial");
    EXPECT_EQ(font.pixelSize(), 16);
    EXPECT_EQ(font.weight(), QFont::Bold);
    // Carried by the sections too, where no style sheet can put another font in its place.
    EXPECT_EQ(list->model()->headerData(0, Qt::Horizontal, Qt::FontRole).value<QFont>(), font);

    QImage picture(850, 300, QImage::Format_ARGB32);
    picture.fill(Qt::darkBlue);
    view.SetBackgroundPicture(picture);
    view.resize(640, 480);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    QTRY_COMPARE(list->viewport()->palette().brush(QPalette::Base).texture().size(),
                 QSize(640, 480));
    view.resize(900, 500);
    QTRY_COMPARE(list->viewport()->palette().brush(QPalette::Base).texture().size(),
                 QSize(900, 500));
    EXPECT_TRUE(list->viewport()->autoFillBackground());
}

}  // namespace
}  // namespace kelvara
