#include "console/ModeSwitcher.h"

#include "base/ControlIds.h"
#include "base/Log.h"
#include "base/StringTable.h"
#include "device/CommandThread.h"
#include "device/Requests.h"

namespace tavlin {

uint32_t ModeSwitcher::Switch(uint8_t mode, bool* switched, int* flag) {
    const RequestHandle request = PostRequest(state_, WM_SWITCH_MODE, &mode, sizeof mode);
    const uint32_t result = WaitRequest(request, state_.g_WorkSwitchEvent, INFINITE);
    *flag = result == WAIT_OBJECT_0 ? state_.g_isWorkSwitchSuc.exchange(0)
                                    : static_cast<int>(state_.g_isWorkSwitchSuc);
    *switched = result == WAIT_OBJECT_0 && *flag != 0;
    return result;
}

std::string ModeSwitcher::Toggle(const std::string& caption) {
    if (state_.g_bDevExist == 0) {
        view_.SetStatusText(LoadString(IDS_NO_DEVICE));
        return caption;
    }
    if (state_.g_isFwUpdateMode != 0) {
        view_.SetStatusText(LoadString(IDS_FW_NOT_READY));
        return caption;
    }
    const bool toWork = caption == LoadString(IDS_MODE_WORK);
    bool switched = false;
    int flag = 0;
    const uint32_t result = Switch(toWork ? kWorkMode : kCalibrationMode, &switched, &flag);
    if (!switched) {
        view_.AppendOutputText("Switch work model failed, please try again!\n");
        view_.SetStatusText(LoadString(IDS_SWITCH_FAILED));
        if (toWork) {
            WriteLog("Switch to work mode failed!\nret=%d,g_isWorkSwitchSuc=%d\n,",
                     static_cast<int>(result), flag);
        }
        return caption;
    }
    const std::string next = LoadString(toWork ? IDS_MODE_CALIBRATION : IDS_MODE_WORK);
    view_.SetControlCaption(control::kModeToggle, next);
    view_.SetStatusText(LoadString(toWork ? IDS_NOW_WORK_MODE : IDS_NOW_CALIBRATION_MODE));
    if (!toWork) {
        versions_.ShowVersions(VersionQuery::Caller::Toggle);
    }
    return next;
}

bool ModeSwitcher::EnterCalibrationMode(Launcher launcher) {
    bool switched = false;
    int flag = 0;
    const uint32_t result = Switch(kCalibrationMode, &switched, &flag);
    if (switched) {
        return true;
    }
    view_.SetStatusText(LoadString(IDS_SWITCH_FAILED));
    if (launcher == Launcher::Calibration) {
        WriteLog("Calibration: Switch to work mode failed!\nret=%d,g_isWorkSwitchSuc=%d\n,",
                 static_cast<int>(result), flag);
    } else {
        WriteLog("Switch to work mode failed!\nret=%d,g_isWorkSwitchSuc=%d\n,",
                 static_cast<int>(result), flag);
    }
    return false;
}

bool ModeSwitcher::ReturnToWorkMode() {
    const uint8_t mode = kWorkMode;
    const RequestHandle request = PostRequest(state_, WM_SWITCH_MODE, &mode, sizeof mode);
    const uint32_t result = WaitRequest(request, state_.g_WorkSwitchEvent, INFINITE);
    if (result == WAIT_OBJECT_0) {
        state_.g_isWorkSwitchSuc = 0;
        return true;
    }
    view_.SetStatusText(LoadString(IDS_SWITCH_FAILED));
    WriteLog("Calibration exit:Switch to work mode failed!\nret=%d,g_isWorkSwitchSuc=%d\n,",
             static_cast<int>(result), static_cast<int>(state_.g_isWorkSwitchSuc));
    return false;
}

}  // namespace tavlin
