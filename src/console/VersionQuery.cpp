#include "console/VersionQuery.h"

#include <cstdio>

#include "base/Log.h"
#include "base/StringTable.h"
#include "device/CommandThread.h"
#include "device/Requests.h"

namespace tavlin {
namespace {

constexpr uint32_t kImageVersionAddress = 0x02013000;
constexpr int kBothSensors = 3;

}  // namespace

uint32_t VersionQuery::ReadVersions() {
    state_.g_SensorSel = kBothSensors;
    const RegReadBlock block{kImageVersionAddress, 0};
    const RequestHandle request = PostRequest(state_, WM_READ_IMAGE_VERSION, &block, sizeof block);
    return WaitRequest(request, state_.g_ReadImageVersionEvent, INFINITE);
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

void VersionQuery::ShowVersions(Caller caller) {
    if (state_.g_isVersionsShown != 0) {
        return;
    }
    const uint32_t result = ReadVersions();
    if (result == WAIT_OBJECT_0 && state_.g_ReadImageVersionSuc != 0) {
        ShowReadVersions();
        state_.g_isVersionsShown = 1;
        return;
    }
    if (caller == Caller::Toggle) {
        if (result == WAIT_OBJECT_0) {
            view_.SetVersionText(LoadString(IDS_VERSION_FAILED));
        }
        return;
    }
    view_.SetVersionText(LoadString(IDS_VERSION_FAILED));
    const int flag = state_.g_ReadImageVersionSuc;
    if (caller == Caller::CalibrationLauncher) {
        WriteLog("Calibration: Get IMAGE Version Failed!\nret=%d,g_ReadImageVersionSuc=%d\n,",
                 static_cast<int>(result), flag);
    } else {
        WriteLog("Get IMAGE Version Failed!\nret=%d,g_ReadImageVersionSuc=%d\n,",
                 static_cast<int>(result), flag);
    }
}

void VersionQuery::VersionButton() {
    if (state_.g_bDevExist == 0) {
        view_.SetStatusText(LoadString(IDS_NO_DEVICE));
        return;
    }
    if (state_.g_isFwUpdateMode != 0) {
        view_.SetStatusText(LoadString(IDS_FW_NOT_READY));
        return;
    }
    if (ReadVersions() != WAIT_OBJECT_0) {
        return;
    }
    if (state_.g_ReadImageVersionSuc != 0) {
        ShowReadVersions();
    } else {
        view_.SetVersionText(LoadString(IDS_VERSION_FAILED));
    }
}

}  // namespace tavlin
