#pragma once
#include <string>
#include <vector>

namespace tavlin {

// The port a device is plugged into, from the location path Windows keeps for it, e.g.
// "PCIROOT(0)#PCI(1400)#USBROOT(0)#USB(4)#USB(2)#USBMI(0)" -> "1400-4.2": the host controller
// (its PCI functions down from the root, '.' between) and, after '-', the hub ports from the
// root hub down to the device. The interface of a composite device (USBMI) and whatever lies
// below it are the same port. Short enough to type after --device, and fit for a file name.
// Empty when the path does not lead through a USB root hub to a port, or does not read as a
// location path.
std::string PortFromLocationPath(const std::string& locationPath);

// The port of the first of a device's location paths that gives one (Windows lists the PCI
// path and the ACPI path of the same place; only the first names the hub ports).
std::string PortFromLocationPaths(const std::vector<std::string>& locationPaths);

}  // namespace tavlin
