#pragma once
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>

#include "base/Result.h"
#include "device/DeviceChoice.h"
#include "device/HidTransport.h"

namespace tavlin {

inline constexpr int kTransferTimeoutMs = 2000;

// The HID link: at most one open device interface, and the lock that keeps single report
// transfers apart. The main window owns exactly one.
class HidDevice {
  public:
    explicit HidDevice(HidTransport& transport) : transport_(&transport) {}
    HidDevice(const HidDevice&) = delete;
    HidDevice& operator=(const HidDevice&) = delete;

    HidTransport& transport() const { return *transport_; }
    // The open connection, or nullptr (the invalid handle). The returned pointer keeps the
    // connection alive for the length of a transfer even if a detection replaces it meanwhile.
    std::shared_ptr<HidConnection> handle() const;
    void setHandle(std::shared_ptr<HidConnection> handle);
    bool isOpen() const { return handle() != nullptr; }

    // The product's transfer time-out is 2000 ms; tests shorten it.
    int timeoutMs() const { return timeoutMs_; }
    void setTimeoutMs(int ms) { timeoutMs_ = ms; }

    std::mutex& transferLock() { return transferLock_; }

    // Set when a read gave up: the late reply is discarded before the next exchange.
    bool inputMayBeStale = false;
    // Which interfaces arrived since the previous detection; only detections (one at a time)
    // touch it.
    ArrivalGrace arrivals;

  private:
    HidTransport* transport_;
    mutable std::mutex handleMutex_;
    std::shared_ptr<HidConnection> handle_;
    std::mutex transferLock_;
    std::atomic<int> timeoutMs_{kTransferTimeoutMs};
};

// 0 = no matching device; 1 = a device was opened now; 2 = the open device is still there.
// With 0, *why (when given) says NoAccess if a device of ours is there but this user may not
// open it, else NoDevice; with 1 and 2 it is Ok.
int OpenHidDevice(HidDevice& device, uint16_t* productId, Result* why = nullptr);
// Finds the vendor collection of a device of ours and opens it; nullptr when none matches, and
// then *why (when given) tells NoAccess from NoDevice as above.
// *productId is written for every device of ours that was seen (see the .cpp for the rule).
// With `grace`, an interface that arrived since its previous look gets a second to become
// openable (see ArrivalGrace).
std::unique_ptr<HidConnection> FindHidDevice(HidTransport& transport, uint16_t* productId,
                                             Result* why = nullptr, ArrivalGrace* grace = nullptr);
// The transfers carry their outcome up as a Result: NoDevice without an open handle, Timeout,
// DeviceGone or IoError (with the system's code in the reason) from the link.
Result WriteHidDevice(HidDevice& device, const uint8_t* report);
Result ReadHidDevice(HidDevice& device, uint8_t* report);
// Settles a transfer that did not complete at once and writes its log line; false always means
// the transfer failed.
bool GetOverlappedResult_Tav(const IoResult& result);
// One exchange: output report (0x03, command, payload) and its input report. Succeeds only when
// both transfers worked and the reply's status byte is 0x22 (another status is Refused); then
// replyLength bytes from reply byte 3 are copied out. On failure replyData is filled with 0xFF.
Result HidCommand(HidDevice& device, uint8_t command, const uint8_t* payload, uint8_t payloadLength,
                  uint8_t* replyData, uint8_t replyLength);
void CloseHidDevice(HidDevice& device);

}  // namespace tavlin
