#pragma once
#include "console/ConsoleView.h"
#include "console/ModeSwitcher.h"
#include "device/SharedState.h"

namespace tavlin {

enum class FirmwareLaunch {
    NoDevice,       // string 104 shown
    Refused,        // the mode switch or the update control failed: string 136 shown
    AlreadyReady,   // the device already runs its update environment: open at once
    Reenumerating,  // the device was asked to restart in its update environment
};

// The firmware launcher's steps before its window opens (button 1027 and tavlin-cli update):
// the production tools' preamble, then update control 0x42. Sets g_isFwDlgOpen when the window
// is to open. Runs on the front end's thread; its waits end once the command thread is done.
FirmwareLaunch PrepareFirmwareLaunch(SharedState& state, ConsoleView& view, ModeSwitcher& modes);

}  // namespace tavlin
