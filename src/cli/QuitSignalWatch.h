#pragma once
#include <thread>

#include "cli/Interruption.h"

#ifndef _WIN32
#include "platform/QuitSignalPipe.h"
#endif

namespace tavlin::cli {

// Turns SIGINT and SIGTERM (Ctrl+C in the console on Windows) into Interruption::Request for
// as long as it lives. A thread of its own reads the signals' pipe and makes the request.
class QuitSignalWatch {
  public:
    explicit QuitSignalWatch(Interruption& interruption);
    ~QuitSignalWatch();
    QuitSignalWatch(const QuitSignalWatch&) = delete;
    QuitSignalWatch& operator=(const QuitSignalWatch&) = delete;

  private:
    Interruption& interruption_;
#ifndef _WIN32
    QuitSignalPipe pipe_;
#endif
    std::thread reader_;
};

}  // namespace tavlin::cli
