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

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

namespace tavlin::cli {
namespace {

constexpr char kQuit = 'q';
constexpr char kEndWatch = 'e';
int g_pipe[2] = {-1, -1};

void OnSignal(int) {
    const int saved = errno;  // the interrupted code may be about to read it
    [[maybe_unused]] const ssize_t n = ::write(g_pipe[1], &kQuit, 1);
    errno = saved;
}

}  // namespace

QuitSignalWatch::QuitSignalWatch(Interruption& interruption) : interruption_(interruption) {
    if (::pipe2(g_pipe, O_CLOEXEC) != 0) {
        return;  // without a pipe the signals keep their default effect
    }
    reader_ = std::thread([this] {
        for (;;) {
            char byte = 0;
            const ssize_t n = ::read(g_pipe[0], &byte, 1);
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n != 1 || byte == kEndWatch) {
                return;
            }
            interruption_.Request();
        }
    });
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

QuitSignalWatch::~QuitSignalWatch() {
    if (!reader_.joinable()) {
        return;
    }
    // The exit path has run: a late signal changes nothing any more, so it is ignored rather
    // than cutting off the process's last writes.
    std::signal(SIGINT, SIG_IGN);
    std::signal(SIGTERM, SIG_IGN);
    [[maybe_unused]] const ssize_t n = ::write(g_pipe[1], &kEndWatch, 1);
    reader_.join();
    ::close(g_pipe[0]);
    ::close(g_pipe[1]);
    g_pipe[0] = g_pipe[1] = -1;
}

}  // namespace tavlin::cli

#endif
