#include "app/AppIcon.h"

namespace tavlin {

QIcon AppIcon() {
    // The icon the package installs into the hicolor theme (res/icons), built into the program
    // so the window shows it wherever the program runs from.
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        icon.addFile(QStringLiteral(":/icons/tavlin-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

}  // namespace tavlin
