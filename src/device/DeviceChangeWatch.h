#pragma once
#include <functional>
#include <memory>

namespace tavlin {

// Watches the system for device interfaces of any class arriving or going away: any of them may
// be ours, and the detection decides. onChange is called on a thread of the watch's own, once per
// batch of notices. Destroying the watch stops it; no call of onChange runs or starts after that.
class DeviceChangeWatch {
  public:
    virtual ~DeviceChangeWatch() = default;
};

// Linux: a udev monitor on its own thread. Windows: RegisterDeviceNotification on a message-only
// window of the watch's own thread, so the CLI is told as well as the window. nullptr when the
// system gives no notices; presence then follows only the detections the program starts itself.
std::unique_ptr<DeviceChangeWatch> WatchDeviceChanges(std::function<void()> onChange);

}  // namespace tavlin
