#include "cli/QuitSignalWatch.h"

#include "base/Unexpected.h"

#ifdef _WIN32

#include <windows.h>

#include <condition_variable>
#include <mutex>
#include <string>

namespace tavlin::cli {
namespace {

// The watch the handler serves; held while a request is made, so the watch's end cannot come
// between reading it and using it.
std::mutex g_watchMutex;
Interruption* g_interruption = nullptr;

// Whether the run has written everything. It lives as long as the process: the handler may
// still be returning from its wait while the watch that said so is gone.
struct RunEnd {
    std::mutex mutex;
    std::condition_variable changed;
    bool ended = false;

    void Set(bool value) {
        {
            std::lock_guard lock(mutex);
            ended = value;
        }
        changed.notify_all();
    }
    void Wait(std::chrono::milliseconds limit) {
        std::unique_lock lock(mutex);
        changed.wait_for(lock, limit, [this] { return ended; });
    }
};

RunEnd& TheRunEnd() {
    static RunEnd* const runEnd = new RunEnd;
    return *runEnd;
}

bool EndsTheProcess(DWORD event) {
    return event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT;
}

// What the test build starts with each watch (ConsoleEventHook.cpp); nothing in the product.
QuitSignalWatch::StartHook g_startHook = nullptr;

}  // namespace

int QuitSignalWatch::HandleConsoleEvent(unsigned long event, std::chrono::milliseconds endWait) {
    const bool ends = EndsTheProcess(event);
    if (!ends && event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) {
        return FALSE;
    }
    {
        std::lock_guard lock(g_watchMutex);
        if (g_interruption == nullptr) {
            return FALSE;
        }
        g_interruption->Request();
    }
    if (ends) {
        // The command stops through its own path and the run through the exit path; Windows
        // would end the process the moment this returns.
        TheRunEnd().Wait(endWait);
    }
    return TRUE;
}

int __stdcall QuitSignalWatch::OnConsoleEvent(unsigned long event) {
    return HandleConsoleEvent(event, kEndWait);
}

QuitSignalWatch::QuitSignalWatch(Interruption& interruption) : interruption_(interruption) {
    TheRunEnd().Set(false);
    {
        std::lock_guard lock(g_watchMutex);
        g_interruption = &interruption_;
    }
    // A launcher that gave us a process group of our own (as `--all` does for its children)
    // left Ctrl+C ignored, and Wine then skips our handler for Ctrl+Break too; the handler
    // decides.
    SetConsoleCtrlHandler(nullptr, FALSE);
    SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
    if (g_startHook != nullptr) {
        g_startHook();
    }
}

void QuitSignalWatch::SetStartHook(StartHook hook) {
    g_startHook = hook;
}

void QuitSignalWatch::RunEnded() {
    TheRunEnd().Set(true);
}

QuitSignalWatch::~QuitSignalWatch() {
    RunEnded();  // first: the system may hold its list of handlers while one of ours waits
    SetConsoleCtrlHandler(OnConsoleEvent, FALSE);
    std::lock_guard lock(g_watchMutex);
    g_interruption = nullptr;
}

}  // namespace tavlin::cli

#else

#include <pthread.h>

#include <csignal>

namespace tavlin::cli {
namespace {
constexpr char kEndWatch = 'e';
}  // namespace

QuitSignalWatch::QuitSignalWatch(Interruption& interruption) : interruption_(interruption) {
    if (!pipe_.Open(QuitSignalPipe::Reading::Blocking)) {
        return;  // without a pipe the signals keep their default effect
    }
    // A launcher may start us with the signals blocked; one sent before we got here waits
    // as pending and is taken now. Threads started later inherit this mask.
    sigset_t quit;
    sigemptyset(&quit);
    sigaddset(&quit, SIGINT);
    sigaddset(&quit, SIGTERM);
    // Taken here, not only through the pipe's thread: a run that needs no device would
    // otherwise end before that thread has read it.
    sigset_t pending;
    sigemptyset(&pending);
    if (sigpending(&pending) == 0 &&
        (sigismember(&pending, SIGINT) == 1 || sigismember(&pending, SIGTERM) == 1)) {
        interruption_.Request();
    }
    pthread_sigmask(SIG_UNBLOCK, &quit, nullptr);
    reader_ = std::thread([this] {
        RunGuarded([this] {
            while (pipe_.Next() == QuitSignalPipe::kSignalled) {
                interruption_.Request();
            }
        });
    });
}

// A signal ends the process only through the exit path: nothing waits for the run's end.
void QuitSignalWatch::RunEnded() {}

QuitSignalWatch::~QuitSignalWatch() {
    if (!reader_.joinable()) {
        return;
    }
    pipe_.Send(kEndWatch);
    reader_.join();
    // The exit path has run: a late signal changes nothing any more.
    pipe_.Close(QuitSignalPipe::Afterwards::Ignore);
}

}  // namespace tavlin::cli

#endif
