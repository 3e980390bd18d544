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

#include <QSocketNotifier>

namespace tavlin {

QuitSignals::QuitSignals(std::function<void()> onQuit, QObject* parent)
    : QObject(parent), onQuit_(std::move(onQuit)) {
    if (!pipe_.Open(QuitSignalPipe::Reading::NonBlocking)) {
        return;
    }
    notifier_ = new QSocketNotifier(pipe_.ReadEnd(), QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
        if (pipe_.Drain() && onQuit_) {
            onQuit_();
        }
    });
}

QuitSignals::~QuitSignals() {
    delete notifier_;  // before the descriptor it watches goes
    pipe_.Close(QuitSignalPipe::Afterwards::DefaultAction);
}

}  // namespace tavlin

#endif
