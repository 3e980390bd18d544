#pragma once
#include "console/ConsoleView.h"
#include "device/SharedState.h"

namespace tavlin {

// The first step of every console button that needs the device: without one the status line
// says so (string 104) and the button does nothing; with one it says detection is complete
// (string 103).
bool CheckDevicePresent(SharedState& state, ConsoleView& view);

}  // namespace tavlin
