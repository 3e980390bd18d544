#include "device/UdevUsbPort.h"

#include <libudev.h>

namespace tavlin {

std::string UsbPortOfHidraw(const std::string& devNode) {
    const size_t slash = devNode.rfind('/');
    const std::string name = slash == std::string::npos ? devNode : devNode.substr(slash + 1);
    udev* context = udev_new();
    if (context == nullptr) {
        return {};
    }
    std::string port;
    if (udev_device* node =
            udev_device_new_from_subsystem_sysname(context, "hidraw", name.c_str())) {
        // The parent belongs to the node's reference; it is not released on its own.
        if (udev_device* usb =
                udev_device_get_parent_with_subsystem_devtype(node, "usb", "usb_device")) {
            if (const char* sysname = udev_device_get_sysname(usb)) {
                port = sysname;
            }
        }
        udev_device_unref(node);
    }
    udev_unref(context);
    return port;
}

}  // namespace tavlin
