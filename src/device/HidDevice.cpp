#include "device/HidDevice.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "base/Log.h"

namespace tavlin {
namespace {

constexpr uint8_t kStatusAccepted = 0x22;
constexpr size_t kMaxPayload = kReportSize - 2;
constexpr size_t kMaxReplyData = kReportSize - 3;

std::string Hex(unsigned value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%02X", value);
    return text;
}

// The link's outcome of one transfer, for the callers above; `what` names the transfer.
Result LinkResult(const IoResult& io, bool haveHandle, const char* what) {
    if (!haveHandle) {
        return Result::Fail(ResultCode::NoDevice, std::string(what) + ": no device is open");
    }
    switch (io.status) {
        case IoStatus::Ok:
            return Result::Ok();
        case IoStatus::Timeout:
            return Result::Fail(ResultCode::Timeout, std::string(what) + " timed out");
        case IoStatus::DeviceGone:
            return Result::Fail(ResultCode::DeviceGone, std::string(what) + ": device went away");
        case IoStatus::Error:
            break;
    }
    if (!io.detail.empty()) {
        return Result::Fail(ResultCode::IoError, std::string(what) + ": " + io.detail);
    }
    return Result::Fail(ResultCode::IoError,
                        std::string(what) + " failed, error " + std::to_string(io.code));
}

}  // namespace

std::shared_ptr<HidConnection> HidDevice::handle() const {
    std::lock_guard lock(handleMutex_);
    return handle_;
}

void HidDevice::setHandle(std::shared_ptr<HidConnection> handle) {
    std::lock_guard lock(handleMutex_);
    handle_ = std::move(handle);
}

std::string HidDevice::keptPort() const {
    std::lock_guard lock(handleMutex_);
    return keptPort_;
}

void HidDevice::setKeptPort(std::string port) {
    std::lock_guard lock(handleMutex_);
    keptPort_ = std::move(port);
}

std::string HidDevice::openedPort() const {
    std::lock_guard lock(handleMutex_);
    return openedPort_;
}

void HidDevice::setOpenedPort(std::string port) {
    std::lock_guard lock(handleMutex_);
    openedPort_ = std::move(port);
}

KeepingToPort::KeepingToPort(HidDevice& device) : device_(device), previous_(device.keptPort()) {
    const auto open = device.handle();
    if (!open) {
        return;
    }
    const std::vector<AttachedDevice> attached = ListAttachedDevices(device.transport());
    if (attached.size() < 2) {
        return;
    }
    for (const AttachedDevice& one : attached) {
        if (one.path == open->Path() && !one.port.empty()) {
            device.setKeptPort(one.port);
            return;
        }
    }
}

KeepingToPort::~KeepingToPort() {
    device_.setKeptPort(previous_);
}

std::unique_ptr<HidConnection> FindHidDevice(HidTransport& transport, uint16_t* productId,
                                             Result* why, ArrivalGrace* grace,
                                             const std::string& onlyPort, std::string* foundPort) {
    Result outcome = Result::Fail(ResultCode::NoDevice, "no device of ours is attached");
    const std::vector<HidInterfaceInfo> interfaces = transport.Enumerate();
    if (grace != nullptr) {
        grace->Look(interfaces);
    }
    for (const HidInterfaceInfo& info : interfaces) {
        if (info.vendorId != kVendorId || !IsOurProduct(info.productId) ||
            (!onlyPort.empty() && info.port != onlyPort)) {
            continue;
        }
        if (!IsVendorCollection(info.usagePage, info.usage)) {
            // Another collection of our device (its touch collection): it is seen, so its
            // product id is remembered, but it is not the one we talk to.
            *productId = info.productId;
            continue;
        }
        int error = 0;
        std::unique_ptr<HidConnection> connection =
            OpenAfterArrival(transport, info.path, grace, &error);
        if (!connection) {
            const bool denied = transport.DeniesAccess(error);
            const std::string note = denied ? ", " + transport.AccessRefusalNote() : "";
            WriteLogSized(kHidLogBufferSize, "FindHidDevice: cannot open %s (error %d%s)\n",
                          info.path.c_str(), error, note.c_str());
            if (denied) {
                outcome = Result::Fail(ResultCode::NoAccess, "refused to open " + info.path);
            }
            continue;
        }
        *productId = info.productId;
        if (why != nullptr) {
            *why = Result::Ok();
        }
        if (foundPort != nullptr) {
            *foundPort = info.port;
        }
        return connection;
    }
    if (why != nullptr) {
        *why = std::move(outcome);
    }
    return nullptr;
}

int OpenHidDevice(HidDevice& device, uint16_t* productId, Result* why) {
    if (auto current = device.handle()) {
        if (auto ids = device.transport().Attributes(*current);
            ids && ids->first == kVendorId && IsOurProduct(ids->second)) {
            *productId = ids->second;
            if (why != nullptr) {
                *why = Result::Ok();
            }
            return 2;
        }
        device.setHandle(nullptr);
    }
    std::string port;
    std::unique_ptr<HidConnection> found = FindHidDevice(
        device.transport(), productId, why, &device.arrivals, device.keptPort(), &port);
    if (!found) {
        return 0;
    }
    // A device that came back on another port (a lone one is followed there): the log keeps
    // where the work went on.
    const std::string before = device.openedPort();
    if (!before.empty() && !port.empty() && port != before) {
        WriteLogSized(kHidLogBufferSize, "Open hid device: on port %s now, was on port %s\n",
                      port.c_str(), before.c_str());
    }
    device.setOpenedPort(port);
    device.setHandle(std::move(found));
    return 1;
}

bool GetOverlappedResult_Tav(const IoResult& result) {
    switch (result.status) {
        case IoStatus::Ok:
            return true;
        case IoStatus::Timeout:
            WriteLogSized(kHidLogBufferSize, "GetOverlappedResult_Tav failed! ret=%d\n",
                          static_cast<int>(WAIT_TIMEOUT));
            return false;
        case IoStatus::DeviceGone:
            WriteLogSized(kHidLogBufferSize,
                          "GetOverlappedResult_Tav failed! \nret=%d ERROR_DEVICE_NOT_CONNECTED!\n",
                          static_cast<int>(kErrorDeviceNotConnected));
            return false;
        case IoStatus::Error:
            WriteLogSized(kHidLogBufferSize, "GetOverlappedResult_Tav failed! ret=%d !\n",
                          static_cast<int>(result.code));
            return false;
    }
    return false;
}

Result WriteHidDevice(HidDevice& device, const uint8_t* report) {
    auto connection = device.handle();
    IoResult result = IoResult::Error(kErrorInvalidHandle);
    {
        std::lock_guard lock(device.transferLock());
        if (connection) {
            if (device.inputMayBeStale) {
                connection->DiscardPendingInput();
                device.inputMayBeStale = false;
            }
            result = connection->Write(report, kReportSize);
        }
    }
    if (result.ok() || GetOverlappedResult_Tav(result)) {
        return Result::Ok();
    }
    WriteLogSized(kHidLogBufferSize, "WriteHidDevice failed. Device communicates failed!\n");
    return LinkResult(result, connection != nullptr, "write");
}

Result ReadHidDevice(HidDevice& device, uint8_t* report) {
    auto connection = device.handle();
    IoResult result = IoResult::Error(kErrorInvalidHandle);
    {
        std::lock_guard lock(device.transferLock());
        std::memset(report, 0, kReportSize);
        if (connection) {
            result = connection->Read(report, kReportSize, device.timeoutMs());
            if (result.status == IoStatus::Timeout) {
                device.inputMayBeStale = true;
            }
        }
    }
    if (result.ok() || GetOverlappedResult_Tav(result)) {
        return Result::Ok();
    }
    WriteLogSized(kHidLogBufferSize, "ReadHidDevice failed. Device communicates failed!\n");
    return LinkResult(result, connection != nullptr, "read");
}

Result HidCommand(HidDevice& device, uint8_t command, const uint8_t* payload, uint8_t payloadLength,
                  uint8_t* replyData, uint8_t replyLength) {
    const size_t wanted = std::min<size_t>(replyLength, kMaxReplyData);
    if (payloadLength > kMaxPayload || replyLength > kMaxReplyData) {
        // Does not fit in one report: refused, nothing is sent.
        if (replyData != nullptr) {
            std::memset(replyData, 0xFF, replyLength);
        }
        return Result::Fail(ResultCode::BadInput,
                            "command " + Hex(command) + " does not fit in one report");
    }
    uint8_t out[kReportSize] = {};
    out[0] = kReportId;
    out[1] = command;
    if (payloadLength > 0) {
        std::memcpy(out + 2, payload, payloadLength);
    }
    uint8_t in[kReportSize] = {};
    Result result = WriteHidDevice(device, out);
    if (result) {
        result = ReadHidDevice(device, in);
    }
    if (result && in[2] != kStatusAccepted) {
        result = Result::Fail(ResultCode::Refused,
                              "status " + Hex(in[2]) + " for command " + Hex(command));
    }
    if (replyData != nullptr && wanted > 0) {
        if (result) {
            std::memcpy(replyData, in + 3, wanted);
        } else {
            std::memset(replyData, 0xFF, wanted);
        }
    }
    return result;
}

void CloseHidDevice(HidDevice& device) {
    device.setHandle(nullptr);
}

}  // namespace tavlin
