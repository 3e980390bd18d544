#pragma once
#include <string>

namespace tavlin {

// The USB port path of the device behind a hidraw node ("/dev/hidraw3" -> "1-1.4.2"): the
// sysfs name of its USB device, which stays with the hub socket when the device restarts under
// another product id. Empty when the node is not on USB or udev does not know it.
std::string UsbPortOfHidraw(const std::string& devNode);

}  // namespace tavlin
