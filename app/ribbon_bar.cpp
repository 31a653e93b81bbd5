#include "app/ribbon_bar.h"

#include <QContextMenuEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QToolButton>
#include <QVBoxLayout>

namespace kelvara {

CVexloMFCRibboBarCls::CVexloMFCRibboBarCls(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ribbonBar"));
    setAttribute(Qt::WA_StyledBackground);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* top = new QWidget(this);
    top->setObjectName(QStringLiteral("ribbonTop"));
    top->setAttribute(Qt::WA_StyledBackground);
    auto* topRow = new QHBoxLayout(top);
    topRow->setContentsMargins(4, 2, 4, 0);
    topRow->setSpacing(10);
    m_pAppButton = new QToolButton(top);
    m_pAppButton->setObjectName(QStringLiteral("ribbonAppButton"));
    m_pAppButton->setIconSize(QSize(42, 42));
    m_pAppButton->setFixedSize(46, 46);
    m_pAppButton->setAutoRaise(true);
    m_pAppButton->setFocusPolicy(Qt::NoFocus);
    topRow->addWidget(m_pAppButton, 0, Qt::AlignVCenter);
    m_pCategoryTab = new QLabel(top);
    m_pCategoryTab->setObjectName(QStringLiteral("ribbonCategoryTab"));
    topRow->addWidget(m_pCategoryTab, 0, Qt::AlignBottom);
    topRow->addStretch(1);
    layout->addWidget(top);

    auto* panels = new QWidget(this);
    m_pPanelRow = new QHBoxLayout(panels);
    m_pPanelRow->setContentsMargins(4, 4, 4, 4);
    m_pPanelRow->setSpacing(4);
    m_pPanelRow->addStretch(1);
    layout->addWidget(panels);
}

void CVexloMFCRibboBarCls::SetApplicationButton(const QIcon& icon, const QString& tooltip,
                                                const QString& keyTip) {
    m_pAppButton->setIcon(icon);
    m_pAppButton->setToolTip(tooltip);
    // No visible text; the key tip stands as its shortcut. No menu is attached.
    if (!keyTip.isEmpty()) m_pAppButton->setShortcut(QKeySequence(QStringLiteral("Alt+") + keyTip));
}

void CVexloMFCRibboBarCls::SetCategory(const QString& name, const CImageList& smallImages,
                                       const CImageList& largeImages) {
    m_strCategory = name;
    m_pCategoryTab->setText(name);
    m_smallImages = smallImages;
    m_largeImages = largeImages;
}

int CVexloMFCRibboBarCls::AddPanel(const QString& name, int panelImage) {
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("ribbonPanel"));
    panel->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(2, 2, 2, 0);
    column->setSpacing(2);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(2);
    column->addLayout(buttons, 1);
    auto* caption = new QLabel(name, panel);
    caption->setObjectName(QStringLiteral("ribbonPanelCaption"));
    caption->setAlignment(Qt::AlignCenter);
    column->addWidget(caption);
    // The panel image is what a collapsed panel would show; keep it with the panel.
    panel->setWindowIcon(m_panelImages.Icon(panelImage));
    m_pPanelRow->insertWidget(m_pPanelRow->count() - 1, panel);

    m_panels.append(RibbonPanelInfo{name, panelImage, {}});
    m_panelButtonRows.append(buttons);
    return static_cast<int>(m_panels.size()) - 1;
}

QToolButton* CVexloMFCRibboBarCls::AddButton(int panel, const RibbonButtonInfo& info) {
    if (panel < 0 || panel >= m_panels.size()) return nullptr;
    QHBoxLayout* row = m_panelButtonRows.at(panel);
    auto* button = new QToolButton(row->parentWidget());
    button->setObjectName(QStringLiteral("ribbonButton%1").arg(info.id));
    button->setText(info.label);
    button->setToolTip(info.tooltip);
    QIcon icon = m_largeImages.Icon(info.image);
    for (const QSize& size : m_smallImages.Icon(info.image).availableSizes()) {
        icon.addPixmap(m_smallImages.Icon(info.image).pixmap(size));
    }
    button->setIcon(icon);
    button->setIconSize(m_largeImages.IconSize());
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setAutoRaise(true);
    button->setMinimumWidth(52);
    // Buttons keep their size; the frame cannot be made narrower than the ribbon.
    button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    button->setFocusPolicy(Qt::NoFocus);
    row->addWidget(button);
    const int id = info.id;
    connect(button, &QToolButton::clicked, this, [this, id] { emit CommandTriggered(id); });
    m_panels[panel].buttons.append(info);
    m_buttons.insert(id, button);
    return button;
}

void CVexloMFCRibboBarCls::SetCommandEnabled(int id, bool enabled) {
    if (QToolButton* button = m_buttons.value(id)) {
        if (button->isEnabled() != enabled) button->setEnabled(enabled);
    }
}

bool CVexloMFCRibboBarCls::IsCommandEnabled(int id) const {
    QToolButton* button = m_buttons.value(id);
    return button && button->isEnabled();
}

void CVexloMFCRibboBarCls::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

void CVexloMFCRibboBarCls::contextMenuEvent(QContextMenuEvent* event) {
    // Also swallows what the buttons pass up, so the frame's menu never shows either.
    event->accept();
}

}  // namespace kelvara
