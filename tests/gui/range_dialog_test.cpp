#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include "app/app_texts.h"
#include "app/application.h"
#include "app/icon_button.h"
#include "app/range_slider_dlg.h"
#include "platform/control_id.h"
#include "platform/ui_script.h"

namespace kelvara {
namespace {

using Dlg = CVexloRangeSliderDlg;

class RangeDialogTest : public ::testing::Test {
protected:
    RangeDialogTest() : app(lockDir.filePath("instance.lock")) { app.m_strFileSize = "1048576"; }

    template <typename T>
    T* Control(Dlg& dialog, int id) {
        T* control = FindControl<T>(&dialog, id);
        EXPECT_NE(control, nullptr) << id;
        return control;
    }
    void Click(Dlg& dialog, int id) {
        QTest::mouseClick(Control<QAbstractButton>(dialog, id), Qt::LeftButton);
    }
    void Type(Dlg& dialog, int id, const QString& text) {
        QLineEdit* edit = Control<QLineEdit>(dialog, id);
        edit->clear();
        QTest::keyClicks(edit, text);
    }

    QTemporaryDir lockDir;
    CVexlBKFFileRepProjApp app;
    CUiScript script;
};

TEST_F(RangeDialogTest, HasEveryControlWithItsText) {
    Dlg dialog(app);
    EXPECT_EQ(dialog.windowTitle(), "Recovery Selection");
    EXPECT_EQ(dialog.parentWidget(), nullptr);
    const struct {
        int id;
        const char* text;
    } buttons[] = {{1076, "Standard Mode"},
                   {1077, "Advanced Mode"},
                   {1080, "Heuristic scanning"},
                   {1074, "Scan complete BKF file"},
                   {1073, "Scan partial BKF file"},
                   {1, "OK"},
                   {2, "Cancel"}};
    for (const auto& b : buttons) EXPECT_EQ(Control<QAbstractButton>(dialog, b.id)->text(), b.text);
    QStringList groups;
    for (QGroupBox* box : dialog.findChildren<QGroupBox*>()) groups << box->title();
    EXPECT_EQ(groups, (QStringList{"Select Recovery Mode:", "Select file Scanning option:", ""}));
    QStringList labels;
    for (QLabel* label : dialog.findChildren<QLabel*>()) {
        if (GetControlId(label) == 0) labels << label->text();
    }
    EXPECT_EQ(labels, (QStringList{"File Size(Bytes):", "Min(Bytes):", "Max(Bytes):"}));

    const struct {
        int id;
        const char* tip;
    } helps[] = {{1078, app_texts::kStandardHelp},
                 {1079, app_texts::kAdvancedHelp},
                 {1081, app_texts::kHeuristicHelp}};
    EXPECT_EQ(QString(app_texts::kStandardHelp),
              "Select Standard mode recovery to handle common corruption issues in corrupt bkf "
              "file(Faster).");
    for (const auto& h : helps) {
        CIconButton* button = Control<CIconButton>(dialog, h.id);
        EXPECT_EQ(button->TooltipText(), h.tip);
        EXPECT_TRUE(button->IsBorderless());
        EXPECT_TRUE(button->IsTransparent());
        EXPECT_FALSE(button->icon().isNull());
        // Clicking sets the help text again; it stays the same text.
        button->SetTooltipText("changed");
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_EQ(button->TooltipText(), h.tip);
    }
}

TEST_F(RangeDialogTest, StartsInTheSameStateEveryTime) {
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        Dlg dialog(app);
        EXPECT_EQ(Control<QLineEdit>(dialog, Dlg::IDC_RANGE_MIN)->text(), "0");
        EXPECT_EQ(Control<QLineEdit>(dialog, Dlg::IDC_RANGE_MAX)->text(), "1048576");
        EXPECT_EQ(Control<QLabel>(dialog, Dlg::IDC_FILE_SIZE)->text(), "1048576");
        EXPECT_TRUE(Control<QRadioButton>(dialog, Dlg::IDC_SCAN_COMPLETE)->isChecked());
        EXPECT_FALSE(Control<QRadioButton>(dialog, Dlg::IDC_SCAN_PARTIAL)->isChecked());
        EXPECT_FALSE(Control<QLineEdit>(dialog, Dlg::IDC_RANGE_MIN)->isEnabled());
        EXPECT_FALSE(Control<QLineEdit>(dialog, Dlg::IDC_RANGE_MAX)->isEnabled());
        EXPECT_TRUE(Control<QRadioButton>(dialog, Dlg::IDC_STANDARD_MODE)->isChecked());
        EXPECT_FALSE(Control<QRadioButton>(dialog, Dlg::IDC_ADVANCED_MODE)->isChecked());
        EXPECT_FALSE(Control<QCheckBox>(dialog, Dlg::IDC_HEURISTIC)->isChecked());
        // Change everything before the next round.
        dialog.show();
        Click(dialog, Dlg::IDC_ADVANCED_MODE);
        Click(dialog, Dlg::IDC_HEURISTIC);
        Click(dialog, Dlg::IDC_SCAN_PARTIAL);
        Type(dialog, Dlg::IDC_RANGE_MIN, "5");
        Click(dialog, Dlg::IDOK);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    }
    // An unreadable size shows as empty text.
    app.m_strFileSize.clear();
    Dlg dialog(app);
    EXPECT_EQ(Control<QLineEdit>(dialog, Dlg::IDC_RANGE_MAX)->text(), "");
}

TEST_F(RangeDialogTest, RadioButtonsKeepEachPairExclusive) {
    Dlg dialog(app);
    dialog.show();
    auto* partial = Control<QRadioButton>(dialog, Dlg::IDC_SCAN_PARTIAL);
    auto* complete = Control<QRadioButton>(dialog, Dlg::IDC_SCAN_COMPLETE);
    auto* standard = Control<QRadioButton>(dialog, Dlg::IDC_STANDARD_MODE);
    auto* advanced = Control<QRadioButton>(dialog, Dlg::IDC_ADVANCED_MODE);
    auto* min = Control<QLineEdit>(dialog, Dlg::IDC_RANGE_MIN);
    Click(dialog, Dlg::IDC_SCAN_PARTIAL);
    EXPECT_TRUE(partial->isChecked());
    EXPECT_FALSE(complete->isChecked());
    EXPECT_TRUE(min->isEnabled());
    Click(dialog, Dlg::IDC_SCAN_PARTIAL);  // clicking again keeps it chosen
    EXPECT_TRUE(partial->isChecked());
    Type(dialog, Dlg::IDC_RANGE_MIN, "77");
    Click(dialog, Dlg::IDC_SCAN_COMPLETE);
    EXPECT_TRUE(complete->isChecked());
    EXPECT_FALSE(partial->isChecked());
    EXPECT_FALSE(min->isEnabled());
    EXPECT_EQ(min->text(), "77");  // the text stays
    // The mode pair is independent of the range pair.
    Click(dialog, Dlg::IDC_ADVANCED_MODE);
    EXPECT_TRUE(advanced->isChecked());
    EXPECT_FALSE(standard->isChecked());
    EXPECT_TRUE(complete->isChecked());
    Click(dialog, Dlg::IDC_STANDARD_MODE);
    EXPECT_TRUE(standard->isChecked());
    EXPECT_FALSE(advanced->isChecked());
}

TEST_F(RangeDialogTest, RangeFieldsTakeDigitsOnly) {
    Dlg dialog(app);
    dialog.show();
    Click(dialog, Dlg::IDC_SCAN_PARTIAL);
    Type(dialog, Dlg::IDC_RANGE_MIN, "12a-3 4.5");
    EXPECT_EQ(Control<QLineEdit>(dialog, Dlg::IDC_RANGE_MIN)->text(), "12345");
    Type(dialog, Dlg::IDC_RANGE_MAX, "98765432109876543210");
    EXPECT_EQ(Control<QLineEdit>(dialog, Dlg::IDC_RANGE_MAX)->text(), "98765432109876543210");
}

// What OK writes, from the settings left by an earlier confirmation.
TEST_F(RangeDialogTest, OkWritesTheChoicesOrRefusesEqualTexts) {
    const struct {
        const char* name;
        bool partial;
        const char* min;  // null: leave as it is
        const char* max;
        bool advanced;
        bool heuristic;
        bool accepted;
        int rangeMode;
        const char* rangeStart;
        const char* rangeEnd;
    } cases[] = {
        {"untouched", false, nullptr, nullptr, false, false, true, 2, "old-start", "old-end"},
        {"whole file, advanced, heuristic", false, nullptr, nullptr, true, true, true, 2,
         "old-start", "old-end"},
        {"zero to the size", true, nullptr, nullptr, false, false, true, 1, "0", "1048576"},
        {"equal texts", true, "100", "100", true, true, false, 0, "old-start", "old-end"},
        {"same value, different texts", true, "0", "00", false, false, true, 1, "0", "00"},
        {"min above max", true, "900", "100", false, false, true, 1, "900", "100"},
        {"empty max", true, "10", "", false, false, true, 1, "10", ""},
        {"both empty", true, "", "", false, false, false, 0, "old-start", "old-end"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        app.m_nRangeMode = 0;
        app.m_nRecoveryMode = 0;
        app.m_bHeuristic = 7;
        app.m_strRangeStart = "old-start";
        app.m_strRangeEnd = "old-end";
        script.ClearRecords();

        Dlg dialog(app);
        dialog.show();
        if (c.partial) Click(dialog, Dlg::IDC_SCAN_PARTIAL);
        if (c.min) Type(dialog, Dlg::IDC_RANGE_MIN, c.min);
        if (c.max) Type(dialog, Dlg::IDC_RANGE_MAX, c.max);
        if (c.advanced) Click(dialog, Dlg::IDC_ADVANCED_MODE);
        if (c.heuristic) Click(dialog, Dlg::IDC_HEURISTIC);
        Click(dialog, Dlg::IDOK);

        if (c.accepted) {
            EXPECT_EQ(dialog.result(), QDialog::Accepted);
            EXPECT_FALSE(dialog.isVisible());
            EXPECT_TRUE(script.MessageBoxes().empty());
            EXPECT_EQ(app.m_nRecoveryMode, c.advanced ? 2 : 1);
            EXPECT_EQ(app.m_bHeuristic, c.heuristic ? 1 : 0);
        } else {
            EXPECT_TRUE(dialog.isVisible());  // stays open with the input
            EXPECT_EQ(script.MessageTexts(),
                      QStringList{"Set range properly, both value cannot be same."});
            EXPECT_EQ(script.MessageBoxes().at(0).caption, "Kelvara v22.0");
            EXPECT_EQ(app.m_nRecoveryMode, 0);
            EXPECT_EQ(app.m_bHeuristic, 7);
        }
        EXPECT_EQ(app.m_nRangeMode, c.rangeMode);
        EXPECT_EQ(app.m_strRangeStart, c.rangeStart);
        EXPECT_EQ(app.m_strRangeEnd, c.rangeEnd);
    }
}

TEST_F(RangeDialogTest, CancelWritesNothingAndHeuristicDoesNotCarryOver) {
    {
        Dlg dialog(app);
        dialog.show();
        Click(dialog, Dlg::IDC_HEURISTIC);
        Click(dialog, Dlg::IDOK);
    }
    EXPECT_EQ(app.m_bHeuristic, 1);
    {
        Dlg dialog(app);
        dialog.show();
        Click(dialog, Dlg::IDC_ADVANCED_MODE);
        Click(dialog, Dlg::IDCANCEL);
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
    }
    EXPECT_EQ(app.m_nRecoveryMode, 1);
    EXPECT_EQ(app.m_bHeuristic, 1);
    {
        Dlg dialog(app);
        dialog.show();
        Click(dialog, Dlg::IDOK);
    }
    EXPECT_EQ(app.m_bHeuristic, 0);
}

TEST(IconButton, LongTooltipsWrapAt400Pixels) {
    CIconButton button;
    button.SetTooltipText("short");
    EXPECT_EQ(button.TooltipForDisplay(), "short");
    button.SetTooltipText(app_texts::kHeuristicHelp);
    EXPECT_EQ(button.TooltipText(), app_texts::kHeuristicHelp);
    EXPECT_TRUE(button.TooltipForDisplay().contains("width=\"400\""));
}

}  // namespace
}  // namespace kelvara
