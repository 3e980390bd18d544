#include "console/VersionQuery.h"

#include <cstdio>

#include "base/Log.h"
#include "base/StringTable.h"
#include "console/DeviceCheck.h"
#include "device/CommandThread.h"
#include "device/DeviceProtocol.h"
#include "device/Requests.h"

namespace tavlin {
namespace {

constexpr uint32_t kImageVersionAddress = 0x02013000;

}  // namespace

Result VersionQuery::ReadVersions(uint32_t* waitCode) {
    state_.g_SensorSel = kBothSensors;
    const RegReadBlock block{kImageVersionAddress, 0};
    RequestMeaning both;
    both.sensor = kBothSensors;
    const RequestHandle request =
        PostRequest(state_, WM_READ_IMAGE_VERSION, both, &block, sizeof block);
    *waitCode = WaitRequest(request, state_.g_ReadImageVersionEvent, kRequestWaitLimitMs);
    return RequestOutcome(request, *waitCode);
}

void VersionQuery::ShowReadVersions() {
    state_.g_SensorSel = 0;
    state_.g_ReadImageVersionSuc = 0;
    char text[64];
    std::snprintf(text, sizeof text, "IMAGE Version: M--%08x, S--%08x\n",
                  static_cast<unsigned>(state_.g_ImageVersionM),
                  static_cast<unsigned>(state_.g_ImageVersionS));
    view_.SetVersionText(text);
}

Result VersionQuery::ShowVersions(Caller caller) {
    if (state_.g_isVersionsShown != 0) {
        return Result::Ok();
    }
    uint32_t waitCode = 0;
    const Result result = ReadVersions(&waitCode);
    if (result && state_.g_ReadImageVersionSuc != 0) {
        ShowReadVersions();
        state_.g_isVersionsShown = 1;
        return result;
    }
    if (caller == Caller::Toggle) {
        if (waitCode == WAIT_OBJECT_0) {
            view_.SetVersionText(LoadString(IDS_VERSION_FAILED));
        }
        return result;
    }
    view_.SetVersionText(LoadString(IDS_VERSION_FAILED));
    WriteLog("%sGet IMAGE Version Failed!\nret=%d,g_ReadImageVersionSuc=%d\n,",
             caller == Caller::CalibrationLauncher ? "Calibration: " : "",
             static_cast<int>(waitCode), static_cast<int>(state_.g_ReadImageVersionSuc));
    return result;
}

Result VersionQuery::VersionButton() {
    if (Result ready = CheckDeviceWorking(state_, view_); !ready.ok()) {
        return ready;
    }
    uint32_t waitCode = 0;
    const Result result = ReadVersions(&waitCode);
    if (waitCode != WAIT_OBJECT_0) {
        return result;
    }
    if (state_.g_ReadImageVersionSuc != 0) {
        ShowReadVersions();
    } else {
        view_.SetVersionText(LoadString(IDS_VERSION_FAILED));
    }
    return result;
}

}  // namespace tavlin
