#pragma once
#include "base/Result.h"
#include "console/ConsoleView.h"
#include "device/SharedState.h"

namespace tavlin {

// The first step of every console button that needs the device: without one the status line
// says so (string 104) and the button does nothing; with one it says detection is complete
// (string 103).
bool CheckDevicePresent(SharedState& state, ConsoleView& view);

// The first step of the buttons that talk to the working firmware (mode switch, versions):
// without a device, or with one in its update environment, the status line says which and the
// result fails; otherwise nothing is shown.
Result CheckDeviceWorking(const SharedState& state, ConsoleView& view);

}  // namespace tavlin
