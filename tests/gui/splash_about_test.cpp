#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include "app/about_dlg.h"
#include "app/app_images.h"
#include "app/splash_wnd.h"
#include "platform/control_id.h"
#include "platform/ui_script.h"

namespace kelvara {
namespace {

TEST(Splash, ShapeFromThePictureAndNoEarlyCloseByAClick) {
    QWidget owner;
    QPointer<CSplashWnd> splash = new CSplashWnd(
        &owner, "v22.0", 2000,
        CSplashWnd::FadeIn | CSplashWnd::FadeOut | CSplashWnd::Shadow | CSplashWnd::CenterScreen);
    const QImage picture = LoadSvgImage("splash");
    ASSERT_EQ(picture.size(), QSize(525, 278));
    ASSERT_TRUE(splash->SetBitmap(picture, qRgb(255, 0, 255)));
    EXPECT_EQ(splash->size(), QSize(525, 278));
    // The magenta corners are cut out of the window; the middle stays.
    EXPECT_FALSE(splash->mask().contains(QPoint(0, 0)));
    EXPECT_FALSE(splash->mask().contains(QPoint(524, 277)));
    EXPECT_TRUE(splash->mask().contains(QPoint(262, 139)));
    EXPECT_TRUE(splash->mask().contains(QPoint(0, 139)));

    QElapsedTimer clock;
    clock.start();
    splash->Show();
    EXPECT_TRUE(splash->isVisible());
    QTest::mouseClick(splash, Qt::LeftButton, Qt::NoModifier, QPoint(262, 139));
    QTest::qWait(300);
    ASSERT_FALSE(splash.isNull());
    EXPECT_TRUE(splash->isVisible());
    // Without window fading (this platform) it lives its display time; with it, 2.7 s.
    QTRY_VERIFY_WITH_TIMEOUT(splash.isNull(), 6000);
    EXPECT_GE(clock.elapsed(), 1900);
}

TEST(Splash, NoPictureNoSplash) {
    CSplashWnd splash(nullptr, "v22.0", 2000, CSplashWnd::CenterScreen);
    EXPECT_FALSE(splash.SetBitmap(QImage(), qRgb(255, 0, 255)));
}

TEST(Splash, CloseOnClickWhenAskedFor) {
    QPointer<CSplashWnd> splash = new CSplashWnd(nullptr, "v", 60000, CSplashWnd::CloseOnClick);
    ASSERT_TRUE(splash->SetBitmap(LoadSvgImage("splash"), qRgb(255, 0, 255)));
    splash->Show();
    QTest::mouseClick(splash, Qt::LeftButton, Qt::NoModifier, QPoint(262, 139));
    QTRY_VERIFY(splash.isNull());
}

TEST(AboutDialog, ShowsTitleLinksAndIgnoresEnterAndEscape) {
    CUiScript script;
    CVexloAboutDlg dialog;
    EXPECT_EQ(dialog.windowTitle(), "Kelvara v22.0");
    auto* title = FindControl<QLabel>(&dialog, CVexloAboutDlg::kTitleId);
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->text(), "Kelvara v22.0");
    EXPECT_EQ(title->font().pixelSize(), 15);
    EXPECT_EQ(title->font().weight(), QFont::DemiBold);
    const struct {
        int id;
        const char* tip;
        const char* url;
    } links[] = {{1081, "Company website", "https://www.kelvara.example/"},
                 {1003, "Support email address", "mailto:support@kelvara.example"},
                 {1010, "Sales email address", "mailto:sales@kelvara.example"}};
    for (const auto& l : links) {
        auto* link = FindControl<QLabel>(&dialog, l.id);
        ASSERT_NE(link, nullptr) << l.id;
        EXPECT_EQ(link->toolTip(), l.tip);
        emit link->linkActivated(l.url);
    }
    ASSERT_EQ(script.OpenedUrls().size(), 3);
    EXPECT_EQ(script.OpenedUrls().at(1).toString(), "mailto:support@kelvara.example");

    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        QTest::keyClick(&dialog, key);
        EXPECT_TRUE(dialog.isVisible()) << key;
    }
    auto* ok = FindControl<QPushButton>(&dialog, CVexloAboutDlg::kOkId);
    ASSERT_NE(ok, nullptr);
    ok->setFocus();
    QTest::keyClick(ok, Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible());
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST(AboutDialog, DraggedByItsBackground) {
    CVexloAboutDlg dialog;
    dialog.move(100, 100);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    const QPoint start = dialog.pos();
    // A free spot near the bottom-left corner, away from the labels and the button.
    const QPoint local(3, dialog.height() - 3);
    const QPoint global = dialog.mapToGlobal(local);
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(&dialog, &press);
    QMouseEvent move(QEvent::MouseMove, local + QPoint(40, 25), global + QPoint(40, 25),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&dialog, &move);
    QMouseEvent release(QEvent::MouseButtonRelease, local + QPoint(40, 25), global + QPoint(40, 25),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&dialog, &release);
    EXPECT_EQ(dialog.pos(), start + QPoint(40, 25));
}

}  // namespace
}  // namespace kelvara
