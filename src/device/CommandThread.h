#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>

#include "device/HidDevice.h"
#include "device/RequestRecord.h"
#include "device/Requests.h"
#include "device/SharedState.h"
#include "platform/MessageQueue.h"

namespace tavlin {

// What the command thread needs of the main window. Every call must return at once: the
// window queues the work to its own thread (the command thread never waits for the UI).
class CommandThreadHost {
  public:
    virtual ~CommandThreadHost() = default;
    // WM_CMD_DONE: refresh the bound fields.
    virtual void PostCmdDone() = 0;
    // One output pane line (already cut to 63 characters).
    virtual void AppendOutputText(const std::string& text) = 0;
    // The read-value text of the Step Debug panel ("0x5a"); set before PostCmdDone.
    virtual void SetReadValueText(const std::string& text) = 0;
};

using RequestHandle = std::shared_ptr<RequestRecord>;

// The limit of a wait for one request: its own exchange and what each running worker may have
// queued ahead of it (one request each), every request at most a write and a read of 2000 ms.
// A poster on the UI thread uses it instead of INFINITE; when it runs out the request is given
// up (WaitRequest), so nothing it would have published can reach a later reader.
inline constexpr uint32_t kRequestWaitLimitMs = 6 * 2 * kTransferTimeoutMs;

// The device command thread: the only thread that transfers reports. It serves the requests of
// Requests.h one at a time, in posting order, from Start() until WM_EXIT_CMD_THREAD.
class CommandThread {
  public:
    CommandThread(SharedState& state, HidDevice& device, CommandThreadHost& host);
    ~CommandThread();  // ends and joins the thread if it still runs
    CommandThread(const CommandThread&) = delete;
    CommandThread& operator=(const CommandThread&) = delete;

    // Starts the thread and publishes it in g_CmdThread.
    void Start();
    // Waits for the thread to end (after WM_EXIT_CMD_THREAD was served).
    void Join();
    MessageQueue& queue() { return *queue_; }

    // Where the burst requests read and write their files: the working directory unless set
    // (tests point it elsewhere). Set it before Start().
    void SetBurstDirectory(std::string directory) { burstDirectory_ = std::move(directory); }

  private:
    void Run();
    void Serve(const ThreadMessage& message);

    SharedState& state_;
    HidDevice& device_;
    CommandThreadHost& host_;
    std::shared_ptr<MessageQueue> queue_ = std::make_shared<MessageQueue>();
    std::thread thread_;
    std::string burstDirectory_;
};

// PostThreadMessage to g_CmdThread with what the request means: the sensor, a code packet's
// place in its transfer, the start line to send (RequestMeaning). The poster says these; the
// shared selections are written for the log and the windows, and another thread may change them
// before the request is served. The block is copied here, so the poster's memory is never read
// later. Returns null when there is no command thread (posting failed).
RequestHandle PostRequest(SharedState& state, uint32_t message, const RequestMeaning& meaning,
                          const void* block = nullptr, size_t blockSize = 0, uint32_t lParam = 0);

// PostRequest for the requests whose meaning is all in their block (register access, mode
// switch, searches of both sensors, ...). A request that needs a meaning must not come here.
RequestHandle PostRequest(SharedState& state, uint32_t message, const void* block = nullptr,
                          size_t blockSize = 0, uint32_t lParam = 0);

// True for the requests whose serving depends on a RequestMeaning.
bool NeedsMeaning(uint32_t message);

// PostRequest for the script runner: a single-value read it posts answers the script (on
// g_RegAccessDoneEvent) instead of the register panel's Value box.
RequestHandle PostScriptRequest(SharedState& state, uint32_t message, const void* block,
                                size_t blockSize);

// Waits for the completion of one posted request on its event. Returns WAIT_OBJECT_0 when the
// command thread signalled `event` for this very request (the signal is consumed), and
// WAIT_TIMEOUT when timeoutMs ran out or when the request was served, dropped or abandoned
// without a signal - so even an INFINITE wait ends once the command thread is done with the
// request. WAIT_FAILED for a null handle.
//
// For posters: use this rather than a bare event.Wait(). It is what keeps a UI wait bounded
// and what lets a poster see at once that its request will never be signalled:
//  - a guarded request (leveling, calibration) that arrives while its worker is not running is
//    dropped; WaitRequest returns WAIT_TIMEOUT as soon as it was dropped, not after the limit;
//  - a request still queued when the thread exits is settled unsignalled, so even an INFINITE
//    wait returns;
//  - a request that fails without a signal (a failed burst, WM_CAL_POINT without an answer)
//    returns WAIT_TIMEOUT once served, the same code the poster's time limit would give;
//  - a stale signal left on the event by an earlier request that was given up on is not taken
//    for this request's completion.
// After WAIT_OBJECT_0 read the result flags and values as the request's table says, and
// request->result for the outcome with its reason (or RequestOutcome below for any wait code).
// A request that times out here is given up: it may still be served (the thread works on its
// own copy of the parameter block), but its results are then not published into the shared
// variables and its event is not signalled, so it cannot overwrite what a later request's
// poster reads.
uint32_t WaitRequest(const RequestHandle& request, Event& event, uint32_t timeoutMs);

// The outcome of a request whose WaitRequest returned `waitCode`: NoDevice when it could not be
// posted (no command thread), Timeout when the wait ran out, otherwise the request's result
// (Failed when it ended without signalling and without a reason of its own).
Result RequestOutcome(const RequestHandle& request, uint32_t waitCode);

}  // namespace tavlin
