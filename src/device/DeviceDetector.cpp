#include "device/DeviceDetector.h"

#include "base/Log.h"
#include "base/StringTable.h"
#include "base/Unexpected.h"

namespace tavlin {

std::string NoDeviceText(const SharedState& state) {
    return LoadString(state.devicePresence == ResultCode::NoAccess ? IDS_NO_ACCESS_HERE
                                                                   : IDS_NO_DEVICE);
}

void DeviceDetectThread(SharedState& state, HidDevice& device, PresenceView& view) {
    uint16_t productId = 0;
    Result found;
    const int result = OpenHidDevice(device, &productId, &found);
    state.devicePresence = found.code();
    const bool firmwareWindow = state.g_isFwDlgOpen != 0;
    if (result == 0) {
        state.g_bDevExist = 0;
        const std::string text = NoDeviceText(state);
        if (found.code() == ResultCode::NoAccess) {
            view.SetNoAccessStatus(text);
        } else {
            view.SetStatusText(text);
        }
        view.SetVersionText("");
        state.g_isVersionsShown = 0;
        if (firmwareWindow) {
            view.SetFirmwareStatusText(text);
        }
        WriteLog("Open hid device failed!\n");
        return;
    }
    state.deviceProductId = productId;
    const bool updateEnvironment = productId == kProductIdUpdate;
    if (result == 1) {
        ++state.deviceOpenings;
        state.g_bDevExist = 1;
        WriteLog("Open hid device success!\n");
        // A freshly found device is taken to be in work mode.
        view.SetModeToggleCaption(LoadString(IDS_MODE_CALIBRATION));
        state.g_isFwUpdateMode = updateEnvironment ? 1 : 0;
        view.SetStatusText(LoadString(updateEnvironment ? IDS_FW_NOT_READY : IDS_DETECT_DONE));
        if (firmwareWindow) {
            view.SetFirmwareStatusText(
                LoadString(updateEnvironment ? IDS_FW_ENV_READY : IDS_FW_ENV_FAILED));
        }
        return;
    }
    view.SetStatusText(LoadString(updateEnvironment ? IDS_FW_NOT_READY : IDS_DETECT_DONE));
    WriteLog("No hid device changed!\n");
}

DeviceDetector::DeviceDetector(SharedState& state, HidDevice& device, PresenceView& view)
    : state_(state), device_(device), view_(view) {}

DeviceDetector::~DeviceDetector() {
    WaitIdle();
}

bool DeviceDetector::StartDetect() {
    return TryStart(false);
}

bool DeviceDetector::OnDeviceChange() {
    return TryStart(true);
}

bool DeviceDetector::TryStart(bool notification) {
    std::lock_guard threadLock(threadMutex_);
    {
        std::lock_guard runLock(runMutex_);
        void* idle = nullptr;
        if (!state_.g_DetectThread.compare_exchange_strong(idle, this)) {
            again_ = again_ || notification;
            return false;
        }
        again_ = false;
    }
    if (notification) {
        view_.SetStatusText(LoadString(IDS_DETECTING));
    }
    // The previous detection cleared the handle as its last act; it is at most returning.
    if (thread_.joinable()) {
        thread_.join();
    }
    thread_ = std::thread([this] { RunGuarded([this] { Run(); }); });
    return true;
}

void DeviceDetector::Run() {
    for (;;) {
        DeviceDetectThread(state_, device_, view_);
        std::lock_guard runLock(runMutex_);
        if (!again_) {
            state_.g_DetectThread = nullptr;
            return;
        }
        again_ = false;
    }
}

void DeviceDetector::WaitIdle() {
    std::lock_guard threadLock(threadMutex_);
    if (thread_.joinable()) {
        thread_.join();
    }
}

}  // namespace tavlin
