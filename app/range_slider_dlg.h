#pragma once
// "Recovery Selection": the recovery mode, heuristic scanning and the part of the image to scan.
// Confirming writes the choices into the application's scan settings; cancelling writes nothing.
#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace kelvara {

class CIconButton;
class CVexlBKFFileRepProjApp;

class CVexloRangeSliderDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int IDC_RANGE_MIN = 1071;
    static constexpr int IDC_RANGE_MAX = 1032;
    static constexpr int IDC_SCAN_PARTIAL = 1073;
    static constexpr int IDC_SCAN_COMPLETE = 1074;
    static constexpr int IDC_FILE_SIZE = 1075;
    static constexpr int IDC_STANDARD_MODE = 1076;
    static constexpr int IDC_ADVANCED_MODE = 1077;
    static constexpr int IDC_STANDARD_HELP = 1078;
    static constexpr int IDC_ADVANCED_HELP = 1079;
    static constexpr int IDC_HEURISTIC = 1080;
    static constexpr int IDC_HEURISTIC_HELP = 1081;
    static constexpr int IDOK = 1;
    static constexpr int IDCANCEL = 2;

    explicit CVexloRangeSliderDlg(CVexlBKFFileRepProjApp& app, QWidget* parent = nullptr);

    void OnOK();
    void OnScanPartial();
    void OnScanComplete();
    void OnStandardMode();
    void OnAdvancedMode();

private:
    void OnInitDialog();
    // A control at its place in dialog units, widened where its text needs more room.
    template <typename T>
    T* Place(T* widget, int id, int x, int y, int width, int height);

    CVexlBKFFileRepProjApp& m_app;
    QRadioButton* m_pStandard = nullptr;
    QRadioButton* m_pAdvanced = nullptr;
    QCheckBox* m_pHeuristic = nullptr;
    QRadioButton* m_pComplete = nullptr;
    QRadioButton* m_pPartial = nullptr;
    QLabel* m_pFileSize = nullptr;
    QLineEdit* m_pMin = nullptr;
    QLineEdit* m_pMax = nullptr;
    CIconButton* m_pStandardHelp = nullptr;
    CIconButton* m_pAdvancedHelp = nullptr;
    CIconButton* m_pHeuristicHelp = nullptr;
};

}  // namespace kelvara
