#include "device/HidapiTransport.h"

#include <hidapi.h>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <mutex>

namespace tavlin {
namespace {

std::mutex& GlobalHidapiMutex() {
    static std::mutex m;
    return m;
}

class HidapiConnection final : public HidConnection {
  public:
    HidapiConnection(hid_device* device, std::string path)
        : device_(device),
          path_(std::move(path)),
          // A second descriptor on the same node, never read: it only tells whether this node
          // was hung up. hidraw gives every opener its own input queue, so it takes no reply
          // away from the descriptor hidapi reads.
          watch_(::open(path_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)) {}
    ~HidapiConnection() override {
        hid_close(device_);
        if (watch_ >= 0) {
            ::close(watch_);
        }
    }

    IoResult Write(const uint8_t* report, size_t length) override {
        if (gone_) {
            return IoResult::Gone();
        }
        errno = 0;
        const int written = hid_write(device_, report, length);
        const int error = errno;
        if (written == static_cast<int>(length)) {
            return IoResult::Ok();
        }
        if (error == EIO || error == ENODEV || error == ESHUTDOWN || error == EPIPE) {
            gone_ = true;
            return IoResult::Gone();
        }
        return IoResult::Error(static_cast<uint32_t>(error == 0 ? EIO : error));
    }

    IoResult Read(uint8_t* report, size_t length, int timeoutMs) override {
        if (gone_) {
            return IoResult::Gone();
        }
        const int got = hid_read_timeout(device_, report, length, timeoutMs);
        if (got > 0) {
            return IoResult::Ok();
        }
        if (got == 0) {
            return IoResult::Timeout();
        }
        // hidraw reports a hang-up of the node (the device was unplugged) as a poll error.
        gone_ = true;
        return IoResult::Gone();
    }

    void DiscardPendingInput() override {
        uint8_t scratch[kReportSize];
        for (int i = 0; i < 64 && !gone_; ++i) {
            const int got = hid_read_timeout(device_, scratch, sizeof scratch, 0);
            if (got <= 0) {
                gone_ = got < 0;
                return;
            }
        }
    }

    const std::string& Path() const override { return path_; }

    // True once a transfer found the device gone, or the node we opened was hung up - also when
    // a new device has since appeared under the same node name.
    bool Gone() const override {
        if (gone_) {
            return true;
        }
        if (watch_ < 0) {
            return false;
        }
        pollfd p{watch_, 0, 0};
        return ::poll(&p, 1, 0) > 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
    }

  private:
    hid_device* device_;
    std::string path_;
    int watch_;
    std::atomic<bool> gone_{false};  // set by the transferring thread, read by detection
};

}  // namespace

HidapiTransport::HidapiTransport() {
    std::lock_guard lock(GlobalHidapiMutex());
    hid_init();
}

HidapiTransport::~HidapiTransport() = default;  // hid_exit is left to process end

std::vector<HidInterfaceInfo> HidapiTransport::Enumerate() {
    std::lock_guard lock(GlobalHidapiMutex());
    std::vector<HidInterfaceInfo> out;
    hid_device_info* list = hid_enumerate(0, 0);
    for (hid_device_info* d = list; d != nullptr; d = d->next) {
        out.push_back(
            {d->path ? d->path : "", d->vendor_id, d->product_id, d->usage_page, d->usage});
    }
    hid_free_enumeration(list);
    return out;
}

std::unique_ptr<HidConnection> HidapiTransport::Open(const std::string& path, int* errorCode) {
    std::lock_guard lock(GlobalHidapiMutex());
    errno = 0;
    hid_device* device = hid_open_path(path.c_str());
    if (device == nullptr) {
        *errorCode = errno;
        return nullptr;
    }
    *errorCode = 0;
    return std::make_unique<HidapiConnection>(device, path);
}

std::optional<std::pair<uint16_t, uint16_t>> HidapiTransport::Attributes(
    HidConnection& connection) {
    // hid_get_device_info() needs fstat on the node, which is not reliable for every node kind;
    // the enumeration is the dependable source of a device's ids. A connection whose node was
    // hung up has no attributes any more, even if a new device got the same path.
    if (connection.Gone()) {
        return std::nullopt;
    }
    for (const HidInterfaceInfo& info : Enumerate()) {
        if (info.path == connection.Path()) {
            return std::make_pair(info.vendorId, info.productId);
        }
    }
    return std::nullopt;
}

}  // namespace tavlin
