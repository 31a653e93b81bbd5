#pragma once
// The ribbon: the application button, one category tab, and panels of large buttons with their
// labels under them. It has no context menu anywhere.
#include <QIcon>
#include <QList>
#include <QMap>
#include <QWidget>

#include "platform/image_list.h"

class QHBoxLayout;
class QLabel;
class QToolButton;

namespace kelvara {

struct RibbonButtonInfo {
    int id = 0;
    QString label;
    int image = -1;
    QString tooltip;
};

struct RibbonPanelInfo {
    QString name;
    int image = -1;
    QList<RibbonButtonInfo> buttons;
};

class CVexloMFCRibboBarCls : public QWidget {
    Q_OBJECT
public:
    explicit CVexloMFCRibboBarCls(QWidget* parent = nullptr);

    void SetApplicationButton(const QIcon& icon, const QString& tooltip, const QString& keyTip);
    QToolButton* GetApplicationButton() const { return m_pAppButton; }

    // The one category, with its 16- and 32-pixel button images.
    void SetCategory(const QString& name, const CImageList& smallImages,
                     const CImageList& largeImages);
    void SetPanelImages(const CImageList& images) { m_panelImages = images; }
    // Returns the panel's index.
    int AddPanel(const QString& name, int panelImage);
    QToolButton* AddButton(int panel, const RibbonButtonInfo& button);

    QString GetCategoryName() const { return m_strCategory; }
    QList<RibbonPanelInfo> GetPanels() const { return m_panels; }
    QToolButton* FindButton(int id) const { return m_buttons.value(id); }
    void SetCommandEnabled(int id, bool enabled);
    bool IsCommandEnabled(int id) const;

signals:
    void CommandTriggered(int id);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    QToolButton* m_pAppButton = nullptr;
    QLabel* m_pCategoryTab = nullptr;
    QHBoxLayout* m_pPanelRow = nullptr;
    QString m_strCategory;
    CImageList m_smallImages{QSize(16, 16)};
    CImageList m_largeImages{QSize(32, 32)};
    CImageList m_panelImages{QSize(16, 16)};
    QList<RibbonPanelInfo> m_panels;
    QList<QHBoxLayout*> m_panelButtonRows;
    QMap<int, QToolButton*> m_buttons;
};

}  // namespace kelvara
