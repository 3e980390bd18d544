#include "device/WinHidTransport.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstring>
#include <string>
#include <thread>

#include "base/Log.h"
#include "device/HidDevice.h"
#include "device/UsbPortPath.h"

namespace tavlin {
namespace {

using Clock = std::chrono::steady_clock;

constexpr uint32_t kWaitSignalled = 0;
constexpr uint32_t kWaitTimedOut = 258;
constexpr uint32_t kErrorWriteFault = 29;  // ERROR_WRITE_FAULT
constexpr auto kListingPoll = std::chrono::milliseconds(50);

uint32_t RemainingMs(Clock::time_point deadline) {
    const auto left = deadline - Clock::now();
    return left <= Clock::duration::zero()
               ? 0
               : static_cast<uint32_t>(std::chrono::ceil<std::chrono::milliseconds>(left).count());
}

class WinHidConnection final : public HidConnection {
  public:
    WinHidConnection(WinHidApi& api, WinHandle handle, std::string path, const WinHidCaps& caps,
                     uint32_t writeTimeoutMs, uint32_t removalGraceMs)
        : api_(api),
          handle_(handle),
          path_(std::move(path)),
          caps_(caps),
          writeTimeoutMs_(writeTimeoutMs),
          removalGrace_(removalGraceMs),
          writeBlock_(api.NewIoBlock()),
          readBlock_(api.NewIoBlock()) {
        for (uint8_t id : caps.vendorInputReportIds) {
            accepted_[id] = true;
        }
        acceptAll_ = caps.vendorInputReportIds.empty();
    }

    ~WinHidConnection() override {
        // Every transfer was completed or reaped before its call returned: nothing is pending.
        api_.Close(handle_);
        if (writeBlock_ != nullptr) {
            api_.DeleteIoBlock(writeBlock_);
        }
        if (readBlock_ != nullptr) {
            api_.DeleteIoBlock(readBlock_);
        }
    }

    bool usable() const { return writeBlock_ != nullptr && readBlock_ != nullptr; }
    WinHandle handle() const { return handle_; }

    IoResult Write(const uint8_t* report, size_t length) override {
        // The system takes exactly the collection's output report length; pad with zeros.
        std::vector<uint8_t> out(std::max<size_t>(caps_.outputReportLength, length), 0);
        std::memcpy(out.data(), report, length);
        uint32_t bytes = 0;
        const IoResult result = Transfer(writeBlock_, writeTimeoutMs_, &bytes, [&] {
            return api_.StartWrite(handle_, writeBlock_, out.data(), out.size(), &bytes);
        });
        // A driver may count the report without its id (Wine's count is one byte short); any
        // other count means the device did not get the report whole.
        if (!result.ok() || bytes == out.size() || bytes + 1 == out.size()) {
            return result;
        }
        WriteLog("WriteFile wrote %u of %zu bytes\n", bytes, out.size());
        IoResult shortWrite = IoResult::Error(kErrorWriteFault);
        shortWrite.detail =
            "wrote " + std::to_string(bytes) + " of " + std::to_string(out.size()) + " bytes";
        return shortWrite;
    }

    IoResult Read(uint8_t* report, size_t length, int timeoutMs) override {
        // The system wants room for a whole input report; the device's are 64 bytes, but a
        // buffer sized by the collection never makes a read fail.
        std::vector<uint8_t> in(std::max<size_t>(caps_.inputReportLength, length), 0);
        const auto deadline = Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
        for (;;) {
            uint32_t bytes = 0;
            const IoResult result = Transfer(readBlock_, RemainingMs(deadline), &bytes, [&] {
                return api_.StartRead(handle_, readBlock_, in.data(), in.size(), &bytes);
            });
            if (!result.ok()) {
                return result;
            }
            // Windows gives each collection a handle of its own, so only our replies arrive
            // here. A system that merges the collections into one interface (Wine 8) delivers
            // the touch reports on this handle too: they are not replies, and not errors.
            if (acceptAll_ || accepted_[in[0]]) {
                std::memcpy(report, in.data(), length);
                return result;
            }
            if (Clock::now() >= deadline) {
                return IoResult::Timeout();
            }
        }
    }

    void DiscardPendingInput() override { api_.FlushInput(handle_); }

    const std::string& Path() const override { return path_; }
    bool Gone() const override { return gone_; }

  private:
    // A failed transfer. Pulling the device fails it with a code that depends on the driver
    // (1167 from most, 5 from others and from Wine), and 5 is also what a refused transfer
    // gives: whether the device is still listed decides.
    IoResult Failure(uint32_t code) {
        if (code == kErrorDeviceNotConnected) {
            gone_ = true;
            return IoResult::Gone();
        }
        const auto deadline = Clock::now() + removalGrace_;
        for (;;) {
            const std::vector<std::string> paths = api_.InterfacePaths();
            if (std::find(paths.begin(), paths.end(), path_) == paths.end()) {
                gone_ = true;
                return IoResult::Gone();
            }
            if (Clock::now() >= deadline) {
                return IoResult::Error(code);
            }
            std::this_thread::sleep_for(kListingPoll);
        }
    }

    // A transfer that completed leaves its byte count in *bytes; whether that is enough is the
    // caller's to judge.
    template <typename Start>
    IoResult Transfer(WinIoBlock* block, uint32_t timeoutMs, uint32_t* bytes, Start start) {
        if (gone_) {
            return IoResult::Gone();
        }
        const uint32_t started = start();
        if (started == 0) {
            return IoResult::Ok();
        }
        if (started != kErrorIoPending) {
            return Failure(started);
        }
        const uint32_t waited = api_.Wait(block, timeoutMs);
        if (waited == kWaitSignalled) {
            // A signalled event only says the transfer ended; how it ended is in its outcome
            // (a device pulled mid-transfer completes it with 1167).
            const uint32_t outcome = api_.Outcome(handle_, block, bytes);
            return outcome == 0 ? IoResult::Ok() : Failure(outcome);
        }
        const uint32_t waitError = waited == kWaitTimedOut ? 0 : api_.LastError();
        api_.CancelAndReap(handle_, block);
        return waited == kWaitTimedOut ? IoResult::Timeout() : IoResult::Error(waitError);
    }

    WinHidApi& api_;
    WinHandle handle_;
    std::string path_;
    WinHidCaps caps_;
    uint32_t writeTimeoutMs_;
    std::chrono::milliseconds removalGrace_;
    WinIoBlock* writeBlock_;
    WinIoBlock* readBlock_;
    std::array<bool, 256> accepted_{};  // input report ids of our replies
    bool acceptAll_ = true;
    std::atomic<bool> gone_{false};  // set by the transferring thread, read by detection
};

}  // namespace

WinHidTransport::WinHidTransport(std::unique_ptr<WinHidApi> api)
    : api_(std::move(api)), writeTimeoutMs_(kTransferTimeoutMs) {}

WinHidTransport::~WinHidTransport() = default;

std::vector<HidInterfaceInfo> WinHidTransport::Enumerate() {
    std::vector<HidInterfaceInfo> out;
    for (const std::string& path : api_->InterfacePaths()) {
        uint32_t error = 0;
        WinHandle handle = api_->Open(path, false, &error);
        if (handle == nullptr) {
            continue;
        }
        HidInterfaceInfo info;
        info.path = path;
        const bool identified = api_->Attributes(handle, &info.vendorId, &info.productId);
        WinHidCaps caps;
        // Only our own devices need their collection's usage and their port.
        const bool ours = identified && info.vendorId == kVendorId && IsOurProduct(info.productId);
        if (ours && api_->Capabilities(handle, &caps)) {
            info.usagePage = caps.usagePage;
            info.usage = caps.usage;
        }
        api_->Close(handle);
        if (ours) {
            info.port = PortFromLocationPaths(api_->LocationPaths(path));
        }
        if (identified) {
            out.push_back(std::move(info));
        }
    }
    return out;
}

std::unique_ptr<HidConnection> WinHidTransport::Open(const std::string& path, int* errorCode) {
    uint32_t error = 0;
    WinHandle handle = api_->Open(path, true, &error);
    if (handle == nullptr) {
        *errorCode = static_cast<int>(error);
        return nullptr;
    }
    WinHidCaps caps;
    if (!api_->Capabilities(handle, &caps)) {
        caps.inputReportLength = caps.outputReportLength = static_cast<uint16_t>(kReportSize);
    }
    auto connection = std::make_unique<WinHidConnection>(*api_, handle, path, caps, writeTimeoutMs_,
                                                         removalGraceMs_);
    if (!connection->usable()) {
        *errorCode = static_cast<int>(api_->LastError());
        return nullptr;  // the connection closes the handle
    }
    *errorCode = 0;
    return connection;
}

// The vendor collection is there but refused: this user's rights (access denied), or another
// program that opened it without sharing (sharing violation). Either way the device is not
// absent, and the operator can do something about it.
bool WinHidTransport::DeniesAccess(int errorCode) const {
    return errorCode == static_cast<int>(kErrorAccessDenied) ||
           errorCode == static_cast<int>(kErrorSharingViolation);
}

std::string WinHidTransport::AccessRefusalNote() const {
    return "refused: another program holds it, or this user has no right to open it";
}

std::optional<std::pair<uint16_t, uint16_t>> WinHidTransport::Attributes(
    HidConnection& connection) {
    auto* win = dynamic_cast<WinHidConnection*>(&connection);
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    if (win == nullptr || win->Gone() || !api_->Attributes(win->handle(), &vendorId, &productId)) {
        return std::nullopt;  // a handle whose device went away has no attributes any more
    }
    return std::make_pair(vendorId, productId);
}

}  // namespace tavlin
