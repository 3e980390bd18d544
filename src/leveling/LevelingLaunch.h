#pragma once
#include "base/Result.h"
#include "console/ConsoleView.h"
#include "console/ModeSwitcher.h"
#include "device/SharedState.h"

namespace tavlin {

// What the leveling button does before its window opens: the production tools' preamble
// (device present, working firmware, calibration mode, versions) and, first, the preview
// images the window shows, without which it does not open. Ok when the window may open;
// NoDevice when no device is there; otherwise the reason it may not (its text is shown).
Result PrepareLevelingLaunch(SharedState& state, ConsoleView& mainWindow, ModeSwitcher& modes);

}  // namespace tavlin
