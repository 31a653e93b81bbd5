#pragma once
// A list of icons of one size, addressed by index, as tree and list controls use them.
#include <QIcon>
#include <QList>
#include <QSize>

namespace kelvara {

class CImageList {
public:
    explicit CImageList(QSize size) : m_size(size) {}

    int Add(const QIcon& icon) {
        m_icons << icon;
        return static_cast<int>(m_icons.size()) - 1;
    }
    // A null icon for an index outside the list.
    QIcon Icon(int index) const {
        return index >= 0 && index < m_icons.size() ? m_icons.at(index) : QIcon();
    }
    int Count() const { return static_cast<int>(m_icons.size()); }
    QSize IconSize() const { return m_size; }

private:
    QSize m_size;
    QList<QIcon> m_icons;
};

}  // namespace kelvara
