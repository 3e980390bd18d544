#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "device/DeviceChangeWatch.h"
#include "device/LinkTap.h"
#include "platform/WaitResult.h"

namespace tavlin {

inline constexpr uint16_t kVendorId = 0x1FC9;
inline constexpr uint16_t kProductIdWork = 0x0055;
inline constexpr uint16_t kProductIdWork2 = 0x0066;
inline constexpr uint16_t kProductIdUpdate = 0x0042;
inline constexpr uint16_t kVendorUsagePage = 0xFF00;
inline constexpr uint16_t kVendorUsage = 0x0001;
inline constexpr size_t kReportSize = 64;
inline constexpr uint8_t kReportId = 0x03;

inline bool IsOurProduct(uint16_t productId) {
    return productId == kProductIdWork || productId == kProductIdWork2 ||
           productId == kProductIdUpdate;
}

// The collection the device answers commands on; its other collections (the touch digitizer's)
// carry no replies of ours.
inline constexpr bool IsVendorCollection(uint32_t usagePage, uint32_t usage) {
    return usagePage == kVendorUsagePage && usage == kVendorUsage;
}

// Error codes as the log lines print them.
inline constexpr uint32_t kErrorAccessDenied = 5;
inline constexpr uint32_t kErrorInvalidHandle = 6;
inline constexpr uint32_t kErrorSharingViolation = 32;
inline constexpr uint32_t kErrorIoPending = 997;
inline constexpr uint32_t kErrorDeviceNotConnected = 1167;

// One HID top-level collection of one device, as the system lists it.
struct HidInterfaceInfo {
    std::string path;
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint16_t usagePage = 0;
    uint16_t usage = 0;
    // Where the device is plugged: its USB port path ("1-1.4.2" on Linux), the same for the
    // device in its application firmware and in its update environment. Empty when the system
    // does not tell.
    std::string port{};
};

enum class IoStatus { Ok, Timeout, DeviceGone, Error };

struct IoResult {
    IoStatus status = IoStatus::Ok;
    uint32_t code = 0;  // the system's error code for IoStatus::Error
    // A link that knows more than a code (a replayed session that went another way) says it
    // here; it becomes the transfer's reason.
    std::string detail;

    static IoResult Make(IoStatus status, uint32_t code) {
        IoResult result;
        result.status = status;
        result.code = code;
        return result;
    }
    static IoResult Ok() { return Make(IoStatus::Ok, 0); }
    static IoResult Timeout() { return Make(IoStatus::Timeout, WAIT_TIMEOUT); }
    static IoResult Gone() { return Make(IoStatus::DeviceGone, kErrorDeviceNotConnected); }
    static IoResult Error(uint32_t code) { return Make(IoStatus::Error, code); }
    bool ok() const { return status == IoStatus::Ok; }
};

// An open device interface. Write and Read move exactly one report of `length` bytes, report id
// included.
class HidConnection {
  public:
    virtual ~HidConnection() = default;
    virtual IoResult Write(const uint8_t* report, size_t length) = 0;
    // Waits at most timeoutMs for one input report.
    virtual IoResult Read(uint8_t* report, size_t length, int timeoutMs) = 0;
    // Drops input reports that are already queued (a reply that came after its read gave up
    // must not be taken for the reply of the next exchange).
    virtual void DiscardPendingInput() = 0;
    virtual const std::string& Path() const = 0;
    // True once the link knows the device behind this connection is gone (a transfer found it
    // gone, or the node was hung up); a link that cannot tell says false.
    virtual bool Gone() const { return false; }
    // Hands every input report the node gives up to `tap` - other collections' reports and
    // drained ones too, as they come off the node - or stops that with nullptr. False when this
    // link reads one collection only; Read then shows everything it sees.
    virtual bool TapInput(LinkTap* tap) {
        static_cast<void>(tap);
        return false;
    }
};

// The system's HID service: lists collections and opens them. Implemented over hidapi for real
// devices and by the simulated device.
class HidTransport {
  public:
    virtual ~HidTransport() = default;
    virtual std::vector<HidInterfaceInfo> Enumerate() = 0;
    // Returns nullptr when the path cannot be opened; *errorCode then holds the system's code
    // (errno on Linux).
    virtual std::unique_ptr<HidConnection> Open(const std::string& path, int* errorCode) = 0;
    // True when an error code from Open means that the interface is there but may not be opened
    // (the node's permissions on Linux; on Windows the user's rights, or another program that
    // holds the device), not that the device is absent.
    virtual bool DeniesAccess(int errorCode) const {
        static_cast<void>(errorCode);
        return false;
    }
    // What the log says about such a refusal: its cause and remedy on this system.
    virtual std::string AccessRefusalNote() const {
        return "permission denied: install the udev rules";
    }
    // The vendor and product id of an open connection, if the device behind it still answers
    // to its attributes; std::nullopt once it is gone.
    virtual std::optional<std::pair<uint16_t, uint16_t>> Attributes(HidConnection& connection) = 0;
    // The report descriptor of the node behind `path`; empty where the system does not give it.
    virtual std::vector<uint8_t> ReportDescriptor(const std::string& path) {
        static_cast<void>(path);
        return {};
    }
    // The arrivals and removals of this transport's devices: the system's device notices for
    // the system's link, the simulated device's attach and detach events, a replayed session's
    // recorded ones. nullptr where the transport is told of none; presence then follows only
    // the detections the program starts itself.
    virtual std::unique_ptr<DeviceChangeWatch> WatchPresence(std::function<void()> onChange) {
        static_cast<void>(onChange);
        return nullptr;
    }
};

}  // namespace tavlin
