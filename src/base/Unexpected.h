#pragma once
#include <functional>
#include <string>

namespace tavlin {

// No exception may leave a front end, nor the body of one of its threads: one that nobody
// expected (memory exhausted, a library's error no caller handles) ends the run in words rather
// than through std::terminate. Each edge catches it and reports it here: one line in the log,
// then the front end's own report (a message on stderr, the CLI's JSON object), and the run
// ends with exit status 1.

// The text of the exception being handled; call it only inside a catch block.
std::string CurrentExceptionText();

// The message for people, in the user's language: "意外错误，运行已结束：<what>".
std::string UnexpectedErrorText(const std::string& what);

// What the front end adds to the log line: its message on stderr, the JSON object. It may run
// on any thread, at most once per run; without one, the message goes to stderr as
// "tavlin: <text>".
using UnexpectedReport = std::function<void(const std::string& what)>;
void SetUnexpectedReport(UnexpectedReport report);

// The log line and the front end's report, once: a second unexpected exception (another thread,
// the same failure) is logged but not reported again. Returns false for that second one.
bool ReportUnexpected(const std::string& what) noexcept;

// In a catch block at a thread's edge: reports the exception and ends the process with exit
// status 1 at once. The thread's owner waits for it in ways that cannot be unwound, so the run
// cannot end through its own path any more.
[[noreturn]] void EndOnUnexpected() noexcept;

// Runs a thread's body; an exception escaping it ends the run through EndOnUnexpected.
template <typename Body>
void RunGuarded(Body&& body) noexcept {
    try {
        body();
    } catch (...) {
        EndOnUnexpected();
    }
}

// The last net: std::terminate (an exception through a noexcept function, or an edge that was
// missed) reports what it can and ends with exit status 1 instead of aborting.
void InstallUnexpectedTerminate();

inline constexpr int kUnexpectedExitStatus = 1;

}  // namespace tavlin
