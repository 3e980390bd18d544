#pragma once
#include <chrono>
#include <deque>
#include <memory>
#include <optional>
#include <string>

#include "device/HidTransport.h"
#include "device/RawReportNode.h"
#include "device/SharedNodeLink.h"
#include "sim/SimDeviceInstance.h"
#include "sim/SimTypes.h"

namespace tavlin::sim {

class SimTransport;

// An open collection of a simulated device. Writes go to the device through the transport;
// input reports wait in this connection's queue until their arrival time. The vendor
// collection is read as the host's link reads a shared node: other collections' reports that
// turn up on it (a touch collection sharing the node, a stray report of a fault plan) are
// skipped, and what is queued is dropped before each write. Must not outlive the transport
// that opened it.
class SimConnection final : public HidConnection, private RawReportNode {
  public:
    using Clock = std::chrono::steady_clock;

    // `receivesTouch`: the touch collection's reports arrive here (its own collection, or a
    // node shared with the vendor collection).
    SimConnection(SimTransport& transport, std::shared_ptr<SimDeviceInstance> instance,
                  std::string path, bool vendorCollection, bool receivesTouch);
    ~SimConnection() override;
    SimConnection(const SimConnection&) = delete;
    SimConnection& operator=(const SimConnection&) = delete;

    IoResult Write(const uint8_t* report, size_t length) override;
    IoResult Read(uint8_t* report, size_t length, int timeoutMs) override;
    void DiscardPendingInput() override;
    bool TapInput(LinkTap* tap) override;
    const std::string& Path() const override { return path_; }

    const std::shared_ptr<SimDeviceInstance>& instance() const { return instance_; }
    const SimTransport* transport() const { return &transport_; }
    bool receivesTouch() const { return receivesTouch_; }
    // Queues an input report that can be read from `ready` on.
    void Deliver(const Report& report, Clock::time_point ready,
                 std::optional<uint16_t> reenumerateAs);

    // The same with the instance's mutex already held by the caller.
    void QueueLocked(const Report& report, Clock::time_point ready);

  private:
    struct Pending {
        Report report;
        Clock::time_point ready;
        std::optional<uint16_t> reenumerateAs;
    };

    int ReadRaw(uint8_t* report, size_t length, int timeoutMs, int* error) override;
    int WriteRaw(const uint8_t* report, size_t length, int* error) override;

    SimTransport& transport_;
    std::shared_ptr<SimDeviceInstance> instance_;
    std::string path_;
    bool vendorCollection_;
    bool receivesTouch_;
    SharedNodeLink link_;
    std::deque<Pending> queue_;  // guarded by instance_->mutex
};

}  // namespace tavlin::sim
