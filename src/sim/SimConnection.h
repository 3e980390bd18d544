#pragma once
#include <chrono>
#include <deque>
#include <memory>
#include <optional>
#include <string>

#include "device/HidTransport.h"
#include "sim/SimDeviceInstance.h"
#include "sim/SimTypes.h"

namespace tavlin::sim {

class SimTransport;

// An open collection of a simulated device. Writes go to the device through the transport;
// replies wait in this connection's input queue until their arrival time. Must not outlive the
// transport that opened it.
class SimConnection final : public HidConnection {
  public:
    using Clock = std::chrono::steady_clock;

    SimConnection(SimTransport& transport, std::shared_ptr<SimDeviceInstance> instance,
                  std::string path, bool vendorCollection);

    IoResult Write(const uint8_t* report, size_t length) override;
    IoResult Read(uint8_t* report, size_t length, int timeoutMs) override;
    void DiscardPendingInput() override;
    const std::string& Path() const override { return path_; }

    const std::shared_ptr<SimDeviceInstance>& instance() const { return instance_; }
    const SimTransport* transport() const { return &transport_; }
    // Queues an input report that can be read from `ready` on.
    void Deliver(const Report& report, Clock::time_point ready,
                 std::optional<uint16_t> reenumerateAs);

  private:
    struct Pending {
        Report report;
        Clock::time_point ready;
        std::optional<uint16_t> reenumerateAs;
    };

    SimTransport& transport_;
    std::shared_ptr<SimDeviceInstance> instance_;
    std::string path_;
    bool vendorCollection_;
    std::deque<Pending> queue_;  // guarded by instance_->mutex
};

}  // namespace tavlin::sim
