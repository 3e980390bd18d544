#pragma once
#include <chrono>
#include <memory>
#include <optional>

#include "app/CTavlinDlg.h"
#include "device/HidDevice.h"
#include "device/SharedState.h"
#include "sim/SimTransport.h"

namespace tavlin::testing {

struct SimulatedWindowOptions {
    bool attached = true;
    uint16_t productId = kProductIdWork;  // kProductIdUpdate: found in its update environment
    bool engineering = false;
    bool checkCalibration = false;  // the calibration check opens once the window runs
    CheckOptions check{};
    // How long the simulated device stays away when it re-enumerates; its own default if unset.
    std::chrono::milliseconds reenumeration{-1};
    // The runs' records; none kept without them.
    std::optional<WindowRecordOptions> records = std::nullopt;
};

// The main window as the window tests run it: on its own simulated device with a short transfer
// time-out, shown, and torn down in the order the program tears it down.
class SimulatedMainWindow {
  protected:
    std::unique_ptr<SharedState> state_;
    std::unique_ptr<sim::SimTransport> sim_;
    std::unique_ptr<HidDevice> device_;
    std::unique_ptr<CTavlinDlg> window_;

    void OpenWindow(bool attached, bool engineering) {
        SimulatedWindowOptions how;
        how.attached = attached;
        how.engineering = engineering;
        OpenWindow(how);
    }
    void OpenWindow(const SimulatedWindowOptions& how) {
        state_ = std::make_unique<SharedState>();
        sim::SimTransport::Options options;
        options.attached = how.attached;
        options.productId = how.productId;
        sim_ = std::make_unique<sim::SimTransport>(options);
        sim_->recorder().SetEnabled(true);
        if (how.reenumeration.count() >= 0) {
            sim_->setReenumerationDelay(how.reenumeration);
        }
        device_ = std::make_unique<HidDevice>(*sim_);
        device_->setTimeoutMs(100);
        MainWindowOptions windowOptions;
        windowOptions.engineering = how.engineering;
        windowOptions.checkCalibration = how.checkCalibration;
        windowOptions.check = how.check;
        windowOptions.records = how.records;
        window_ = std::make_unique<CTavlinDlg>(*state_, *device_, windowOptions);
        window_->show();
    }
    void CloseWindow() {
        window_.reset();
        device_.reset();
        sim_.reset();
        state_.reset();
    }
};

}  // namespace tavlin::testing
