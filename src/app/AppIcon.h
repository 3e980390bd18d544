#pragma once
#include <QIcon>

namespace tavlin {

// The application icon: a crosshair over an image sensor chip, in every size the package
// installs.
QIcon AppIcon();

}  // namespace tavlin
