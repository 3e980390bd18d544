#pragma once
#include <cstdint>

#include "console/ConsoleView.h"
#include "device/SharedState.h"
#include "platform/WaitResult.h"

namespace tavlin {

// Code downloads and sensor writes must not run beside the leveling preview, which keeps the
// sensors busy. If the preview worker runs, this signals its stop event, renames the leveling
// button 1022 to "Preview" and waits until the worker is gone (WaitPreviewWorkerGone).
//
// The wait is bounded by `limitMs`; returns false if the worker still runs then, so the caller
// does not start beside it.
inline constexpr uint32_t kPreviewStopLimitMs = 10000;
bool StopPreviewWorker(SharedState& state, ConsoleView& view,
                       uint32_t limitMs = kPreviewStopLimitMs);

// Waits until the preview worker is gone: its slot's finished event (g_PreviewExitEvent), set
// after the handle went, as for every slot worker. A null handle needs no wait. `limitMs` may be
// INFINITE. False when the worker still runs then.
bool WaitPreviewWorkerGone(SharedState& state, uint32_t limitMs);

}  // namespace tavlin
