#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "device/HidTransport.h"

namespace tavlin {

// One device of ours as the system lists it: the collection we talk to, and where it sits.
struct AttachedDevice {
    std::string port;  // empty when the system does not tell
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    std::string path;  // of its vendor collection
    bool inUpdateEnvironment() const { return productId == kProductIdUpdate; }
};

// Every attached device of ours that has a collection to talk to, in the system's order.
std::vector<AttachedDevice> ListAttachedDevices(HidTransport& transport);
// Their ports for a message or a log line: "1-1.2, 1-1.3" ("?" for one whose port is unknown).
std::string PortList(const std::vector<AttachedDevice>& devices);

// Keeps the paths of the interfaces seen at the previous look, so an open that fails on one
// that has just arrived can be told apart: right after an arrival the system may not be ready to
// open the node (udev still setting its permissions), so such an open is tried again for up to a
// second before it counts. Interfaces present at the first look had their time.
class ArrivalGrace {
  public:
    void Look(const std::vector<HidInterfaceInfo>& interfaces);
    bool JustArrived(const std::string& path) const;

  private:
    bool looked_ = false;
    std::vector<std::string> known_;
    std::vector<std::string> arrived_;
};

// Opens `path`; when that fails on an interface that just arrived, tries again every 50 ms for
// up to a second. *error holds the last attempt's code.
std::unique_ptr<HidConnection> OpenAfterArrival(HidTransport& transport, const std::string& path,
                                                const ArrivalGrace* grace, int* error);

}  // namespace tavlin
