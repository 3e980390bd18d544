#pragma once
#include "base/Result.h"
#include "console/ConsoleView.h"
#include "device/SharedState.h"
#include "leveling/LevelingView.h"

namespace tavlin {

// The OK check: leaving with OK needs an exposure attempt (or a device that stopped
// answering). Otherwise string 119 goes to both status texts and false comes back.
bool MayLeaveWithOk(SharedState& state, LevelingView& view);

// The first step of closing: stops the preview worker if one runs and waits until it is gone
// (WaitPreviewWorkerGone). The worker never waits for the window (its view calls are queued),
// and it ends once its current request is done; the wait is bounded all the same, as a worker
// slot's stop is (kRequestWaitLimitMs, logged when it runs out).
void StopPreviewForClose(SharedState& state);

// The last step of closing, after the window is gone: the device leaves calibration mode (0xEE
// after OK, the work mode 0x22 after Cancel). A failed wait shows string 136 on the main
// window's status line and is logged.
Result SwitchModeOnClose(SharedState& state, ConsoleView& mainWindow, bool ok);

}  // namespace tavlin
