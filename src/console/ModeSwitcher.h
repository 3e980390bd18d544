#pragma once
#include <string>

#include "console/ConsoleView.h"
#include "console/VersionQuery.h"
#include "device/SharedState.h"

namespace tavlin {

// Work mode / calibration mode: the toggle button 1065 and the two procedures the tool
// launchers and tool dialogs use. All run on the front end's thread; their waits end once the
// command thread is done with the request (see VersionQuery).
class ModeSwitcher {
  public:
    static constexpr uint8_t kWorkMode = 0x22;
    static constexpr uint8_t kCalibrationMode = 0xFF;

    // Which launcher enters calibration mode: the plain log line, or the "Calibration: " one.
    enum class Launcher { Plain, Calibration };

    ModeSwitcher(SharedState& state, ConsoleView& view)
        : state_(state), view_(view), versions_(state, view) {}

    // Button 1065. The caption names the mode a press switches to; returns the caption after
    // the press (unchanged on refusal or failure) and also hands it to the view.
    std::string Toggle(const std::string& caption);
    // Before a production tool opens. False when the device did not switch (string 136 shown,
    // log line written).
    bool EnterCalibrationMode(Launcher launcher);
    // When a tool closes. Only the wait decides (the device's answer does not).
    bool ReturnToWorkMode();

    VersionQuery& versions() { return versions_; }

  private:
    // Posts the mode switch and waits; the wait's result, *switched = wait ok and flag set.
    uint32_t Switch(uint8_t mode, bool* switched, int* flag);

    SharedState& state_;
    ConsoleView& view_;
    VersionQuery versions_;
};

}  // namespace tavlin
