#pragma once
#include <QString>
#include <functional>

class QMenu;

namespace tavlin {

// The window's "system menu": a separator, then the about entry. Qt collapses a separator
// that leads a menu, so the menu is told to keep it.
void AddAboutEntry(QMenu& menu, const QString& about, std::function<void()> onAbout);

}  // namespace tavlin
