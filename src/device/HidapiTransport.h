#pragma once
#include "device/HidTransport.h"

namespace tavlin {

// The real devices, through hidapi (hidraw backend on Linux). hidapi keeps global error state
// that is not thread-safe, so enumeration and open are serialised across all threads.
class HidapiTransport final : public HidTransport {
  public:
    HidapiTransport();
    ~HidapiTransport() override;
    std::vector<HidInterfaceInfo> Enumerate() override;
    // On failure *errorCode is the errno of opening the node ourselves (see the .cpp).
    std::unique_ptr<HidConnection> Open(const std::string& path, int* errorCode) override;
    bool DeniesAccess(int errorCode) const override;
    std::optional<std::pair<uint16_t, uint16_t>> Attributes(HidConnection& connection) override;
    std::vector<uint8_t> ReportDescriptor(const std::string& path) override;
    std::unique_ptr<DeviceChangeWatch> WatchPresence(std::function<void()> onChange) override;
};

}  // namespace tavlin
