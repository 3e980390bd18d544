#pragma once
#include <atomic>
#include <functional>
#include <thread>

#include "platform/Event.h"

namespace tavlin {

// One engineering worker that runs at most once at a time: its process-wide handle, its stop
// event, its finished event and the std::thread itself.
//
// The handle is published before the thread starts and cleared by the thread as it ends, and the
// manual-reset finished event is set after that as the thread's very last act, on every path. So
// whoever sees a non-null handle can wait for the finished event without missing it, and whoever
// sees null has nothing to wait for but a join that is already due. Start and Stop are called
// from one thread (the front end's).
class WorkerSlot {
  public:
    WorkerSlot(std::atomic<void*>& handle, Event& stop, Event& finished)
        : handle_(handle), stop_(stop), finished_(finished) {}
    ~WorkerSlot() { Stop(); }
    WorkerSlot(const WorkerSlot&) = delete;
    WorkerSlot& operator=(const WorkerSlot&) = delete;

    bool Running() const { return handle_ != nullptr; }
    // Runs body on a new thread with `owner` as the handle; false (and nothing started) while a
    // run is active. A stop signalled after the previous run had already ended is dropped here.
    bool Start(void* owner, std::function<void()> body);
    // Signals the stop event if a run is active, waits for its finished event, joins. Returns at
    // once when nothing runs. Every wait a worker makes is bounded (kRequestWaitLimitMs at most
    // for one request), so the wait here is given the same bound per step the worker may be
    // in; a worker that has not ended by then is logged, and waited for still, because its
    // thread uses this object.
    void Stop();
    // True once the stop event was seen (tested without waiting); it stays true for this run.
    bool StopRequested();
    // Waits up to ms for a stop; true when one came. Keeps StopRequested() in step.
    bool WaitForStop(uint32_t ms);

  private:
    std::atomic<void*>& handle_;
    Event& stop_;
    Event& finished_;
    std::thread thread_;
    std::atomic<bool> stopSeen_{false};
};

}  // namespace tavlin
