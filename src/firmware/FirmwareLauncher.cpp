#include "firmware/FirmwareLauncher.h"

#include "base/StringTable.h"
#include "console/ToolLauncher.h"
#include "firmware/FirmwareRequests.h"

namespace tavlin {

FirmwareLaunch PrepareFirmwareLaunch(SharedState& state, ConsoleView& view, ModeSwitcher& modes) {
    switch (PrepareToolLaunch(ToolKind::Firmware, state, view, modes)) {
        case LaunchReadiness::NoDevice:
            return FirmwareLaunch::NoDevice;
        case LaunchReadiness::ModeSwitchFailed:
            return FirmwareLaunch::Refused;
        case LaunchReadiness::NeedsUpdate:
            state.g_isFwDlgOpen = 1;
            return FirmwareLaunch::AlreadyReady;
        case LaunchReadiness::Ready:
            break;
    }
    // A wait that ends unanswered still opens the window: the re-enumeration, or its absence,
    // decides from there.
    const Result entered = SendUpdateControl(state, kEnterUpdateEnvironment, INFINITE);
    if (entered.code() == ResultCode::Refused) {
        view.SetStatusText(LoadString(IDS_SWITCH_FAILED));
        return FirmwareLaunch::Refused;
    }
    state.g_isFwDlgOpen = 1;
    return FirmwareLaunch::Reenumerating;
}

}  // namespace tavlin
