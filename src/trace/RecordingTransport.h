#pragma once
#include <mutex>
#include <vector>

#include "device/HidTransport.h"
#include "trace/TraceWriter.h"

namespace tavlin {

// Wraps whichever transport runs and records what its link sees: every output report with how
// its write ended, every input report taken off the node (other collections' and drained ones
// too, where the link can show them), and our device's interfaces coming and going as the
// program's enumerations find them. Everything else is the wrapped transport's.
class RecordingTransport final : public HidTransport {
  public:
    RecordingTransport(HidTransport& inner, TraceWriter& writer) : inner_(inner), writer_(writer) {}

    std::vector<HidInterfaceInfo> Enumerate() override;
    std::unique_ptr<HidConnection> Open(const std::string& path, int* errorCode) override;
    bool DeniesAccess(int errorCode) const override { return inner_.DeniesAccess(errorCode); }
    std::optional<std::pair<uint16_t, uint16_t>> Attributes(HidConnection& connection) override;
    std::vector<uint8_t> ReportDescriptor(const std::string& path) override {
        return inner_.ReportDescriptor(path);
    }
    std::unique_ptr<DeviceChangeWatch> WatchPresence(std::function<void()> onChange) override {
        return inner_.WatchPresence(std::move(onChange));
    }

  private:
    HidTransport& inner_;
    TraceWriter& writer_;
    std::mutex mutex_;
    std::vector<HidInterfaceInfo> present_;  // our interfaces at the last enumeration
    uint64_t looks_ = 0;                     // enumerations so far
};

}  // namespace tavlin
