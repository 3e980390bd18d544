#include "app/QuitSignals.h"

#ifdef _WIN32

namespace tavlin {

// Windows ends a session through the window's own close and end-session messages, which Qt
// already turns into the window's exit path; there are no signals to catch.
QuitSignals::QuitSignals(std::function<void()> onQuit, QObject* parent)
    : QObject(parent), onQuit_(std::move(onQuit)) {}

QuitSignals::~QuitSignals() = default;

}  // namespace tavlin

#else

#include <fcntl.h>
#include <unistd.h>
#include <QSocketNotifier>
#include <csignal>

namespace tavlin {
namespace {

int g_pipe[2] = {-1, -1};

void OnSignal(int) {
    const char byte = 1;
    // Only async-signal-safe work here: the UI thread does the rest.
    [[maybe_unused]] ssize_t n = ::write(g_pipe[1], &byte, 1);
}

}  // namespace

QuitSignals::QuitSignals(std::function<void()> onQuit, QObject* parent)
    : QObject(parent), onQuit_(std::move(onQuit)) {
    if (::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        return;
    }
    notifier_ = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
        char buffer[16];
        while (::read(g_pipe[0], buffer, sizeof buffer) > 0) {
        }
        if (onQuit_) {
            onQuit_();
        }
    });
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

QuitSignals::~QuitSignals() {
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    if (g_pipe[0] >= 0) {
        ::close(g_pipe[0]);
        ::close(g_pipe[1]);
        g_pipe[0] = g_pipe[1] = -1;
    }
}

}  // namespace tavlin

#endif
