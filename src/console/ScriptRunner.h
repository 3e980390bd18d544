#pragma once
#include <string>

#include "console/ConsoleView.h"
#include "console/ScriptCommand.h"
#include "console/WorkerSlot.h"
#include "device/SharedState.h"
#include "platform/MessageQueue.h"

namespace tavlin {

// Register script runner (button 1009): a worker reads the script line by line (ScriptParser),
// hands each enabled command to the command thread and waits for it; the first request that does
// not complete ends the script with that command's message and without "Success!\n".
//
// - Each wait is paired with its own request (WaitRequest), so a completion signalled late for
//   a request that timed out, or by a step-debug write nobody waits for, never completes a
//   later command. g_ScriptRequestEvent is set just before each request as the command thread
//   expects, and cleared again once the command is over, so a request that does not consume it
//   cannot leave it for a later step-debug read to steal.
// - "i2crd" has no time limit of its own: it waits until the command thread is done with the
//   request (WaitRequest returns then, signalled or not), which the transfer time-outs bound.
// - "#" sleeps between 0 and kMaxDelayMs (a negative or huge delay is clamped, and the pane line
//   shows the delay actually taken); a stop ends the sleep at once.
// - A line whose operands are missing or unusable stops the script with a line naming it.
class ScriptRunner {
  public:
    static constexpr uint32_t kRequestTimeoutMs = 3000;
    static constexpr int32_t kMaxDelayMs = 60000;

    ScriptRunner(SharedState& state, ConsoleView& view) : state_(state), view_(view) {}
    ~ScriptRunner() { slot_.Stop(); }
    ScriptRunner(const ScriptRunner&) = delete;
    ScriptRunner& operator=(const ScriptRunner&) = delete;

    // The run button; `path` is UTF-8 and opened as given.
    void Start(const std::string& path);
    // Exit path: the script stops at its next line (a delay ends at once); waits for the worker.
    void Stop() { slot_.Stop(); }
    bool Running() const { return slot_.Running(); }

  private:
    void Run(const std::string& path);
    bool Execute(const ScriptCommand& command);
    bool Request(uint32_t message, const void* block, size_t size, uint32_t timeoutMs,
                 const char* failure);
    void Delay(int32_t ms);

    SharedState& state_;
    ConsoleView& view_;
    WorkerSlot slot_{state_.g_ScriptThread, state_.g_ScriptStopEvent, state_.g_ScriptFinishedEvent};
};

}  // namespace tavlin
