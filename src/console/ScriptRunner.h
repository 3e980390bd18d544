#pragma once
#include <set>
#include <string>
#include <vector>

#include "base/Result.h"
#include "console/ConsoleView.h"
#include "console/ScriptCommand.h"
#include "console/ScriptParser.h"
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
//   later command. Each request is posted as the script's (PostScriptRequest), so a read the
//   register panel posts meanwhile never answers the script. g_ScriptRequestEvent is still set
//   just before each request and cleared once the command is over.
// - "i2crd" has no time limit of its own: it waits until the command thread is done with the
//   request, bounded by kRequestWaitLimitMs (the requests that may be queued ahead of it).
// - "#" sleeps between 0 and kMaxDelayMs (a negative or huge delay is clamped, and the pane line
//   shows the delay actually taken); a stop ends the sleep at once.
// - A line whose operands are missing or unusable stops the script with a line naming it.
// - A line that is read other than it is written (an unknown keyword, an operand that is not a
//   number, a negative count or data byte) still runs as read, for the scripts that rely on it,
//   but gives a pane line and a log line naming it, and the run's outcome is a failure.
// - With CheckFirst (a station's run) the whole script is read before anything is sent, and a
//   script with such a line, or one that cannot run, is refused with those lines: nothing is
//   sent. Running it as read and failing afterwards would leave the unit with writes nobody
//   meant (0x00 for "0xZZ") and without those that were meant (the typo's), and a unit must
//   never be left half-done.
// - A request that fails without a time-out (a burst file that is missing, too short or not
//   writable, a short block) stops the script with its cause instead of "timeout exit".
// - A device lost mid-run ends the script with the no-device text (string 104), never with
//   "Success!"; a script stopped by the exit path ends without a text.
// - The run's outcome (outcome(), read after the finished event) is a failure when any request
//   failed, also one whose pane line says "error" while the script went on to "Success!".
class ScriptRunner {
  public:
    static constexpr uint32_t kRequestTimeoutMs = 3000;
    static constexpr int32_t kMaxDelayMs = 60000;

    ScriptRunner(SharedState& state, ConsoleView& view) : state_(state), view_(view) {}
    ~ScriptRunner() { slot_.Stop(); }
    ScriptRunner(const ScriptRunner&) = delete;
    ScriptRunner& operator=(const ScriptRunner&) = delete;

    // The run button; `path` is UTF-8 and opened as given. Fails when the script was not
    // started (its text is shown); otherwise the worker runs and outcome() follows.
    Result Start(const std::string& path);
    // Exit path: the script stops at its next line (a delay ends at once); waits for the worker.
    void Stop() { slot_.Stop(); }
    bool Running() const { return slot_.Running(); }
    // For the runs started from now on.
    void SetCheckFirst(bool on) { checkFirst_ = on; }
    // The last run's outcome; valid once its finished event is set.
    const Result& outcome() const { return outcome_; }

  private:
    Result Run(const std::string& path);
    // CheckFirst: reads `file` to its end; a failure names the lines that are not read as written.
    Result Check(std::istream& file);
    // The pane and log lines of a line's warnings.
    void Show(const std::vector<ScriptWarning>& warnings);
    bool Execute(const ScriptCommand& command);
    bool Request(uint32_t message, const void* block, size_t size, uint32_t timeoutMs,
                 const char* failure, const char* name = nullptr);
    void Delay(int32_t ms);

    SharedState& state_;
    ConsoleView& view_;
    Result outcome_;
    bool checkFirst_ = false;
    std::set<int> warnedLines_;  // of the run under way
    Result firstFailure_;        // of a request the script went on after
    // A request found the device gone: the run ends as a lost device even before the presence
    // detection has noticed.
    bool deviceGone_ = false;
    WorkerSlot slot_{state_.g_ScriptThread, state_.g_ScriptStopEvent, state_.g_ScriptFinishedEvent};
};

}  // namespace tavlin
