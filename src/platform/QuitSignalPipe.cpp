#include "platform/QuitSignalPipe.h"

#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

namespace tavlin {
namespace {

int g_writeEnd = -1;
bool g_hangUpIgnored = false;  // SIGHUP was ignored when the pipe opened (nohup)

void OnQuitSignal(int) {
    const int saved = errno;  // the interrupted code may be about to read it
    // Non-blocking: a pipe full of earlier signals says enough already.
    [[maybe_unused]] const ssize_t n = ::write(g_writeEnd, &QuitSignalPipe::kSignalled, 1);
    errno = saved;
}

void SetDisposition(void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    if (!g_hangUpIgnored) {
        sigaction(SIGHUP, &action, nullptr);
    }
}

void UnblockQuitSignals() {
    const sigset_t quit = QuitSignalSet();
    pthread_sigmask(SIG_UNBLOCK, &quit, nullptr);
}

}  // namespace

sigset_t QuitSignalSet() {
    sigset_t quit;
    sigemptyset(&quit);
    sigaddset(&quit, SIGINT);
    sigaddset(&quit, SIGTERM);
    sigaddset(&quit, SIGHUP);
    return quit;
}

void HoldQuitSignalsAtStart(int, char**, char**) {
    const sigset_t quit = QuitSignalSet();
    sigprocmask(SIG_BLOCK, &quit, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
}

bool QuitSignalPipe::Open(Reading reading) {
    if (IsOpen() || g_writeEnd >= 0) {
        return false;
    }
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        UnblockQuitSignals();
        return false;
    }
    ::fcntl(ends[1], F_SETFL, O_NONBLOCK);
    if (reading == Reading::NonBlocking) {
        ::fcntl(ends[0], F_SETFL, O_NONBLOCK);
    }
    readEnd_ = ends[0];
    g_writeEnd = ends[1];
    struct sigaction hangUp {};
    g_hangUpIgnored = sigaction(SIGHUP, nullptr, &hangUp) == 0 && hangUp.sa_handler == SIG_IGN;
    SetDisposition(OnQuitSignal);
    UnblockQuitSignals();
    return true;
}

char QuitSignalPipe::Next() const {
    for (;;) {
        char byte = 0;
        const ssize_t n = ::read(readEnd_, &byte, 1);
        if (n == 1) {
            return byte;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        return 0;
    }
}

bool QuitSignalPipe::Drain() const {
    bool any = false;
    char buffer[16];
    while (::read(readEnd_, buffer, sizeof buffer) > 0) {
        any = true;
    }
    return any;
}

void QuitSignalPipe::Send(char byte) const {
    if (IsOpen()) {
        [[maybe_unused]] const ssize_t n = ::write(g_writeEnd, &byte, 1);
    }
}

void QuitSignalPipe::Close(Afterwards afterwards) {
    if (!IsOpen()) {
        return;
    }
    SetDisposition(afterwards == Afterwards::Ignore ? SIG_IGN : SIG_DFL);
    ::close(readEnd_);
    ::close(g_writeEnd);
    readEnd_ = g_writeEnd = -1;
}

}  // namespace tavlin
