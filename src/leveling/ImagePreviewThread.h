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
// g_PreviewThread holds this object while the worker runs (it is the worker's slot handle, with
// g_PreviewStopEvent as its stop). As it ends the worker signals g_PreviewExitEvent if a window
// waits (g_isWaitPreviewExit); the slot then clears the handle as the last act on the shared
// state: a null handle means the worker is gone.
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
    // Waits until the cycle limit was reached or the worker ended.
    void WaitSettled() { settled_.Wait(INFINITE); }
    // Called on the worker's thread as it ends, between taking a waiting window's flag and
    // signalling its end: tests hold the worker there to meet a closing window. Set before
    // Start().
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
    // The slot's finished event, so it is set once the handle is gone; a run that reaches its
    // cycle limit sets it early too, as WaitSettled() wants. The slot only uses it to bound its
    // wait before the join.
    Event settled_{Event::Kind::ManualReset};
    mutable std::mutex resultMutex_;
    Result result_;
    Result picture_;
    // Last: it joins the thread before the members the worker uses go.
    WorkerSlot slot_{state_.g_PreviewThread, state_.g_PreviewStopEvent, settled_};
};

}  // namespace tavlin
