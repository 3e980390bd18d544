#pragma once
#include <chrono>
#include <thread>

#include "cli/Interruption.h"

#ifndef _WIN32
#include "platform/QuitSignalPipe.h"
#endif

namespace tavlin::cli {

// Turns SIGINT, SIGTERM and SIGHUP into Interruption::Request for as long as it lives; on
// Windows Ctrl+C and Ctrl+Break in the console, and the console window closed, the user logging
// off and the system shutting down; and, in a copy started through ChildProcess, the end of the
// process that started it. On Linux a thread of its own reads the signals' pipe and makes the
// request; on Windows the system calls the console handler on a thread of its own, and a thread
// of the watch's waits for the parent's end.
class QuitSignalWatch {
  public:
    explicit QuitSignalWatch(Interruption& interruption);
    ~QuitSignalWatch();
    QuitSignalWatch(const QuitSignalWatch&) = delete;
    QuitSignalWatch& operator=(const QuitSignalWatch&) = delete;

    // The run has ended through its own path and written everything: the recording flushed,
    // the log's end line, the JSON object. A console close waiting for that is let go (and
    // Windows ends the process). The destructor says it too, for a run left through an exception.
    void RunEnded();

#ifdef _WIN32
    // Windows ends a process as soon as its handler returns from a close, logoff or shutdown
    // event, and at the latest about 5 s after the event: the handler waits for the run's end
    // at most this long.
    static constexpr std::chrono::milliseconds kEndWait{4000};

    // The console handler, as Windows calls it (tests call it so too, from a thread of their
    // own). Ctrl+C and Ctrl+Break request the stop and return; a close, logoff or shutdown
    // requests it and returns only when the run has ended or `kEndWait` (or `endWait`, in
    // tests) has passed. FALSE (the next handler's turn) while no watch lives.
    // (The types are BOOL WINAPI (DWORD) spelt out: <windows.h> must stay out of the headers,
    // its macros clash with the program's wait codes.)
    static int __stdcall OnConsoleEvent(unsigned long event);
    static int HandleConsoleEvent(unsigned long event, std::chrono::milliseconds endWait);

    // Called by each watch once its handler is in place. Only the test build of the program
    // sets one (to send itself a console event); the product has none.
    using StartHook = void (*)();
    static void SetStartHook(StartHook hook);
#endif

  private:
    Interruption& interruption_;
#ifndef _WIN32
    QuitSignalPipe pipe_;
#else
    void* watchEnds_ = nullptr;  // an event (a HANDLE) that ends the wait for the parent
#endif
    // The signals' pipe on Linux; the wait for the parent's end on Windows.
    std::thread reader_;
};

}  // namespace tavlin::cli
