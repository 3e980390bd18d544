#pragma once
#include <QWidget>

namespace tavlin {

// Every control carries its resource id as the dynamic property "controlId", so tests and the
// dialog itself find controls by the ids the rest of the program speaks of.
inline constexpr const char* kControlIdProperty = "controlId";

inline void SetControlId(QWidget* widget, int id) {
    widget->setProperty(kControlIdProperty, id);
}

template <typename T = QWidget>
T* findControl(const QWidget* parent, int id) {
    for (T* child : parent->findChildren<T*>()) {
        const QVariant v = child->property(kControlIdProperty);
        if (v.isValid() && v.toInt() == id) {
            return child;
        }
    }
    return nullptr;
}

}  // namespace tavlin
