#include "leveling/LevelingClose.h"

#include "base/Log.h"
#include "base/StringTable.h"
#include "console/PreviewStopper.h"
#include "device/CommandThread.h"

namespace tavlin {

bool MayLeaveWithOk(SharedState& state, LevelingView& view) {
    if (state.g_isExposureAdjusted != 0 || state.g_isDeviceCommunicate == 0) {
        return true;
    }
    view.SetStatus(kMaster, LoadString(IDS_ADJUST_EXPOSURE_FIRST));
    view.SetStatus(kSlave, LoadString(IDS_ADJUST_EXPOSURE_FIRST));
    return false;
}

void StopPreviewForClose(SharedState& state) {
    if (state.g_PreviewThread == nullptr) {
        return;  // a stop left on its event is cleared by the next worker's start
    }
    state.g_isMidwayExit = 1;
    state.g_PreviewStopEvent.Set();
    if (!WaitPreviewWorkerGone(state, kRequestWaitLimitMs)) {
        WriteLog("A worker did not stop within %u ms\n", kRequestWaitLimitMs);
    }
}

Result SwitchModeOnClose(SharedState& state, ConsoleView& mainWindow, bool ok) {
    const uint8_t mode = ok ? 0xEE : 0x22;
    const uint32_t ret = WaitRequest(PostRequest(state, WM_SWITCH_MODE, &mode, sizeof mode),
                                     state.g_WorkSwitchEvent, INFINITE);
    if (ret == WAIT_OBJECT_0) {
        // Only the wait decides here, as for every tool's exit; the flag is taken so the next
        // reader does not find it.
        const int switched = state.g_isWorkSwitchSuc.exchange(0);
        return switched != 0 ? Result::Ok()
                             : Result::Fail(ResultCode::Refused, "the device refused the mode");
    }
    mainWindow.SetStatusText(LoadString(IDS_SWITCH_FAILED));
    WriteLog("Calibration exit:Switch to work mode failed!\nret=%d,g_isWorkSwitchSuc=%d\n,",
             static_cast<int>(ret), state.g_isWorkSwitchSuc.load());
    return Result::Fail(ResultCode::Timeout, "the mode switch was not answered");
}

}  // namespace tavlin
