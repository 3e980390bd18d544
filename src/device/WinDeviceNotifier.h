#pragma once
#include <functional>
#include <mutex>

#include "device/DeviceChangeWatch.h"

namespace tavlin {

// Device interface arrivals and removals of every class through the configuration manager
// (CM_Register_Notification with the all-interface-classes flag). Its callbacks arrive on a
// thread of the system's pool; they only pass the notice on.
class WinDeviceNotifier final : public DeviceChangeWatch {
  public:
    explicit WinDeviceNotifier(std::function<void()> onChange);
    ~WinDeviceNotifier() override;  // unregisters; waits for a callback that is running
    WinDeviceNotifier(const WinDeviceNotifier&) = delete;
    WinDeviceNotifier& operator=(const WinDeviceNotifier&) = delete;

    // The system's CR_ code: 0 when registered.
    unsigned Register();

    // One notice as the callback receives it (the CM_NOTIFY_ACTION value). Interface arrivals
    // and removals start a detection; the other actions (query-remove, custom events, ...) are
    // not about presence. Returns true when onChange was called.
    bool Notify(int action);

  private:
    std::function<void()> onChange_;
    void* registration_ = nullptr;  // HCMNOTIFICATION
    std::mutex mutex_;              // orders callbacks against the end of the watch
    bool stopped_ = false;
};

}  // namespace tavlin
