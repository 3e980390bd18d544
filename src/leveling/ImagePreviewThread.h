#pragma once
#include <atomic>
#include <functional>
#include <mutex>

#include "base/Result.h"
#include "console/WorkerSlot.h"
#include "device/Requests.h"
#include "device/SharedState.h"
#include "leveling/LevelingView.h"
#include "platform/Event.h"

namespace tavlin {

// The leveling preview worker: the search (start lines, their configuration, the columns of
// both sensors), then preview cycles without pause (one stitching, 95 chunks, both pictures
// drawn) until it is stopped, the device goes or a step fails. It talks to its window only
// through the view, whose calls never wait for the UI thread.
//
// The worker runs in a WorkerSlot, as the FPGA download and the script runner do: g_PreviewThread
// holds this object while it runs, g_PreviewStopEvent is its stop, and g_PreviewExitEvent its
// finished event, set after the handle went. Whoever sees the handle set and wants the worker
// gone waits for that event (WaitPreviewWorkerGone).
class ImagePreviewThread {
  public:
    ImagePreviewThread(SharedState& state, LevelingView& view) : state_(state), view_(view) {}
    // A running worker is stopped and waited for (the slot does it).
    ImagePreviewThread(const ImagePreviewThread&) = delete;
    ImagePreviewThread& operator=(const ImagePreviewThread&) = delete;

    // Starts the worker unless one runs already (g_PreviewThread set); false then.
    bool Start();
    // For a front end without a window: after this many drawn cycles the worker stays (the
    // leveling requests are still served) but fetches nothing more until it is stopped. It
    // settles the same way after kMaxBrokenPicturesInARow pictures in a row with chunks missing:
    // nobody watches such a run, and a device that never delivers a whole picture would keep it
    // cycling forever. The window has no limit and keeps cycling.
    void SetCycleLimit(int cycles) { cycleLimit_ = cycles; }
    static constexpr int kMaxBrokenPicturesInARow = 3;
    // Waits until the cycle limit was reached or the worker is gone.
    void WaitSettled();
    // Called on the worker's thread as the last step of its ending, before its handle goes:
    // tests hold the worker there to meet a closing window. Set before Start().
    void SetEndingHook(std::function<void()> hook) { endingHook_ = std::move(hook); }
    bool Running() const { return state_.g_PreviewThread.load() == this; }
    // Cycles whose every chunk arrived (a picture with chunks missing is drawn all the same).
    int cyclesDrawn() const { return cycles_; }
    // How the worker ended: Ok when stopped, else the failing step. Valid once it has ended.
    Result result() const;
    // How the picture drawn last (or being drawn) came: Ok when every chunk arrived, else the
    // failed chunk's outcome (the link's code and reason). A failed chunk does not end the
    // worker.
    Result pictureResult() const;

  private:
    void Body();
    Result Search();
    Result PreviewCycle();
    // Ok when every chunk arrived; else the failed chunk's outcome, or Stopped.
    Result FetchChunks();
    bool StopOrGone();
    uint32_t Ask(uint32_t message, Event& done, const void* block = nullptr, size_t size = 0,
                 int* ownResult = nullptr, const RequestMeaning& meaning = {});
    void ShowBoth(const std::string& text);
    Result Fail(int textId, bool show, const std::string& reason);
    void End(const Result& result);

    SharedState& state_;
    LevelingView& view_;
    PreviewChunkRequest chunk_{};
    StartLineSearchParam searchParam_{};
    std::function<void()> endingHook_;
    std::atomic<int> cycleLimit_{0};  // 0: no limit
    std::atomic<int> cycles_{0};
    int brokenInARow_ = 0;  // the worker's own thread only
    // Set when the run reaches its cycle limit (limitReached_ then) or its ending: it only
    // wakes WaitSettled(), which waits for the end itself on the slot's finished event.
    Event settled_{Event::Kind::ManualReset};
    std::atomic<bool> limitReached_{false};
    mutable std::mutex resultMutex_;
    Result result_;
    Result picture_;
    // Last: it joins the thread before the members the worker uses go.
    WorkerSlot slot_{state_.g_PreviewThread, state_.g_PreviewStopEvent, state_.g_PreviewExitEvent};
};

}  // namespace tavlin
