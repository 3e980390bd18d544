#pragma once
#include <QObject>
#include <functional>

#ifndef _WIN32
#include "platform/QuitSignalPipe.h"
#endif

class QSocketNotifier;

namespace tavlin {

// Turns SIGINT, SIGTERM and SIGHUP (a session logout, a station's supervisor, Ctrl+C in the
// terminal, the terminal closed) into a call on the UI thread, so the window leaves through its
// normal exit path: workers stopped, "Tavlin log end!" written, device closed.
class QuitSignals : public QObject {
    Q_OBJECT
  public:
    explicit QuitSignals(std::function<void()> onQuit, QObject* parent = nullptr);
    ~QuitSignals() override;

  private:
    std::function<void()> onQuit_;
    QSocketNotifier* notifier_ = nullptr;
#ifndef _WIN32
    QuitSignalPipe pipe_;
#endif
};

}  // namespace tavlin
