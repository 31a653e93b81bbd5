#include "app/range_slider_dlg.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <algorithm>

#include "app/app_images.h"
#include "app/app_messages.h"
#include "app/app_strings.h"
#include "app/app_texts.h"
#include "app/application.h"
#include "app/icon_button.h"
#include "platform/control_id.h"

namespace kelvara {
namespace {

// Dialog units from the dialog font: a quarter of the average character width across, an
// eighth of the character height down.
struct DialogUnits {
    double x = 1.5;
    double y = 1.625;
    explicit DialogUnits(const QFontMetrics& fm) {
        const QString sample =
            QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
        x = fm.horizontalAdvance(sample) / 52.0 / 4.0;
        y = fm.height() / 8.0;
    }
    QRect ToPixels(int left, int top, int width, int height) const {
        return QRect(qRound(left * x), qRound(top * y), qRound(width * x), qRound(height * y));
    }
};

}  // namespace

template <typename T>
T* CVexloRangeSliderDlg::Place(T* widget, int id, int x, int y, int width, int height) {
    const DialogUnits units(fontMetrics());
    QRect r = units.ToPixels(x, y, width, height);
    const QSize hint = widget->sizeHint();
    if (qobject_cast<QAbstractButton*>(widget) || qobject_cast<QLabel*>(widget)) {
        r.setWidth(std::max(r.width(), hint.width()));
        r.setHeight(std::max(r.height(), hint.height()));
    }
    widget->setGeometry(r);
    if (id != 0) SetControlId(widget, id);
    return widget;
}

CVexloRangeSliderDlg::CVexloRangeSliderDlg(CVexlBKFFileRepProjApp& app, QWidget* parent)
    : QDialog(parent), m_app(app) {
    setObjectName(QStringLiteral("recoverySelection"));
    setWindowTitle(Text(app_texts::kRangeDialogTitle));
    const DialogUnits units(fontMetrics());
    setFixedSize(units.ToPixels(0, 0, 280, 176).size());

    // Group boxes first, so the controls over them stay on top.
    Place(new QGroupBox(Text(app_texts::kModeGroup), this), 0, 8, 5, 265, 51);
    Place(new QGroupBox(Text(app_texts::kScanGroup), this), 0, 8, 60, 265, 94);
    Place(new QGroupBox(this), 0, 15, 87, 250, 60);

    m_pStandard = Place(new QRadioButton(Text(app_texts::kStandardMode), this), IDC_STANDARD_MODE,
                        16, 21, 65, 10);
    m_pStandardHelp = Place(new CIconButton(this), IDC_STANDARD_HELP, 89, 18, 16, 16);
    m_pAdvanced = Place(new QRadioButton(Text(app_texts::kAdvancedMode), this), IDC_ADVANCED_MODE,
                        155, 19, 67, 10);
    m_pAdvancedHelp = Place(new CIconButton(this), IDC_ADVANCED_HELP, 235, 17, 16, 16);
    m_pHeuristic =
        Place(new QCheckBox(Text(app_texts::kHeuristic), this), IDC_HEURISTIC, 153, 40, 73, 10);
    m_pHeuristicHelp = Place(new CIconButton(this), IDC_HEURISTIC_HELP, 235, 36, 16, 16);
    m_pComplete = Place(new QRadioButton(Text(app_texts::kScanComplete), this), IDC_SCAN_COMPLETE,
                        14, 71, 87, 10);
    m_pPartial = Place(new QRadioButton(Text(app_texts::kScanPartial), this), IDC_SCAN_PARTIAL, 14,
                       86, 79, 10);
    Place(new QLabel(Text(app_texts::kFileSizeLabel), this), 0, 21, 104, 52, 8);
    m_pFileSize = Place(new QLabel(this), IDC_FILE_SIZE, 83, 103, 169, 13);
    Place(new QLabel(Text(app_texts::kMinLabel), this), 0, 20, 130, 38, 8);
    m_pMin = Place(new QLineEdit(this), IDC_RANGE_MIN, 63, 127, 70, 14);
    Place(new QLabel(Text(app_texts::kMaxLabel), this), 0, 142, 130, 40, 8);
    m_pMax = Place(new QLineEdit(this), IDC_RANGE_MAX, 186, 127, 70, 14);
    auto* ok = Place(new QPushButton(Text(app_texts::kOk), this), IDOK, 86, 157, 50, 16);
    auto* cancel =
        Place(new QPushButton(Text(app_texts::kCancel), this), IDCANCEL, 142, 157, 50, 16);
    ok->setDefault(true);

    // Each radio button is a group of its own; the handlers keep the pairs exclusive.
    for (QRadioButton* radio : {m_pStandard, m_pAdvanced, m_pComplete, m_pPartial}) {
        radio->setAutoExclusive(false);
    }
    const QRegularExpression digits(QStringLiteral("[0-9]*"));
    for (QLineEdit* edit : {m_pMin, m_pMax}) {
        edit->setValidator(new QRegularExpressionValidator(digits, edit));
    }

    connect(ok, &QPushButton::clicked, this, &CVexloRangeSliderDlg::OnOK);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_pPartial, &QRadioButton::clicked, this, &CVexloRangeSliderDlg::OnScanPartial);
    connect(m_pComplete, &QRadioButton::clicked, this, &CVexloRangeSliderDlg::OnScanComplete);
    connect(m_pStandard, &QRadioButton::clicked, this, &CVexloRangeSliderDlg::OnStandardMode);
    connect(m_pAdvanced, &QRadioButton::clicked, this, &CVexloRangeSliderDlg::OnAdvancedMode);
    const std::pair<CIconButton*, const char*> helps[] = {
        {m_pStandardHelp, app_texts::kStandardHelp},
        {m_pAdvancedHelp, app_texts::kAdvancedHelp},
        {m_pHeuristicHelp, app_texts::kHeuristicHelp}};
    for (const auto& [button, help] : helps) {
        const QString text = Text(help);
        connect(button, &CIconButton::clicked, button,
                [button, text] { button->SetTooltipText(text); });
    }

    OnInitDialog();
}

void CVexloRangeSliderDlg::OnInitDialog() {
    m_pMin->setText(QStringLiteral("0"));
    m_pFileSize->setText(m_app.m_strFileSize);
    m_pMax->setText(m_app.m_strFileSize);
    m_pComplete->setChecked(true);
    m_pPartial->setChecked(false);
    m_pMin->setEnabled(false);
    m_pMax->setEnabled(false);
    m_pStandard->setChecked(true);
    m_pAdvanced->setChecked(false);
    m_pHeuristic->setChecked(false);

    const QIcon help = LoadSvgIcon(QStringLiteral("help"), {16});
    const std::pair<CIconButton*, const char*> helps[] = {
        {m_pStandardHelp, app_texts::kStandardHelp},
        {m_pAdvancedHelp, app_texts::kAdvancedHelp},
        {m_pHeuristicHelp, app_texts::kHeuristicHelp}};
    for (const auto& [button, text] : helps) {
        button->SetIcon(help, QSize(16, 16));
        button->SetBorderless(true);
        button->SetTransparent(true);
        button->SetTooltipText(Text(text));
    }
}

void CVexloRangeSliderDlg::OnScanPartial() {
    m_pPartial->setChecked(true);
    m_pComplete->setChecked(false);
    m_pMin->setEnabled(true);
    m_pMax->setEnabled(true);
}

void CVexloRangeSliderDlg::OnScanComplete() {
    m_pComplete->setChecked(true);
    m_pPartial->setChecked(false);
    m_pMin->setEnabled(false);
    m_pMax->setEnabled(false);
}

void CVexloRangeSliderDlg::OnStandardMode() {
    m_pStandard->setChecked(true);
    m_pAdvanced->setChecked(false);
}

void CVexloRangeSliderDlg::OnAdvancedMode() {
    m_pAdvanced->setChecked(true);
    m_pStandard->setChecked(false);
}

void CVexloRangeSliderDlg::OnOK() {
    if (m_pPartial->isChecked()) {
        const QString start = m_pMin->text();
        const QString end = m_pMax->text();
        // The texts are compared, not their values: "0" and "00" differ.
        if (start == end) {
            InfoMessage(this, app_texts::kEqualRange);
            return;
        }
        m_app.m_strRangeStart = start;
        m_app.m_strRangeEnd = end;
        m_app.m_nRangeMode = 1;
    }
    if (m_pComplete->isChecked()) m_app.m_nRangeMode = 2;
    if (m_pStandard->isChecked()) m_app.m_nRecoveryMode = 1;
    if (m_pAdvanced->isChecked()) m_app.m_nRecoveryMode = 2;
    m_app.m_bHeuristic = m_pHeuristic->isChecked() ? 1 : 0;
    accept();
}

}  // namespace kelvara
