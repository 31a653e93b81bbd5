#pragma once
// Scanning in the desktop program's tests: fixture images, the Open command driven to the end
// with its dialogs answered, and ways to look at and click the tree and the file list.
#include <QStringList>
#include <functional>
#include <memory>

#include "app/range_slider_dlg.h"
#include "panes/check_tree_ctrl.h"
#include "tests/gui/gui_test_support.h"
#include "tests/support/mtf_writer.h"

class QTimer;

namespace kelvara::test {

// Two top-level containers, both invented by the scanner. The older, "DUMY SET CREATED ", comes
// from a folder block before any set and holds "DUMY VOLUME XX: " with old.txt. The newer,
// "TAPE CREATED ", holds SET 2 :Daily / D: / Docs with the files a.txt, report.TXT and noext and
// the folders A (a1.bin), B (empty) and C (c1.txt), found in that order, and D: / Odd, whose
// first file is named "Dummy", then z.txt.
void AddTwoMedia(testing::ImageBuilder& image);
std::unique_ptr<testing::TempImage> MakeTwoMediaImage();
inline constexpr int kTwoMediaFiles = 8;
inline constexpr const char* kNewer = "TAPE CREATED ";
inline constexpr const char* kOlder = "DUMY SET CREATED ";
inline constexpr const char* kDocs = "TAPE CREATED /SET 2 :Daily/D:/Docs";

// Answers the recovery-selection dialog as soon as it is shown: `adjust` may change it first;
// then OK, or Cancel when `confirm` is false.
class RangeDialogAnswer {
public:
    explicit RangeDialogAnswer(bool confirm = true,
                               std::function<void(CVexloRangeSliderDlg&)> adjust = {});
    ~RangeDialogAnswer();
    bool Answered() const { return m_bAnswered; }

private:
    QTimer* m_pTimer;
    bool m_bAnswered = false;
};

class ScanTest : public FrameTest {
protected:
    void TearDown() override;

    // The Open command on `path` with the file dialog answered, the recovery dialog confirmed
    // after `adjust` and the scan waited for. False if it did not end in time.
    bool OpenAndScan(const QString& path, std::function<void(CVexloRangeSliderDlg&)> adjust = {});
    bool WaitForJobEnd(int timeoutMs = 30000);

    CCheckTreeCtrl* Tree() const { return frame->GetTreeCtrl(); }
    QStringList TopLevelTexts() const;
    QStringList ChildTexts(QTreeWidgetItem* item) const;
    // An item by the texts from the top level down, "TAPE CREATED /SET 2 :Daily/D:/Docs".
    QTreeWidgetItem* Item(const QString& path) const;
    // Item by path with every folder on the way opened by its expand button.
    QTreeWidgetItem* OpenPath(const QString& path);
    // A real click on one part of an item, scrolled into view first.
    void Click(QTreeWidgetItem* item, TreeHitFlags part, Qt::MouseButton button = Qt::LeftButton);
    QStringList ListColumn(int column) const;
    QStringList LogRows() const;
};

// "Mar-05-2024(09-07-31-PM)".
bool IsLogTimestamp(const QString& text);

}  // namespace kelvara::test
