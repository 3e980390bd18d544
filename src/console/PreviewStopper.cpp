#include "console/PreviewStopper.h"

#include <chrono>

#include "base/ControlIds.h"

namespace tavlin {

bool StopPreviewWorker(SharedState& state, ConsoleView& view, uint32_t limitMs) {
    if (state.g_PreviewThread == nullptr) {
        return true;
    }
    // A stop that comes as the worker ends on its own stays on the event; the next worker's
    // start clears it.
    state.g_PreviewStopEvent.Set();
    view.SetControlCaption(control::kLeveling, "Preview");
    return WaitPreviewWorkerGone(state, limitMs);
}

bool WaitPreviewWorkerGone(SharedState& state, uint32_t limitMs) {
    constexpr uint32_t kSliceMs = 20;
    const auto start = std::chrono::steady_clock::now();
    bool signalled = false;
    while (state.g_PreviewThread != nullptr) {
        if (limitMs != INFINITE &&
            std::chrono::steady_clock::now() - start >= std::chrono::milliseconds(limitMs)) {
            return false;
        }
        // Once the signal came, the handle goes in a moment: look again soon.
        signalled =
            state.g_PreviewExitEvent.Wait(signalled ? 1 : kSliceMs) == WAIT_OBJECT_0 || signalled;
    }
    return true;
}

}  // namespace tavlin
