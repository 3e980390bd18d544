#include "device/UdevMonitor.h"

#include <libudev.h>

#include <cstring>

#include "base/Log.h"

namespace tavlin {

UdevMonitor::~UdevMonitor() {
    if (monitor_ != nullptr) {
        udev_monitor_unref(monitor_);
    }
    if (udev_ != nullptr) {
        udev_unref(udev_);
    }
}

bool UdevMonitor::Open() {
    if (monitor_ != nullptr) {
        return true;
    }
    udev_ = udev_new();
    if (udev_ == nullptr) {
        WriteLog("Hot-plug: udev is not available\n");
        return false;
    }
    // "udev": the events after the rules ran, so the hidraw node exists and has its rights.
    monitor_ = udev_monitor_new_from_netlink(udev_, "udev");
    if (monitor_ == nullptr ||
        udev_monitor_filter_add_match_subsystem_devtype(monitor_, "hidraw", nullptr) < 0 ||
        udev_monitor_filter_add_match_subsystem_devtype(monitor_, "hid", nullptr) < 0 ||
        udev_monitor_enable_receiving(monitor_) < 0) {
        WriteLog("Hot-plug: the udev monitor cannot be set up\n");
        if (monitor_ != nullptr) {
            udev_monitor_unref(monitor_);
            monitor_ = nullptr;
        }
        return false;
    }
    return true;
}

int UdevMonitor::fd() const {
    return monitor_ != nullptr ? udev_monitor_get_fd(monitor_) : -1;
}

bool UdevMonitor::DrainEvents() {
    if (monitor_ == nullptr) {
        return false;
    }
    bool changed = false;
    // The monitor's socket does not block: this ends when nothing more is queued.
    while (udev_device* device = udev_monitor_receive_device(monitor_)) {
        const char* action = udev_device_get_action(device);
        if (action != nullptr &&
            (std::strcmp(action, "add") == 0 || std::strcmp(action, "remove") == 0)) {
            changed = true;
        }
        udev_device_unref(device);
    }
    return changed;
}

}  // namespace tavlin
