// Device presence for the main window: the first detection at start, and a detection for every
// device arrival or removal the system reports (udev on Linux, device notices on a
// message-only window on Windows) or, under --simulate, every attach or detach of the simulated device.
#include <QPushButton>

#include "app/CTavlinDlg.h"
#include "app/PresenceBridge.h"
#include "console/FpgaDownload.h"
#include "console/ModeSwitcher.h"
#include "console/RegisterPanel.h"
#include "console/ScriptRunner.h"
#include "device/DeviceChangeWatch.h"
#include "device/DeviceDetector.h"
#include "sim/SimPresenceAdapter.h"
#include "ui/ControlLookup.h"

namespace tavlin {

void CTavlinDlg::CreateConsole() {
    registerPanel_ = std::make_unique<RegisterPanel>(state_, *bridge_);
    fpgaDownload_ = std::make_unique<FpgaDownload>(state_, *bridge_);
    scriptRunner_ = std::make_unique<ScriptRunner>(state_, *bridge_);
    modeControl_ = std::make_unique<ModeSwitcher>(state_, *bridge_);
}

void CTavlinDlg::RegisterForDeviceNotifications() {
    presenceBridge_ = std::make_unique<PresenceBridge>(*bridge_);
    detector_ = std::make_unique<DeviceDetector>(state_, device_, *presenceBridge_);
    // The notices come on the watch's own thread: the detection starts on the UI thread.
    auto onChange = [bridge = bridge_.get()] {
        bridge->Queue([](CTavlinDlg& d) { d.OnDeviceChange(); });
    };
    // A replayed session announces its own device's comings and goings.
    deviceWatch_ = device_.transport().WatchPresence(onChange);
    if (deviceWatch_ != nullptr) {
        // nothing more to watch
    } else if (options_.sim != nullptr) {
        deviceWatch_ = std::make_unique<SimPresenceAdapter>(*options_.sim, std::move(onChange));
    } else if (options_.watchDevices) {
        deviceWatch_ = WatchDeviceChanges(std::move(onChange));
    }
}

void CTavlinDlg::StartDetect() {
    if (detector_) {
        detector_->StartDetect();
    }
}

void CTavlinDlg::OnDeviceChange() {
    if (detector_ && !shutDown_) {
        detector_->OnDeviceChange();
    }
}

void CTavlinDlg::SetFirmwareStatusText(const std::string& text) {
    if (firmwareStatusSink_) {
        firmwareStatusSink_(text);
    }
}

void CTavlinDlg::StopPresence() {
    deviceWatch_.reset();
    if (detector_) {
        detector_->WaitIdle();
    }
}

}  // namespace tavlin
