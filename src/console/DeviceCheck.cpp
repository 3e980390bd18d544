#include "console/DeviceCheck.h"

#include "base/StringTable.h"
#include "device/DeviceDetector.h"

namespace tavlin {

bool CheckDevicePresent(SharedState& state, ConsoleView& view) {
    if (state.g_bDevExist == 0) {
        view.SetStatusText(NoDeviceText(state));
        return false;
    }
    view.SetStatusText(LoadString(IDS_DETECT_DONE));
    return true;
}

Result CheckDeviceWorking(const SharedState& state, ConsoleView& view) {
    if (state.g_bDevExist == 0) {
        view.SetStatusText(NoDeviceText(state));
        if (state.devicePresence == ResultCode::NoAccess) {
            return Result::Fail(ResultCode::NoAccess, "this user may not open the device");
        }
        return Result::Fail(ResultCode::NoDevice, "no device");
    }
    if (state.g_isFwUpdateMode != 0) {
        view.SetStatusText(LoadString(IDS_FW_NOT_READY));
        return Result::Fail(ResultCode::NoDevice, "the device runs its update environment");
    }
    return Result::Ok();
}

}  // namespace tavlin
