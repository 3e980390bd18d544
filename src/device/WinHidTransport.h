#pragma once
#include <memory>

#include "device/HidTransport.h"
#include "device/WinHidApi.h"

namespace tavlin {

// The real devices on Windows, through the Win32 HID API. Each top-level collection of a device
// is an interface of its own there, so a handle on the vendor collection never sees the touch
// collection's reports (where a system merges them, as Wine 8 does, a read passes them over).
// Transfers are overlapped with a bounded wait; a transfer that timed out is cancelled and reaped
// before the call returns, so the system never writes into a buffer or block that is reused or
// gone.
class WinHidTransport final : public HidTransport {
  public:
    explicit WinHidTransport(std::unique_ptr<WinHidApi> api);
    ~WinHidTransport() override;

    std::vector<HidInterfaceInfo> Enumerate() override;
    std::unique_ptr<HidConnection> Open(const std::string& path, int* errorCode) override;
    bool DeniesAccess(int errorCode) const override;
    std::string AccessRefusalNote() const override;
    std::optional<std::pair<uint16_t, uint16_t>> Attributes(HidConnection& connection) override;
    std::unique_ptr<DeviceChangeWatch> WatchPresence(std::function<void()> onChange) override {
        return api_->WatchDeviceChanges(std::move(onChange));
    }

    // The wait of an output report; input reports wait as long as the caller asks.
    void setWriteTimeoutMs(uint32_t ms) { writeTimeoutMs_ = ms; }
    // How long a failed transfer waits for the system to stop listing a pulled device before it
    // counts as an error of a device that is still there (the listing may lag the failure).
    void setRemovalGraceMs(uint32_t ms) { removalGraceMs_ = ms; }

  private:
    std::unique_ptr<WinHidApi> api_;
    uint32_t writeTimeoutMs_;
    uint32_t removalGraceMs_ = 1000;
};

// The transport over the system's own HID calls (WinHidSystemApi.cpp; Windows builds only).
std::unique_ptr<WinHidApi> CreateWinHidSystemApi();

}  // namespace tavlin
