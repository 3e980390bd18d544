#pragma once
#include <QIcon>

namespace tavlin {

// The application icon: a crosshair target on the device's blue, drawn at start so no binary
// resource has to be shipped.
QIcon AppIcon();

}  // namespace tavlin
