#pragma once
// Control ids on widgets, so a dialog or frame can find its controls by the ids they are known by.
#include <QWidget>

namespace kelvara {

inline constexpr const char* kControlIdProperty = "kelvaraControlId";

inline void SetControlId(QWidget* widget, int id) {
    widget->setProperty(kControlIdProperty, id);
}

inline int GetControlId(const QWidget* widget) {
    const QVariant id = widget->property(kControlIdProperty);
    return id.isValid() ? id.toInt() : 0;
}

// The first descendant of `parent` of type T with that id, or null.
template <typename T = QWidget>
T* FindControl(const QWidget* parent, int id) {
    for (T* widget : parent->findChildren<T*>()) {
        if (GetControlId(widget) == id) return widget;
    }
    return nullptr;
}

}  // namespace kelvara
