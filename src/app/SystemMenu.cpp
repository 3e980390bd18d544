#include "app/SystemMenu.h"

#include <QMenu>

namespace tavlin {

void AddAboutEntry(QMenu& menu, const QString& about, std::function<void()> onAbout) {
    menu.setSeparatorsCollapsible(false);
    menu.addSeparator();
    menu.addAction(about, &menu, std::move(onAbout));
}

}  // namespace tavlin
