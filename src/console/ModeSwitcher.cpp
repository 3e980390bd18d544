#include "console/ModeSwitcher.h"

#include "base/ControlIds.h"
#include "base/Log.h"
#include "base/StringTable.h"
#include "console/DeviceCheck.h"
#include "device/CommandThread.h"
#include "device/Requests.h"

namespace tavlin {
namespace {

Result WaitFor(const RequestHandle& request, Event& done, uint32_t* waitCode) {
    *waitCode = WaitRequest(request, done, kRequestWaitLimitMs);
    return RequestOutcome(request, *waitCode);
}

}  // namespace

Result ModeSwitcher::Switch(uint8_t mode, uint32_t* waitCode, int* flag) {
    const RequestHandle request = PostRequest(state_, WM_SWITCH_MODE, &mode, sizeof mode);
    Result result = WaitFor(request, state_.g_WorkSwitchEvent, waitCode);
    *flag = *waitCode == WAIT_OBJECT_0 ? state_.g_isWorkSwitchSuc.exchange(0)
                                       : static_cast<int>(state_.g_isWorkSwitchSuc);
    if (result && *flag == 0) {
        result = Result::Fail(ResultCode::Refused, "the device did not switch its mode");
    }
    return result;
}

std::string ModeSwitcher::Toggle(const std::string& caption, Result* outcome) {
    std::string next = caption;
    Result result = ToggleMode(caption, &next);
    if (outcome != nullptr) {
        *outcome = std::move(result);
    }
    return next;
}

Result ModeSwitcher::ToggleMode(const std::string& caption, std::string* next) {
    if (Result ready = CheckDeviceWorking(state_, view_); !ready.ok()) {
        return ready;
    }
    const bool toWork = caption == LoadString(IDS_MODE_WORK);
    uint32_t waitCode = 0;
    int flag = 0;
    const Result switched = Switch(toWork ? kWorkMode : kCalibrationMode, &waitCode, &flag);
    if (!switched) {
        view_.AppendOutputText("Switch work model failed, please try again!\n");
        view_.SetStatusText(LoadString(IDS_SWITCH_FAILED));
        if (toWork) {
            WriteLog("Switch to work mode failed!\nret=%d,g_isWorkSwitchSuc=%d\n,",
                     static_cast<int>(waitCode), flag);
        }
        return switched;
    }
    *next = LoadString(toWork ? IDS_MODE_CALIBRATION : IDS_MODE_WORK);
    view_.SetControlCaption(control::kModeToggle, *next);
    view_.SetStatusText(LoadString(toWork ? IDS_NOW_WORK_MODE : IDS_NOW_CALIBRATION_MODE));
    if (!toWork) {
        return versions_.ShowVersions(VersionQuery::Caller::Toggle);
    }
    return Result::Ok();
}

Result ModeSwitcher::EnterCalibrationMode(Launcher launcher) {
    uint32_t waitCode = 0;
    int flag = 0;
    const Result switched = Switch(kCalibrationMode, &waitCode, &flag);
    if (switched) {
        return switched;
    }
    view_.SetStatusText(LoadString(IDS_SWITCH_FAILED));
    WriteLog("%sSwitch to work mode failed!\nret=%d,g_isWorkSwitchSuc=%d\n,",
             launcher == Launcher::Calibration ? "Calibration: " : "", static_cast<int>(waitCode),
             flag);
    return switched;
}

Result ModeSwitcher::ReturnToWorkMode(bool* accepted) {
    uint32_t waitCode = 0;
    int flag = 0;
    const Result result = Switch(kWorkMode, &waitCode, &flag);
    if (accepted != nullptr) {
        *accepted = result.ok();
    }
    // Only a wait that failed is shown and logged: the tool closes whatever the device said.
    // The result still tells a refusal apart from a switch.
    if (waitCode != WAIT_OBJECT_0) {
        view_.SetStatusText(LoadString(IDS_SWITCH_FAILED));
        WriteLog("Calibration exit:Switch to work mode failed!\nret=%d,g_isWorkSwitchSuc=%d\n,",
                 static_cast<int>(waitCode), flag);
    }
    return result;
}

}  // namespace tavlin
