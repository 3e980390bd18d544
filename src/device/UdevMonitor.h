#pragma once
#include "device/HotplugSource.h"

struct udev;
struct udev_monitor;

namespace tavlin {

// Device add/remove notices from udev for the hidraw and hid subsystems. Any such add or
// remove counts, whoever's device it is: the detection decides whether it was ours.
class UdevMonitor final : public HotplugSource {
  public:
    UdevMonitor() = default;
    ~UdevMonitor() override;
    UdevMonitor(const UdevMonitor&) = delete;
    UdevMonitor& operator=(const UdevMonitor&) = delete;

    // False when no monitor could be set up (no netlink socket, say): presence then follows
    // only the detections the program starts itself.
    bool Open();
    int fd() const override;  // -1 until opened
    bool DrainEvents() override;

  private:
    udev* udev_ = nullptr;
    udev_monitor* monitor_ = nullptr;
};

}  // namespace tavlin
