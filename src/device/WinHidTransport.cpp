#include "device/WinHidTransport.h"

#include <algorithm>
#include <cstring>

#include "device/HidDevice.h"

namespace tavlin {
namespace {

constexpr uint32_t kWaitSignalled = 0;
constexpr uint32_t kWaitTimedOut = 258;

IoResult FromErrorCode(uint32_t code) {
    return code == kErrorDeviceNotConnected ? IoResult::Gone() : IoResult::Error(code);
}

class WinHidConnection final : public HidConnection {
  public:
    WinHidConnection(WinHidApi& api, WinHandle handle, std::string path, const WinHidCaps& caps,
                     uint32_t writeTimeoutMs)
        : api_(api),
          handle_(handle),
          path_(std::move(path)),
          caps_(caps),
          writeTimeoutMs_(writeTimeoutMs),
          writeBlock_(api.NewIoBlock()),
          readBlock_(api.NewIoBlock()) {}

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
        return Transfer(writeBlock_, writeTimeoutMs_, &bytes, [&] {
            return api_.StartWrite(handle_, writeBlock_, out.data(), out.size());
        });
    }

    IoResult Read(uint8_t* report, size_t length, int timeoutMs) override {
        // The system wants room for a whole input report; the device's are 64 bytes, but a
        // buffer sized by the collection never makes a read fail.
        std::vector<uint8_t> in(std::max<size_t>(caps_.inputReportLength, length), 0);
        uint32_t bytes = 0;
        const IoResult result =
            Transfer(readBlock_, static_cast<uint32_t>(std::max(timeoutMs, 0)), &bytes,
                     [&] { return api_.StartRead(handle_, readBlock_, in.data(), in.size()); });
        if (result.ok()) {
            std::memcpy(report, in.data(), length);
        }
        return result;
    }

    void DiscardPendingInput() override { api_.FlushInput(handle_); }

    const std::string& Path() const override { return path_; }

  private:
    template <typename Start>
    IoResult Transfer(WinIoBlock* block, uint32_t timeoutMs, uint32_t* bytes, Start start) {
        const uint32_t started = start();
        if (started == 0) {
            return IoResult::Ok();
        }
        if (started != kErrorIoPending) {
            return FromErrorCode(started);
        }
        const uint32_t waited = api_.Wait(block, timeoutMs);
        if (waited == kWaitSignalled) {
            // A signalled event only says the transfer ended; how it ended is in its outcome
            // (a device pulled mid-transfer completes it with 1167).
            const uint32_t outcome = api_.Outcome(handle_, block, bytes);
            return outcome == 0 ? IoResult::Ok() : FromErrorCode(outcome);
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
    WinIoBlock* writeBlock_;
    WinIoBlock* readBlock_;
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
        // Only our own devices need their collection's usage.
        if (identified && info.vendorId == kVendorId && IsOurProduct(info.productId) &&
            api_->Capabilities(handle, &caps)) {
            info.usagePage = caps.usagePage;
            info.usage = caps.usage;
        }
        api_->Close(handle);
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
    auto connection =
        std::make_unique<WinHidConnection>(*api_, handle, path, caps, writeTimeoutMs_);
    if (!connection->usable()) {
        *errorCode = static_cast<int>(api_->LastError());
        return nullptr;  // the connection closes the handle
    }
    *errorCode = 0;
    return connection;
}

// A collection another program or the system holds exclusively answers with the same code; the
// vendor collection is held by nobody else, so for it the code means the user's rights.
bool WinHidTransport::DeniesAccess(int errorCode) const {
    return errorCode == static_cast<int>(kErrorAccessDenied);
}

std::optional<std::pair<uint16_t, uint16_t>> WinHidTransport::Attributes(
    HidConnection& connection) {
    auto* win = dynamic_cast<WinHidConnection*>(&connection);
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    if (win == nullptr || !api_->Attributes(win->handle(), &vendorId, &productId)) {
        return std::nullopt;  // a handle whose device went away has no attributes any more
    }
    return std::make_pair(vendorId, productId);
}

}  // namespace tavlin
