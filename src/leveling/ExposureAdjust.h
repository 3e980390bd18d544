#pragma once
#include "base/Result.h"
#include "device/SharedState.h"
#include "leveling/LevelingView.h"

namespace tavlin {

// The exposure button: asks the device to adjust both sensors' exposure and shows the optical
// parameters in each sensor's status text. Every attempt, whatever its outcome, sets
// g_isExposureAdjusted (it is what lets the window close with OK). A press while no preview
// worker runs is not served by the command thread; it then returns at once and leaves the
// worker's last texts in place.
Result AdjustExposure(SharedState& state, LevelingView& view);

}  // namespace tavlin
