#include "app/app_look.h"

#include <QApplication>
#include <QPalette>
#include <QStyleFactory>

namespace kelvara {
namespace {

QPalette BlackPalette() {
    QPalette p;
    const QColor window(0x3a, 0x3a, 0x3a);
    const QColor base(0x24, 0x24, 0x24);
    const QColor text(0xe8, 0xe8, 0xe8);
    const QColor highlight(0x3d, 0x7a, 0xc4);
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, base);
    p.setColor(QPalette::AlternateBase, QColor(0x2e, 0x2e, 0x2e));
    p.setColor(QPalette::ToolTipBase, QColor(0xf4, 0xf4, 0xf4));
    p.setColor(QPalette::ToolTipText, QColor(0x1e, 0x1e, 0x1e));
    p.setColor(QPalette::PlaceholderText, QColor(0x90, 0x90, 0x90));
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, QColor(0x48, 0x48, 0x48));
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::BrightText, Qt::white);
    p.setColor(QPalette::Light, QColor(0x5a, 0x5a, 0x5a));
    p.setColor(QPalette::Midlight, QColor(0x4a, 0x4a, 0x4a));
    p.setColor(QPalette::Mid, QColor(0x30, 0x30, 0x30));
    p.setColor(QPalette::Dark, QColor(0x22, 0x22, 0x22));
    p.setColor(QPalette::Shadow, QColor(0x10, 0x10, 0x10));
    p.setColor(QPalette::Highlight, highlight);
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::Link, QColor(0x8c, 0xc4, 0xff));
    p.setColor(QPalette::LinkVisited, QColor(0xb4, 0x9c, 0xff));
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        p.setColor(QPalette::Disabled, role, QColor(0x80, 0x80, 0x80));
    }
    p.setColor(QPalette::Disabled, QPalette::Highlight, QColor(0x50, 0x50, 0x50));
    return p;
}

constexpr const char* kStyleSheet = R"(
#ribbonBar { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #4f4f4f, stop:1 #2f2f2f); }
#ribbonTop { background: #1f1f1f; }
#ribbonCategoryTab { color: #f0f0f0; background: qlineargradient(x1:0, y1:0, x2:0, y2:1,
    stop:0 #6a6a6a, stop:1 #4f4f4f); border: 1px solid #7a7a7a; border-bottom: none;
    border-top-left-radius: 3px; border-top-right-radius: 3px; padding: 3px 14px; }
#ribbonAppButton { border: none; background: transparent; }
#ribbonPanel { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #5a5a5a, stop:1 #404040);
    border: 1px solid #6c6c6c; border-radius: 3px; }
#ribbonPanelCaption { color: #d8d8d8; background: #2c2c2c; border-bottom-left-radius: 3px;
    border-bottom-right-radius: 3px; padding: 1px 6px; }
#ribbonPanel QToolButton { color: #f2f2f2; background: transparent; border: 1px solid transparent;
    border-radius: 2px; padding: 2px 4px; }
#ribbonPanel QToolButton:hover { background: qlineargradient(x1:0, y1:0, x2:0, y2:1,
    stop:0 #fff3c6, stop:1 #ffd76a); color: #1e1e1e; border: 1px solid #d9b252; }
#ribbonPanel QToolButton:pressed { background: #f3b34b; color: #1e1e1e; }
#ribbonPanel QToolButton:disabled { color: #8a8a8a; }
QDockWidget { color: #f0f0f0; }
QDockWidget::title { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #5c5c5c,
    stop:1 #3e3e3e); padding: 4px; }
QStatusBar { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #4a4a4a, stop:1 #2a2a2a);
    color: #e0e0e0; }
QStatusBar::item { border: none; }
QTabWidget#outputTabs QTabBar::tab { background: #474747; color: #e8e8e8; padding: 3px 12px;
    border: 1px solid #5e5e5e; }
QTabWidget#outputTabs QTabBar::tab:selected { background: #2a2a2a; }
)";

}  // namespace

void ApplyBlackLook() {
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"))) {
        QApplication::setStyle(fusion);
    }
    QApplication::setPalette(BlackPalette());
    qApp->setStyleSheet(QString::fromLatin1(kStyleSheet));
}

}  // namespace kelvara
