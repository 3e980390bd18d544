#pragma once
#include <condition_variable>
#include <memory>
#include <mutex>
#include <set>
#include <vector>

#include "device/ForwardingTransport.h"
#include "trace/TraceWriter.h"

namespace tavlin {

// Wraps whichever transport runs and records what its link sees: every output report with how
// its write ended, every input report taken off the node (other collections' and drained ones
// too, where the link can show them), and our device's interfaces coming and going as the
// program's enumerations find them. Everything else is the wrapped transport's.
// The link calls in flight on the recorded nodes. A removal is written only once every call
// that was under way when it was seen has ended: the reply that made the device restart, taken
// off the node just before it left, is written before the removal it caused, even when the
// thread that took it was preempted in between.
class LinkCalls {
  public:
    uint64_t Begin();
    void End(uint64_t call);
    // Waits (at most `limit`) until the calls begun so far have ended.
    void WaitForCallsSoFar(std::chrono::milliseconds limit);

  private:
    std::mutex mutex_;
    std::condition_variable ended_;
    std::set<uint64_t> active_;
    uint64_t next_ = 1;
};

class RecordingTransport final : public ForwardingTransport {
  public:
    RecordingTransport(HidTransport& inner, TraceWriter& writer)
        : ForwardingTransport(inner), writer_(writer), calls_(std::make_shared<LinkCalls>()) {}

    std::vector<HidInterfaceInfo> Enumerate() override;
    std::unique_ptr<HidConnection> Open(const std::string& path, int* errorCode) override;
    std::optional<std::pair<uint16_t, uint16_t>> Attributes(HidConnection& connection) override;
    // Each notice the system gives is recorded where it came, before the program hears of it:
    // a replay gives the program those notices and no others.
    std::unique_ptr<DeviceChangeWatch> WatchPresence(std::function<void()> onChange) override;

  private:
    TraceWriter& writer_;
    const std::shared_ptr<LinkCalls> calls_;  // shared with the connections, which may outlive us
    std::mutex mutex_;
    std::vector<HidInterfaceInfo> present_;  // our interfaces at the last enumeration
    uint64_t looks_ = 0;                     // enumerations so far
};

}  // namespace tavlin
