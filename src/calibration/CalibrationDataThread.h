#pragma once
#include <cstdint>
#include <mutex>
#include <string>

#include "base/Result.h"
#include "calibration/CalibrationLayout.h"
#include "calibration/CalibrationView.h"
#include "console/WorkerSlot.h"
#include "device/CommandThread.h"
#include "device/SharedState.h"

namespace tavlin {

struct CalibrationTiming {
    uint32_t answerLimitMs = 3000;  // a sample, a release check, the initialisation
    uint32_t sliceMs = 20;          // how often a wait looks at the stop event
    // How long a target may go without a valid sample (or the stylus stay down after one)
    // before the run fails; 0 waits for the operator, who has Esc.
    uint32_t targetLimitMs = 0;
};

// The calibration worker: initialises the device's calibration, collects twenty consecutive
// valid touch samples at each of the fifteen targets (waiting for the stylus to lift between
// targets), sends the screen size, runs the finishing phase and asks its window to close.
//
// It runs in passes, so a stop or an unplug is seen between any two device requests, and its
// waits leave early on a stop: Esc closes the window within one wait at most. A request the
// command thread finished without an answer is retried only once the answer limit has passed,
// never in a loop that floods the device and the log.
class CalibrationDataThread {
  public:
    using Timing = CalibrationTiming;

    CalibrationDataThread(SharedState& state, CalibrationView& view, Timing timing = {});
    ~CalibrationDataThread() { Stop(); }
    CalibrationDataThread(const CalibrationDataThread&) = delete;
    CalibrationDataThread& operator=(const CalibrationDataThread&) = delete;

    // Starts a run over `layout`, made for g_ScreenWidth x g_ScreenHeight. False (nothing
    // started) while a run is active.
    bool Start(const CalibrationLayout& layout);
    // Stops a running worker and waits until it has ended; returns at once when none runs.
    void Stop() { slot_.Stop(); }
    bool Running() const { return slot_.Running(); }
    // How the last run ended: Ok only when it went through the finishing phase; a refused or
    // unanswered request gives the link's code and reason. Read it after the run has ended
    // (after Stop()).
    Result outcome() const;

  private:
    // How a wait for the device ended; `code` is the wait's result as the log lines print it,
    // `result` the request's own outcome (the link's code and reason when it failed).
    struct Wait {
        enum class Kind { Answered, Unanswered, Stopped } kind = Kind::Unanswered;
        uint32_t code = WAIT_TIMEOUT;
        Result result;
    };

    void Run();
    Result Passes();
    Result Initialise();
    Result CollectAt();
    Result WaitForRelease();
    Result SendScreenSize();
    bool Finishing();
    void End(const Result& outcome);

    // Posts one request and waits for its event up to limitMs (INFINITE: until the command
    // thread is done with it). Answered only when the event was signalled for this request.
    Wait Ask(uint32_t message, const void* block, size_t size, Event& event, uint32_t limitMs);
    Result Interrupted();
    // Fails once the target has waited longer than the limit since `since`.
    Result OverLimit(int target, const char* what, std::chrono::steady_clock::time_point since);
    void Say(const std::string& text);
    void SayFinishing(int percent);
    void Draw(int target, CalibrationView::Crosshair mode);
    // A touch sample (kind 0) or a release check (kind 0xFF) at `target`.
    Wait AskAt(int target, uint8_t kind, Event& event);

    SharedState& state_;
    CalibrationView& view_;
    const Timing timing_;
    WorkerSlot slot_{state_.g_CalThread, state_.g_CalStopEvent, state_.g_CalExitEvent};

    // The run's counters: the start counter counts passes up to 100 after the initialisation,
    // the target index is 0..14 while collecting, 15 to send the screen size, 16 finishing.
    CalibrationLayout layout_;
    uint32_t startCounter_ = 0;
    uint32_t openingAtStart_ = 0;  // deviceOpenings when the run began
    uint32_t targetIndex_ = 0;
    uint32_t finishingCounter_ = 0;

    mutable std::mutex outcomeMutex_;
    Result outcome_;
};

// The finishing text with its percentage, in the current language.
std::string FinishingText(int percent);

}  // namespace tavlin
