#pragma once
#include <functional>
#include <future>
#include <mutex>
#include <thread>

#include "device/DeviceChangeWatch.h"

namespace tavlin {

// Device interface arrivals and removals of every class, the way every Windows version offers
// them: RegisterDeviceNotification on a message-only window (no display needed), with the
// all-interface-classes flag. The window lives on a thread of its own with its own message loop;
// the notices only pass on.
class WinDeviceNotifier final : public DeviceChangeWatch {
  public:
    explicit WinDeviceNotifier(std::function<void()> onChange);
    ~WinDeviceNotifier() override;  // stops the thread; no onChange runs after it returns
    WinDeviceNotifier(const WinDeviceNotifier&) = delete;
    WinDeviceNotifier& operator=(const WinDeviceNotifier&) = delete;

    // Creates the window and registers it, on the watch's thread. 0 when the notices are on,
    // otherwise the system's error code.
    unsigned Start();

    // One WM_DEVICECHANGE as the window receives it (its DBT_ event code). Interface arrivals
    // and removals start a detection; the other events (query-remove, custom events, ...) are
    // not about presence. Returns true when onChange was called.
    bool Notify(unsigned event);

  private:
    void Run(std::promise<unsigned>* started);

    std::function<void()> onChange_;
    std::thread thread_;
    unsigned long threadId_ = 0;
    std::mutex mutex_;  // orders notices against the end of the watch
    bool stopped_ = false;
};

}  // namespace tavlin
