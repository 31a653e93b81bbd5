#pragma once
// The status bar: a link and a separator in its main area, the title pane on the right; a job
// adds its own elements to the main area while it runs. It has no context menu.
#include <QMap>
#include <QStatusBar>

namespace kelvara {

class CMyRibbonStatusBar : public QStatusBar {
    Q_OBJECT
public:
    explicit CMyRibbonStatusBar(QWidget* parent = nullptr);

    // A link element showing `label`; a click triggers command `id`.
    void AddLink(int id, const QString& label, const QString& target);
    QWidget* AddSeparator();
    void RemoveSeparator(QWidget* separator);
    void AddElement(int id, QWidget* element);
    // Removes the element (and deletes it); false when there is none with that id.
    bool RemoveElement(int id);
    void AddExtendedPane(int id, const QString& text);

    QWidget* GetElement(int id) const { return m_elements.value(id); }
    // Main-area elements left to right; separators are included as widgets without an id.
    QList<QWidget*> GetMainElements() const { return m_mainElements; }

signals:
    void CommandTriggered(int id);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    QMap<int, QWidget*> m_elements;
    QList<QWidget*> m_mainElements;
};

}  // namespace kelvara
