#pragma once
#include "base/Result.h"
#include "console/ConsoleView.h"
#include "console/ModeSwitcher.h"
#include "device/SharedState.h"

namespace tavlin {

// The steps every production tool's launcher takes before its window opens: a device must be
// there, it must run its working firmware, it is switched to calibration mode and its versions
// are shown once per connection.
enum class ToolKind { Leveling, Calibration, Firmware };

enum class LaunchReadiness {
    NoDevice,          // string 104 shown
    NeedsUpdate,       // the device runs its update environment: string 148 shown, except for
                       // the firmware tool, which then opens at once (nothing shown)
    ModeSwitchFailed,  // string 136 shown and logged by the mode switch
    Ready,             // calibration mode entered; versions shown (a failed query does not stop)
};

LaunchReadiness PrepareToolLaunch(ToolKind tool, SharedState& state, ConsoleView& view,
                                  ModeSwitcher& modes);

// The readiness as the result of a launch that goes on only when Ready (leveling, calibration).
Result LaunchResult(LaunchReadiness readiness);

}  // namespace tavlin
