#include "cli/QuitSignalWatch.h"

#include "base/Unexpected.h"

#ifdef _WIN32

#include <windows.h>

#include <condition_variable>
#include <cwchar>
#include <mutex>
#include <string>

#include "platform/ChildProcess.h"
#include "platform/StringConv.h"

namespace tavlin::cli {
namespace {

// The watch the handler serves; held while a request is made, so the watch's end cannot come
// between reading it and using it.
std::mutex g_watchMutex;
Interruption* g_interruption = nullptr;

// Whether the run has written everything. It lives as long as the process: the handler may
// still be returning from its wait while the watch that said so is gone.
struct RunEndedFlag {
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

RunEndedFlag& TheRunEndedFlag() {
    static RunEndedFlag* const flag = new RunEndedFlag;
    return *flag;
}

bool EndsTheProcess(DWORD event) {
    return event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT;
}

// What the test build starts with each watch (ConsoleEventHook.cpp); nothing in the product.
QuitSignalWatch::StartHook g_startHook = nullptr;

void RequestStop() {
    std::lock_guard lock(g_watchMutex);
    if (g_interruption != nullptr) {
        g_interruption->Request();
    }
}

// The process that started this one as its child (one device's copy of --all), as it left
// word: its end asks this run to stop. None when this run was started otherwise, or when the
// word is stale: a handle of that value that is not the named process means something else
// here. The word is taken away, so that this run's own children hear only of this one.
HANDLE ParentToWatch() {
    const std::wstring name = MultiByteToWide(kParentProcessVariable);
    wchar_t text[64] = {};
    const DWORD length = GetEnvironmentVariableW(name.c_str(), text, 64);
    SetEnvironmentVariableW(name.c_str(), nullptr);
    unsigned long long handle = 0;
    unsigned long id = 0;
    if (length == 0 || length >= 64 || std::swscanf(text, L"%llu:%lu", &handle, &id) != 2) {
        return nullptr;
    }
    const HANDLE parent = reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(handle));
    return id != 0 && GetProcessId(parent) == id ? parent : nullptr;
}

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
        TheRunEndedFlag().Wait(endWait);
    }
    return TRUE;
}

int __stdcall QuitSignalWatch::OnConsoleEvent(unsigned long event) {
    return HandleConsoleEvent(event, kEndWait);
}

QuitSignalWatch::QuitSignalWatch(Interruption& interruption) : interruption_(interruption) {
    TheRunEndedFlag().Set(false);
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
    // A parent killed outright would leave this copy running on its own: its end stops the run
    // through the exit path, as SIGTERM does a Linux copy whose parent died.
    if (const HANDLE parent = ParentToWatch(); parent != nullptr) {
        watchEnds_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        const HANDLE stop = watchEnds_;
        reader_ = std::thread([parent, stop] {
            RunGuarded([parent, stop] {
                const HANDLE both[] = {parent, stop};
                if (WaitForMultipleObjects(2, both, FALSE, INFINITE) == WAIT_OBJECT_0) {
                    RequestStop();
                }
            });
            CloseHandle(parent);
        });
    }
}

void QuitSignalWatch::SetStartHook(StartHook hook) {
    g_startHook = hook;
}

void QuitSignalWatch::RunEnded() {
    TheRunEndedFlag().Set(true);
}

QuitSignalWatch::~QuitSignalWatch() {
    RunEnded();  // first: the system may hold its list of handlers while one of ours waits
    if (reader_.joinable()) {
        SetEvent(watchEnds_);
        reader_.join();
        CloseHandle(watchEnds_);
    }
    SetConsoleCtrlHandler(OnConsoleEvent, FALSE);
    std::lock_guard lock(g_watchMutex);
    g_interruption = nullptr;
}

}  // namespace tavlin::cli

#else

#include <csignal>

namespace tavlin::cli {
namespace {
constexpr char kEndWatch = 'e';
}  // namespace

QuitSignalWatch::QuitSignalWatch(Interruption& interruption) : interruption_(interruption) {
    // The program holds the quit signals blocked from its first instant (and a launcher may
    // start it so); one sent before we got here waits as pending. It is taken here, not only
    // through the pipe's thread: a run that needs no device would otherwise end before that
    // thread has read it.
    // A SIGHUP the program was started ignoring (nohup) waits blocked too, but asks for nothing.
    struct sigaction hangUp {};
    const bool hangUpIgnored =
        sigaction(SIGHUP, nullptr, &hangUp) == 0 && hangUp.sa_handler == SIG_IGN;
    sigset_t pending;
    sigemptyset(&pending);
    if (sigpending(&pending) == 0 &&
        (sigismember(&pending, SIGINT) == 1 || sigismember(&pending, SIGTERM) == 1 ||
         (sigismember(&pending, SIGHUP) == 1 && !hangUpIgnored))) {
        interruption_.Request();
    }
    // Unblocks them: threads started later inherit that.
    if (!pipe_.Open(QuitSignalPipe::Reading::Blocking)) {
        return;  // without a pipe the signals keep their default effect
    }
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
