#include "device/AttachedDevices.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace tavlin {

std::vector<AttachedDevice> ListAttachedDevices(HidTransport& transport) {
    std::vector<AttachedDevice> devices;
    for (const HidInterfaceInfo& info : transport.Enumerate()) {
        if (info.vendorId != kVendorId || !IsOurProduct(info.productId) ||
            !IsVendorCollection(info.usagePage, info.usage)) {
            continue;
        }
        devices.push_back({info.port, info.vendorId, info.productId, info.path});
    }
    return devices;
}

std::string PortList(const std::vector<AttachedDevice>& devices) {
    std::string text;
    for (const AttachedDevice& device : devices) {
        text += (text.empty() ? "" : ", ") + (device.port.empty() ? "?" : device.port);
    }
    return text;
}

void ArrivalGrace::Look(const std::vector<HidInterfaceInfo>& interfaces) {
    std::vector<std::string> now;
    for (const HidInterfaceInfo& info : interfaces) {
        now.push_back(info.path);
    }
    arrived_.clear();
    if (looked_) {
        for (const std::string& path : now) {
            if (std::find(known_.begin(), known_.end(), path) == known_.end()) {
                arrived_.push_back(path);
            }
        }
    }
    known_ = std::move(now);
    looked_ = true;
}

bool ArrivalGrace::JustArrived(const std::string& path) const {
    return std::find(arrived_.begin(), arrived_.end(), path) != arrived_.end();
}

std::unique_ptr<HidConnection> OpenAfterArrival(HidTransport& transport, const std::string& path,
                                                const ArrivalGrace* grace, int* error) {
    using namespace std::chrono_literals;
    std::unique_ptr<HidConnection> connection = transport.Open(path, error);
    if (connection || grace == nullptr || !grace->JustArrived(path)) {
        return connection;
    }
    const auto until = std::chrono::steady_clock::now() + 1s;
    while (!connection && std::chrono::steady_clock::now() < until) {
        std::this_thread::sleep_for(50ms);
        connection = transport.Open(path, error);
    }
    return connection;
}

}  // namespace tavlin
