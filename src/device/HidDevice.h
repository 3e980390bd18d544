#pragma once
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "base/Result.h"
#include "device/AttachedDevices.h"
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

    // While not empty, detections open only a device on this port: a device on another port is
    // never opened, nor taken for this one coming back after a restart, while this one is
    // followed through its restarts on the port (into its update environment and back). Set for
    // a whole run when a port was asked for, or for a while by KeepingToPort.
    std::string keptPort() const;
    void setKeptPort(std::string port);
    // The port of the device the last detection opened; empty before one, or where the system
    // does not tell. Only detections set it.
    std::string openedPort() const;
    void setOpenedPort(std::string port);

  private:
    HidTransport* transport_;
    mutable std::mutex handleMutex_;
    std::shared_ptr<HidConnection> handle_;
    std::string keptPort_;    // under handleMutex_
    std::string openedPort_;  // under handleMutex_
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
// openable (see ArrivalGrace); with `onlyPort`, interfaces on other ports are not looked at.
// *foundPort (when given) is the opened device's port.
std::unique_ptr<HidConnection> FindHidDevice(HidTransport& transport, uint16_t* productId,
                                             Result* why = nullptr, ArrivalGrace* grace = nullptr,
                                             const std::string& onlyPort = {},
                                             std::string* foundPort = nullptr);

// While it lives, detections keep to the port of the device that was open when it was made:
// a tool that makes the device restart follows that unit, not whichever of several devices
// comes back first. With that device alone, it adds nothing: a lone device is followed
// wherever it comes back (a hub may give its restart another port), and the detection logs the
// move. Without an open device, or where the system tells no port, it adds nothing either. The
// port kept before (the one a run was started on) holds again once it ends.
class KeepingToPort {
  public:
    explicit KeepingToPort(HidDevice& device);
    ~KeepingToPort();
    KeepingToPort(const KeepingToPort&) = delete;
    KeepingToPort& operator=(const KeepingToPort&) = delete;

  private:
    HidDevice& device_;
    std::string previous_;
};
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
