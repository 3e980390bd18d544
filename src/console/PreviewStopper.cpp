#include "console/PreviewStopper.h"

#include <chrono>

#include "base/ControlIds.h"

namespace tavlin {

bool StopPreviewWorker(SharedState& state, ConsoleView& view, uint32_t limitMs) {
    if (state.g_PreviewThread == nullptr) {
        return true;
    }
    state.g_PreviewStopEvent.Set();
    view.SetControlCaption(control::kLeveling, "Preview");
    constexpr uint32_t kSliceMs = 20;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    while (state.g_PreviewThread != nullptr) {
        if (state.g_PreviewExitEvent.Wait(kSliceMs) == WAIT_OBJECT_0) {
            return true;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return state.g_PreviewThread == nullptr;
        }
    }
    return true;
}

}  // namespace tavlin
