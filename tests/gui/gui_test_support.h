#pragma once
// Shared pieces of the desktop program's tests.
#include <gtest/gtest.h>

#include <QList>
#include <QString>
#include <QTemporaryDir>
#include <QWidget>
#include <memory>

#include "app/application.h"
#include "app/main_frame.h"
#include "platform/ui_script.h"
#include "platform/window_messages.h"

class QTreeWidgetItem;

namespace kelvara::test {

// The program's own executable and the folder where tests leave files for people to look at.
QString KelvaraExecutable();
QString TestOutputDir();
// This test program, for the helper modes that the two-process tests start.
QString TestExecutable();

// A window that records every message it is sent; a rename's text is copied while it is valid.
class RecordingWindow : public QWidget, public IMessageWindow {
public:
    struct Message {
        uint32_t message = 0;
        WPARAM wParam = 0;
        LPARAM lParam = 0;
        QTreeWidgetItem* renameItem = nullptr;
        bool renameCancelled = false;
        QString renameText;
    };
    LRESULT WindowProc(uint32_t message, WPARAM wParam, LPARAM lParam) override;
    QList<Message> messages;
    LRESULT result = 1;

    QList<Message> Of(uint32_t message) const;
};

// The started program: application object and main frame, with every box scripted.
class FrameTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Gives the frame a scanner whose catalogue holds `nodes` top-level folders "F0".. and
    // `files` files in the first of them.
    bkf* InstallScanner(int nodes = 2, int files = 3);
    // A top-level tree item standing for catalogue node `node`.
    QTreeWidgetItem* AddNodeItem(int64_t node, const QString& text);

    CUiScript script;
    QTemporaryDir lockDir;
    std::unique_ptr<CVexlBKFFileRepProjApp> app;
    CMainFrame* frame = nullptr;
};

}  // namespace kelvara::test
