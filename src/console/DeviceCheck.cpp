#include "console/DeviceCheck.h"

#include "base/StringTable.h"

namespace tavlin {

bool CheckDevicePresent(SharedState& state, ConsoleView& view) {
    if (state.g_bDevExist == 0) {
        view.SetStatusText(LoadString(IDS_NO_DEVICE));
        return false;
    }
    view.SetStatusText(LoadString(IDS_DETECT_DONE));
    return true;
}

Result CheckDeviceWorking(const SharedState& state, ConsoleView& view) {
    if (state.g_bDevExist == 0) {
        view.SetStatusText(LoadString(IDS_NO_DEVICE));
        return Result::Fail(ResultCode::NoDevice, "no device");
    }
    if (state.g_isFwUpdateMode != 0) {
        view.SetStatusText(LoadString(IDS_FW_NOT_READY));
        return Result::Fail(ResultCode::NoDevice, "the device runs its update environment");
    }
    return Result::Ok();
}

}  // namespace tavlin
