#include "cli/QuitSignalWatch.h"

#ifdef _WIN32

#include <windows.h>

#include <atomic>

namespace tavlin::cli {
namespace {

std::atomic<Interruption*> g_interruption{nullptr};

// Windows calls this on a thread of its own, where waiting on locks is allowed.
BOOL WINAPI OnConsoleEvent(DWORD event) {
    Interruption* target = g_interruption;
    if (target == nullptr || (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT)) {
        return FALSE;
    }
    target->Request();
    return TRUE;
}

}  // namespace

QuitSignalWatch::QuitSignalWatch(Interruption& interruption) : interruption_(interruption) {
    g_interruption = &interruption_;
    SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

QuitSignalWatch::~QuitSignalWatch() {
    SetConsoleCtrlHandler(OnConsoleEvent, FALSE);
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
        while (pipe_.Next() == QuitSignalPipe::kSignalled) {
            interruption_.Request();
        }
    });
}

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
