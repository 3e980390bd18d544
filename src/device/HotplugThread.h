#pragma once
#include <functional>
#include <thread>

#include "device/HotplugSource.h"

namespace tavlin {

// Watches a hot-plug source where there is no window event loop (the CLI, tests) and calls
// onChange (typically DeviceDetector::OnDeviceChange) for every batch of notices with an add or
// remove. Stop() ends it promptly, whatever the source does.
class HotplugThread {
  public:
    HotplugThread(HotplugSource& source, std::function<void()> onChange);
    ~HotplugThread();  // stops
    HotplugThread(const HotplugThread&) = delete;
    HotplugThread& operator=(const HotplugThread&) = delete;

    // False when the source has no descriptor or the stop signal cannot be made.
    bool Start();
    void Stop();

  private:
    void Run();

    HotplugSource& source_;
    std::function<void()> onChange_;
    int stopFd_ = -1;
    std::thread thread_;
};

}  // namespace tavlin
