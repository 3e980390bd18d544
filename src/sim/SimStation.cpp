#include "sim/SimStation.h"

#include <algorithm>
#include <cerrno>

#include "sim/SimPresenceAdapter.h"

namespace tavlin::sim {
namespace {

// Watches every device of the station; one call per device's notice.
class StationPresence final : public DeviceChangeWatch {
  public:
    std::vector<std::unique_ptr<DeviceChangeWatch>> watches;
};

std::vector<std::string> Split(std::string_view text, char separator) {
    std::vector<std::string> parts;
    size_t at = 0;
    while (at <= text.size()) {
        const size_t end = std::min(text.find(separator, at), text.size());
        parts.emplace_back(text.substr(at, end - at));
        at = end + 1;
    }
    return parts;
}

}  // namespace

SimStation::SimStation(size_t count) {
    for (size_t k = 1; k <= count; ++k) {
        SimTransport::Options options;
        options.port = "sim-" + std::to_string(k);
        options.pathPrefix = options.port;
        devices_.push_back(std::make_unique<SimTransport>(options));
    }
}

std::vector<HidInterfaceInfo> SimStation::Enumerate() {
    std::vector<HidInterfaceInfo> all;
    for (auto& device : devices_) {
        for (HidInterfaceInfo& info : device->Enumerate()) {
            all.push_back(std::move(info));
        }
    }
    return all;
}

std::vector<std::string> SimStation::ports() const {
    std::vector<std::string> ports;
    for (const auto& device : devices_) {
        ports.push_back(device->port());
    }
    return ports;
}

SimTransport* SimStation::Owner(const std::string& path) {
    // Each device's paths start with its own prefix, wherever it sits now.
    for (auto& device : devices_) {
        if (path.rfind(device->pathPrefix(), 0) == 0) {
            return device.get();
        }
    }
    return nullptr;
}

std::unique_ptr<HidConnection> SimStation::Open(const std::string& path, int* errorCode) {
    if (SimTransport* owner = Owner(path)) {
        return owner->Open(path, errorCode);
    }
    *errorCode = ENOENT;
    return nullptr;
}

std::optional<std::pair<uint16_t, uint16_t>> SimStation::Attributes(HidConnection& connection) {
    if (SimTransport* owner = Owner(connection.Path())) {
        return owner->Attributes(connection);
    }
    return std::nullopt;
}

std::vector<uint8_t> SimStation::ReportDescriptor(const std::string& path) {
    if (SimTransport* owner = Owner(path)) {
        return owner->ReportDescriptor(path);
    }
    return {};
}

std::unique_ptr<DeviceChangeWatch> SimStation::WatchPresence(std::function<void()> onChange) {
    auto presence = std::make_unique<StationPresence>();
    for (auto& device : devices_) {
        presence->watches.push_back(device->WatchPresence(onChange));
    }
    return presence;
}

std::optional<std::map<std::string, std::string>> SplitFaultsByDevice(
    std::string_view text, const std::vector<std::string>& ports, std::string* error) {
    std::string common;
    std::map<std::string, std::string> own;
    std::string* into = &common;
    for (const std::string& item : Split(text, ',')) {
        if (item.rfind("device=", 0) == 0) {
            const std::string port = item.substr(7);
            if (std::find(ports.begin(), ports.end(), port) == ports.end()) {
                *error = "--sim-faults: no simulated device on port \"" + port + "\"";
                return std::nullopt;
            }
            into = &own[port];
            continue;
        }
        if (item.empty()) {
            continue;
        }
        *into += (into->empty() ? "" : ",") + item;
    }
    std::map<std::string, std::string> plans;
    for (const std::string& port : ports) {
        const std::string& mine = own[port];
        plans[port] = common + (!common.empty() && !mine.empty() ? "," : "") + mine;
    }
    return plans;
}

}  // namespace tavlin::sim
