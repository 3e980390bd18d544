#include "console/ToolLauncher.h"

#include "base/StringTable.h"
#include "device/DeviceDetector.h"

namespace tavlin {

LaunchReadiness PrepareToolLaunch(ToolKind tool, SharedState& state, ConsoleView& view,
                                  ModeSwitcher& modes) {
    if (state.g_bDevExist == 0) {
        view.SetStatusText(NoDeviceText(state));
        return LaunchReadiness::NoDevice;
    }
    if (state.g_isFwUpdateMode != 0) {
        if (tool != ToolKind::Firmware) {
            view.SetStatusText(LoadString(IDS_FW_NOT_READY));
        }
        return LaunchReadiness::NeedsUpdate;
    }
    const bool calibration = tool == ToolKind::Calibration;
    if (!modes.EnterCalibrationMode(calibration ? ModeSwitcher::Launcher::Calibration
                                                : ModeSwitcher::Launcher::Plain)) {
        return LaunchReadiness::ModeSwitchFailed;
    }
    // A failed version query is shown and logged, and does not stop the tool.
    static_cast<void>(modes.versions().ShowVersions(
        calibration ? VersionQuery::Caller::CalibrationLauncher : VersionQuery::Caller::Launcher));
    return LaunchReadiness::Ready;
}

Result LaunchResult(LaunchReadiness readiness) {
    switch (readiness) {
        case LaunchReadiness::Ready:
            return Result::Ok();
        case LaunchReadiness::NoDevice:
            return Result::Fail(ResultCode::NoDevice, "no device");
        case LaunchReadiness::NeedsUpdate:
            return Result::Fail(ResultCode::Failed, "the device runs its update environment");
        case LaunchReadiness::ModeSwitchFailed:
            break;
    }
    return Result::Fail(ResultCode::Failed, "the device did not enter calibration mode");
}

}  // namespace tavlin
