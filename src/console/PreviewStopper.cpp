#include "console/PreviewStopper.h"

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
    // The slot resets the event before it publishes the handle and sets it after it cleared it,
    // so a handle seen set is followed by a signal this wait cannot miss.
    return state.g_PreviewThread == nullptr ||
           state.g_PreviewExitEvent.Wait(limitMs) == WAIT_OBJECT_0;
}

}  // namespace tavlin
