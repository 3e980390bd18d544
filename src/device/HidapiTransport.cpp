#include "device/HidapiTransport.h"
#include "device/SystemTransport.h"

#include <hidapi.h>

#include <fcntl.h>
#include <linux/hidraw.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <mutex>
#include <vector>

#include "device/RawReportNode.h"
#include "device/ReportDescriptor.h"
#include "device/SharedNodeLink.h"
#include "device/UdevUsbPort.h"

namespace tavlin {
namespace {

std::mutex& GlobalHidapiMutex() {
    static std::mutex m;
    return m;
}

// The node's report descriptor: by ioctl on the node, else from sysfs. Empty when neither
// gives it.
std::vector<uint8_t> ReadReportDescriptor(int fd, const std::string& path) {
    if (fd >= 0) {
        int size = 0;
        if (::ioctl(fd, HIDIOCGRDESCSIZE, &size) == 0 && size > 0 &&
            size <= HID_MAX_DESCRIPTOR_SIZE) {
            hidraw_report_descriptor descriptor{};
            descriptor.size = static_cast<uint32_t>(size);
            if (::ioctl(fd, HIDIOCGRDESC, &descriptor) == 0) {
                return {descriptor.value, descriptor.value + size};
            }
        }
    }
    const size_t slash = path.rfind('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    std::ifstream sysfs("/sys/class/hidraw/" + name + "/device/report_descriptor",
                        std::ios::binary);
    std::vector<uint8_t> bytes;
    char c = 0;
    while (bytes.size() < HID_MAX_DESCRIPTOR_SIZE && sysfs.get(c)) {
        bytes.push_back(static_cast<uint8_t>(c));
    }
    return bytes;
}

// Why hid_open_path failed on `path`. hidapi 0.13 keeps neither errno nor its own error text
// after a failed open, so the node is opened once more here, as hidapi opens it, and that
// open's errno is the answer. When this open works, the node itself was not the obstacle
// (hidapi's descriptor queries failed after its open): EIO then.
int OpenErrorOf(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return errno;
    }
    ::close(fd);
    return EIO;
}

class HidapiConnection final : public HidConnection, private RawReportNode {
  public:
    HidapiConnection(hid_device* device, std::string path)
        : device_(device),
          path_(std::move(path)),
          // A second descriptor on the same node, never read: it only tells whether this node
          // was hung up. hidraw gives every opener its own input queue, so it takes no reply
          // away from the descriptor hidapi reads.
          watch_(::open(path_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)),
          link_(*this, FilterFor(watch_, path_)) {}
    ~HidapiConnection() override {
        hid_close(device_);
        if (watch_ >= 0) {
            ::close(watch_);
        }
    }

    IoResult Write(const uint8_t* report, size_t length) override {
        return link_.Write(report, length);
    }
    IoResult Read(uint8_t* report, size_t length, int timeoutMs) override {
        return link_.Read(report, length, timeoutMs);
    }
    void DiscardPendingInput() override { link_.Drain(); }
    bool TapInput(LinkTap* tap) override {
        link_.SetTap(tap);
        return true;
    }

    const std::string& Path() const override { return path_; }

    // True once a transfer found the device gone, or the node we opened was hung up - also when
    // a new device has since appeared under the same node name.
    bool Gone() const override {
        if (link_.gone()) {
            return true;
        }
        if (watch_ < 0) {
            return false;
        }
        pollfd p{watch_, 0, 0};
        return ::poll(&p, 1, 0) > 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
    }

  private:
    static InputReportFilter FilterFor(int fd, const std::string& path) {
        const std::vector<uint8_t> descriptor = ReadReportDescriptor(fd, path);
        return InputReportFilter::FromDescriptor(descriptor.data(), descriptor.size());
    }

    int ReadRaw(uint8_t* report, size_t length, int timeoutMs, int* error) override {
        // hidapi reports a hang-up of the node without setting errno.
        errno = 0;
        const int got = hid_read_timeout(device_, report, length, timeoutMs);
        *error = got < 0 ? errno : 0;
        return got;
    }
    int WriteRaw(const uint8_t* report, size_t length, int* error) override {
        errno = 0;
        const int written = hid_write(device_, report, length);
        *error = written < 0 ? errno : 0;
        return written;
    }

    hid_device* device_;
    std::string path_;
    int watch_;
    SharedNodeLink link_;
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
    // Every collection of a node sits on the node's port; udev is asked once per node.
    std::string lastPath;
    std::string lastPort;
    for (HidInterfaceInfo& info : out) {
        if (info.vendorId != kVendorId) {
            continue;  // nobody chooses among other makers' devices by port
        }
        if (info.path != lastPath) {
            lastPath = info.path;
            lastPort = UsbPortOfHidraw(info.path);
        }
        info.port = lastPort;
    }
    return out;
}

std::unique_ptr<HidConnection> HidapiTransport::Open(const std::string& path, int* errorCode) {
    std::lock_guard lock(GlobalHidapiMutex());
    hid_device* device = hid_open_path(path.c_str());
    if (device == nullptr) {
        *errorCode = OpenErrorOf(path);
        return nullptr;
    }
    *errorCode = 0;
    return std::make_unique<HidapiConnection>(device, path);
}

bool HidapiTransport::DeniesAccess(int errorCode) const {
    return errorCode == EACCES || errorCode == EPERM;
}

std::vector<uint8_t> HidapiTransport::ReportDescriptor(const std::string& path) {
    return ReadReportDescriptor(-1, path);
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

namespace tavlin {

std::unique_ptr<DeviceChangeWatch> HidapiTransport::WatchPresence(std::function<void()> onChange) {
    return WatchDeviceChanges(std::move(onChange));
}

std::unique_ptr<HidTransport> CreateSystemTransport() {
    return std::make_unique<HidapiTransport>();
}

}  // namespace tavlin
