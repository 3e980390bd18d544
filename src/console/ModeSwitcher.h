#pragma once
#include <string>

#include "base/Result.h"
#include "console/ConsoleView.h"
#include "console/VersionQuery.h"
#include "device/SharedState.h"

namespace tavlin {

// Work mode / calibration mode: the toggle button 1065 and the two procedures the tool
// launchers and tool dialogs use. All run on the front end's thread; each wait ends once the
// command thread is done with the request, and at the latest after kRequestWaitLimitMs.
class ModeSwitcher {
  public:
    static constexpr uint8_t kWorkMode = 0x22;
    static constexpr uint8_t kCalibrationMode = 0xFF;

    // Which launcher enters calibration mode: the plain log line, or the "Calibration: " one.
    enum class Launcher { Plain, Calibration };

    ModeSwitcher(SharedState& state, ConsoleView& view)
        : state_(state), view_(view), versions_(state, view) {}

    // Button 1065. The caption names the mode a press switches to; returns the caption after
    // the press (unchanged on refusal or failure) and also hands it to the view. *outcome, if
    // given, receives the result: after a switch to calibration mode the versions are read, and
    // a failed read is the outcome then (the mode did switch: the caption says so).
    std::string Toggle(const std::string& caption, Result* outcome = nullptr);
    // Before a production tool opens. Fails when the device did not switch (string 136 shown,
    // log line written).
    Result EnterCalibrationMode(Launcher launcher);
    // When a tool closes. Only a failed wait shows string 136 and writes the log line; a
    // device that refused the switch closes the tool all the same, but the result says so
    // (the link's code and reason). *accepted, if given, tells whether the device took the mode.
    Result ReturnToWorkMode(bool* accepted = nullptr);

    VersionQuery& versions() { return versions_; }

  private:
    Result ToggleMode(const std::string& caption, std::string* next);
    // Posts the mode switch and waits; the request's outcome. *waitCode and *flag are the
    // wait's code and g_isWorkSwitchSuc as the log lines print them.
    Result Switch(uint8_t mode, uint32_t* waitCode, int* flag);

    SharedState& state_;
    ConsoleView& view_;
    VersionQuery versions_;
};

}  // namespace tavlin
