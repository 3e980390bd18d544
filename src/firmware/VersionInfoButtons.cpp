#include "firmware/VersionInfoButtons.h"

#include "base/StringTable.h"
#include "device/DeviceDetector.h"
#include "firmware/FirmwareRequests.h"
#include "firmware/VersionInfoRecord.h"

namespace tavlin {

bool VersionInfoButtons::Press(int controlId, uint32_t waitMs) {
    if (controlId < kReadImageVersion || controlId > kWriteVersionInfo) {
        return false;
    }
    auto status = [this](const std::string& text) {
        if (state_.g_isFwDlgClosing == 0) {
            view_.SetFirmwareStatus(text);
        }
    };
    if (state_.g_bDevExist == 0) {
        status(NoDeviceText(state_));
        return true;
    }
    // The buttons do not choose the side: outside an update the selection is the Master.
    const int sensor = state_.g_SensorSel;
    Result result;
    switch (controlId) {
        case kReadImageVersion:
            result = ReadImageVersion(state_, sensor, waitMs);
            break;
        case kWriteImageVersion:
            result = WriteImageVersion(state_, sensor, kFixedImageVersion, waitMs);
            break;
        case kReadVersionInfo:
            result = ReadVersionInfo(state_, sensor, waitMs);
            break;
        default:
            result = WriteVersionInfo(state_, sensor, FixedVersionInfoRecord(), waitMs);
            break;
    }
    // The device's own answer is not judged here; only a request left unanswered is.
    if (result.code() == ResultCode::Timeout) {
        status(LoadString(IDS_SWITCH_FAILED));
    }
    return true;
}

}  // namespace tavlin
