#pragma once
#include <thread>

#include "cli/Interruption.h"

namespace tavlin::cli {

// Turns SIGINT and SIGTERM (Ctrl+C in the console on Windows) into Interruption::Request for
// as long as it lives. The handler only writes a byte to a pipe; a thread of its own reads the
// pipe and makes the request, so nothing but async-signal-safe work happens in the handler.
class QuitSignalWatch {
  public:
    explicit QuitSignalWatch(Interruption& interruption);
    ~QuitSignalWatch();
    QuitSignalWatch(const QuitSignalWatch&) = delete;
    QuitSignalWatch& operator=(const QuitSignalWatch&) = delete;

  private:
    Interruption& interruption_;
    std::thread reader_;
};

}  // namespace tavlin::cli
