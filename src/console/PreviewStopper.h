#pragma once
#include <cstdint>

#include "console/ConsoleView.h"
#include "device/SharedState.h"

namespace tavlin {

// Code downloads and sensor writes must not run beside the leveling preview, which keeps the
// sensors busy. If the preview worker runs, this signals its stop event, renames the leveling
// button 1022 to "Preview" and waits until the worker has ended: its exit event, or its handle
// going null, whichever is seen first (the worker signals the exit event only when its dialog
// asked it to, so the handle is the signal that cannot be missed).
//
// The wait is bounded by `limitMs`; returns false if the worker still runs then, so the caller
// does not start beside it.
inline constexpr uint32_t kPreviewStopLimitMs = 10000;
bool StopPreviewWorker(SharedState& state, ConsoleView& view,
                       uint32_t limitMs = kPreviewStopLimitMs);

}  // namespace tavlin
