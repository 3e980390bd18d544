#pragma once
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "device/HidTransport.h"
#include "sim/FaultPlan.h"
#include "sim/SimTransport.h"

namespace tavlin::sim {

// Several simulated devices on one station's hub: device k (from 1) sits on port "sim-k", with
// its own firmware, fault plan and presence, and its interfaces' paths start with its port.
// Each device restarts on its own port, as a real one does on its hub socket (unless a
// move-port fault gives it another).
class SimStation final : public HidTransport {
  public:
    explicit SimStation(size_t count);
    SimStation(const SimStation&) = delete;
    SimStation& operator=(const SimStation&) = delete;

    size_t size() const { return devices_.size(); }
    SimTransport& device(size_t index) { return *devices_.at(index); }
    std::vector<std::string> ports() const;

    std::vector<HidInterfaceInfo> Enumerate() override;
    std::unique_ptr<HidConnection> Open(const std::string& path, int* errorCode) override;
    std::optional<std::pair<uint16_t, uint16_t>> Attributes(HidConnection& connection) override;
    std::vector<uint8_t> ReportDescriptor(const std::string& path) override;
    // Any device's attach or detach, as the system's notices tell of any device on any port.
    std::unique_ptr<DeviceChangeWatch> WatchPresence(std::function<void()> onChange) override;

  private:
    SimTransport* Owner(const std::string& path);

    std::vector<std::unique_ptr<SimTransport>> devices_;
};

// The --sim-faults text of a station: the items before the first "device=PORT" apply to every
// device; those after it to that port's device only, until the next "device=" item. Returns
// each port's own plan text (the common items first), or nullopt with a message when an item
// names no port of the station.
std::optional<std::map<std::string, std::string>> SplitFaultsByDevice(
    std::string_view text, const std::vector<std::string>& ports, std::string* error);

}  // namespace tavlin::sim
