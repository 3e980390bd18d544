#include "UmockdevFixture.h"

#include <fcntl.h>
#include <linux/hidraw.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <umockdev.h>
#include <unistd.h>

#include <stdlib.h>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace tavlin::e2e {
namespace {

constexpr const char* kPreloadName = "libumockdev-preload.so.0";
constexpr const char* kReexecMarker = "TAVLIN_E2E_PRELOAD_TRIED";

bool PreloadInstalled() {
    for (const char* dir :
         {"/usr/lib/x86_64-linux-gnu", "/usr/lib/aarch64-linux-gnu", "/usr/lib64", "/usr/lib",
          "/usr/local/lib", "/lib/x86_64-linux-gnu", "/lib64", "/lib"}) {
        if (access((std::string(dir) + "/" + kPreloadName).c_str(), R_OK) == 0) {
            return true;
        }
    }
    return false;
}

bool PreloadRequested() {
    const char* preload = std::getenv("LD_PRELOAD");
    return preload != nullptr && std::strstr(preload, "libumockdev-preload") != nullptr;
}

// The preload must be in place before the first libc call it wraps, so the binary starts
// itself over with it, once, before main and before gtest parses anything.
__attribute__((constructor)) void RestartUnderPreload() {
    if (PreloadRequested() || std::getenv(kReexecMarker) != nullptr || !PreloadInstalled()) {
        return;
    }
    setenv(kReexecMarker, "1", 1);
    std::string preload = kPreloadName;
    if (const char* previous = std::getenv("LD_PRELOAD"); previous && *previous) {
        preload += std::string(":") + previous;
    }
    setenv("LD_PRELOAD", preload.c_str(), 1);
    // An AddressSanitizer build insists on being first in the library list; the preload only
    // wraps libc calls and passes them on, so the order does not matter to it here.
    std::string asan = "verify_asan_link_order=0";
    if (const char* previous = std::getenv("ASAN_OPTIONS"); previous && *previous) {
        asan = std::string(previous) + ":" + asan;
    }
    setenv("ASAN_OPTIONS", asan.c_str(), 1);
    std::ifstream cmdline("/proc/self/cmdline", std::ios::binary);
    const std::string all{std::istreambuf_iterator<char>(cmdline),
                          std::istreambuf_iterator<char>()};
    std::vector<std::string> args;
    for (size_t at = 0; at < all.size();) {
        const size_t end = all.find('\0', at);
        args.push_back(all.substr(at, end - at));
        at = end == std::string::npos ? all.size() : end + 1;
    }
    std::vector<char*> argv;
    for (std::string& a : args) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    execv("/proc/self/exe", argv.data());
    // Not restarted: the tests see no mock environment and skip.
}

// A touch screen collection (usage page 0x0D, usage 0x04, report 1) first, as the real
// device lists it, then the vendor collection the program talks to (0xFF00/0x01, report 3,
// 63 data bytes each way).
const uint8_t kOurDescriptor[] = {
    0x05, 0x0D, 0x09, 0x04, 0xA1, 0x01, 0x85, 0x01, 0x09, 0x42, 0x15, 0x00, 0x25, 0x01, 0x75, 0x01,
    0x95, 0x01, 0x81, 0x02, 0x75, 0x07, 0x95, 0x01, 0x81, 0x03, 0xC0, 0x06, 0x00, 0xFF, 0x09, 0x01,
    0xA1, 0x01, 0x85, 0x03, 0x09, 0x01, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x75, 0x08, 0x95, 0x3F, 0x81,
    0x02, 0x09, 0x01, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x75, 0x08, 0x95, 0x3F, 0x91, 0x02, 0xC0};

// The same with the vendor collection's input report under id 7 (its output report stays 3):
// replies then carry 7, which only a link that reads the descriptor takes for ours.
const uint8_t kOurDescriptorInput7[] = {
    0x05, 0x0D, 0x09, 0x04, 0xA1, 0x01, 0x85, 0x01, 0x09, 0x42, 0x15, 0x00, 0x25,
    0x01, 0x75, 0x01, 0x95, 0x01, 0x81, 0x02, 0x75, 0x07, 0x95, 0x01, 0x81, 0x03,
    0xC0, 0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x07, 0x09, 0x01, 0x15,
    0x00, 0x26, 0xFF, 0x00, 0x75, 0x08, 0x95, 0x3F, 0x81, 0x02, 0x85, 0x03, 0x09,
    0x01, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x75, 0x08, 0x95, 0x3F, 0x91, 0x02, 0xC0};

// For Wine: the vendor collection first, then the touch collection. Wine 8 lists one interface
// per device with the first collection's usage, where Windows lists one per collection.
const uint8_t kOurDescriptorVendorFirst[] = {
    0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x03, 0x09, 0x01, 0x15, 0x00, 0x26, 0xFF, 0x00,
    0x75, 0x08, 0x95, 0x3F, 0x81, 0x02, 0x09, 0x01, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x75, 0x08, 0x95,
    0x3F, 0x91, 0x02, 0xC0, 0x05, 0x0D, 0x09, 0x04, 0xA1, 0x01, 0x85, 0x01, 0x09, 0x42, 0x15, 0x00,
    0x25, 0x01, 0x75, 0x01, 0x95, 0x01, 0x81, 0x02, 0x75, 0x07, 0x95, 0x01, 0x81, 0x03, 0xC0};

// Our touch collection alone.
const uint8_t kTouchOnlyDescriptor[] = {0x05, 0x0D, 0x09, 0x04, 0xA1, 0x01, 0x85, 0x01, 0x09,
                                        0x42, 0x15, 0x00, 0x25, 0x01, 0x75, 0x01, 0x95, 0x01,
                                        0x81, 0x02, 0x75, 0x07, 0x95, 0x01, 0x81, 0x03, 0xC0};

// Somebody else's device: a single vendor collection of its own page.
const uint8_t kForeignDescriptor[] = {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x15, 0x00, 0x26,
                                      0xFF, 0x00, 0x75, 0x08, 0x95, 0x40, 0x81, 0x02, 0xC0};

std::string Hex4(uint16_t v) {
    char s[8];
    std::snprintf(s, sizeof s, "%04x", v);
    return s;
}

}  // namespace

std::string MockEnvironmentMissing() {
    if (!PreloadRequested()) {
        return PreloadInstalled()
                   ? "the process could not be restarted with libumockdev-preload.so.0"
                   : "libumockdev-preload.so.0 is not installed (package umockdev)";
    }
    // LD_PRELOAD names it; check that it was really loaded (ld.so ignores a missing one).
    std::ifstream maps("/proc/self/maps");
    const std::string text{std::istreambuf_iterator<char>(maps), std::istreambuf_iterator<char>()};
    if (text.find("libumockdev-preload") == std::string::npos) {
        return "LD_PRELOAD names libumockdev-preload.so.0 but it was not loaded";
    }
    return {};
}

struct PluggedDevice {
    UmockdevBed* bed = nullptr;
    bool ours = false;
    bool touchOnly = false;
    bool forWine = false;          // vendor collection first, one report per read of the node
    uint8_t inputReportId = 0x03;  // of the vendor collection's replies
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    int minor = 0;
    std::string port;                      // the USB device's name: where it is plugged
    sim::SimFirmware* firmware = nullptr;  // the model behind it
    std::string usbPath, interfacePath, hidPath, rawPath, devNode;
    UMockdevIoctlBase* ioctl = nullptr;
    int deviceFd = -1;
    // The bed's own hold on the node's terminal side. Without it a PTY whose other side nobody
    // holds reports a hang-up that poll cannot wait through, and serving turns into 1 ms naps
    // that cost every exchange up to a millisecond each way.
    int holdFd = -1;
    int stopFd = -1;
    std::thread server;
    bool unplugged = false;
    // Replies and touches written from two threads must not interleave inside a report.
    std::mutex writeMutex;
    std::chrono::steady_clock::time_point lastWrite;  // under writeMutex

    void Send(const uint8_t* report, size_t length) {
        std::lock_guard lock(writeMutex);
        if (forWine) {
            WaitUntilTaken();
        }
        [[maybe_unused]] const ssize_t n = write(deviceFd, report, length);
        lastWrite = std::chrono::steady_clock::now();
    }

    // Until the node's reader has taken the report written last (bounded: a reader that has
    // gone leaves it behind). The terminal counts the unread bytes on the bed's hold on the
    // node; the preload answers libc's ioctl there with ENOTTY, so the system call goes out
    // directly. Written bytes reach that count only once the kernel has passed them on from
    // the writing side, so a count of 0 just after a write says nothing: they get time to
    // arrive first.
    void WaitUntilTaken() const {
        std::this_thread::sleep_until(lastWrite + std::chrono::milliseconds(50));
        for (int waited = 0; holdFd >= 0 && waited < 5000; ++waited) {
            int unread = 0;
            if (syscall(SYS_ioctl, holdFd, FIONREAD, &unread) != 0 || unread == 0) {
                return;
            }
            usleep(1000);
        }
    }

    void StopServing() {
        if (server.joinable()) {
            const uint64_t one = 1;
            [[maybe_unused]] ssize_t n = write(stopFd, &one, sizeof one);
            server.join();
        }
        if (holdFd >= 0) {
            close(holdFd);
            holdFd = -1;
        }
        if (stopFd >= 0) {
            close(stopFd);
            stopFd = -1;
        }
    }
};

namespace {

std::pair<const uint8_t*, int> DescriptorOf(const PluggedDevice& plug) {
    if (!plug.ours) {
        return {kForeignDescriptor, static_cast<int>(sizeof kForeignDescriptor)};
    }
    if (plug.touchOnly) {
        return {kTouchOnlyDescriptor, static_cast<int>(sizeof kTouchOnlyDescriptor)};
    }
    if (plug.forWine) {
        return {kOurDescriptorVendorFirst, static_cast<int>(sizeof kOurDescriptorVendorFirst)};
    }
    if (plug.inputReportId == 7) {
        return {kOurDescriptorInput7, static_cast<int>(sizeof kOurDescriptorInput7)};
    }
    return {kOurDescriptor, static_cast<int>(sizeof kOurDescriptor)};
}

// The hidraw ioctls hidapi issues on open and for its name queries, answered as the kernel
// would for this device.
gboolean HandleIoctl(UMockdevIoctlBase*, UMockdevIoctlClient* client, gpointer user) {
    auto* plug = static_cast<PluggedDevice*>(user);
    const gulong request = umockdev_ioctl_client_get_request(client);
    UMockdevIoctlData* arg = umockdev_ioctl_client_get_arg(client);
    if (_IOC_TYPE(request) != 'H') {
        umockdev_ioctl_client_complete(client, -1, ENOTTY);
        return TRUE;
    }
    const size_t size = _IOC_SIZE(request);
    auto answer = [&](const void* bytes, size_t length, glong result) {
        GError* error = nullptr;
        UMockdevIoctlData* data = umockdev_ioctl_data_resolve(arg, 0, length, &error);
        if (data == nullptr) {
            g_clear_error(&error);
            umockdev_ioctl_client_complete(client, -1, EFAULT);
            return;
        }
        umockdev_ioctl_data_update(data, 0, static_cast<guint8*>(const_cast<void*>(bytes)),
                                   static_cast<gint>(length));
        g_object_unref(data);
        umockdev_ioctl_client_complete(client, result, 0);
    };
    const auto [descriptor, descriptorSize] = DescriptorOf(*plug);
    const std::string name = plug->ours ? "Tavlin Touch" : "Other Device";
    switch (_IOC_NR(request)) {
        case _IOC_NR(HIDIOCGRDESCSIZE):
            answer(&descriptorSize, sizeof descriptorSize, 0);
            return TRUE;
        case _IOC_NR(HIDIOCGRDESC): {
            hidraw_report_descriptor d{};
            d.size = static_cast<uint32_t>(descriptorSize);
            std::memcpy(d.value, descriptor, descriptorSize);
            answer(&d, sizeof d, 0);
            return TRUE;
        }
        case _IOC_NR(HIDIOCGRAWINFO): {
            hidraw_devinfo info{};
            info.bustype = 3;  // BUS_USB
            info.vendor = static_cast<int16_t>(plug->vendorId);
            info.product = static_cast<int16_t>(plug->productId);
            answer(&info, sizeof info, 0);
            return TRUE;
        }
        case 0x04:    // HIDIOCGRAWNAME(len)
        case 0x05:    // HIDIOCGRAWPHYS(len)
        case 0x08: {  // HIDIOCGRAWUNIQ(len)
            std::string text = _IOC_NR(request) == 0x04 ? name : std::string("usb-e2e");
            if (_IOC_NR(request) == 0x08) {
                text.clear();
            }
            std::vector<char> buffer(size, '\0');
            const size_t n = std::min(text.size(), size > 0 ? size - 1 : 0);
            std::memcpy(buffer.data(), text.data(), n);
            answer(buffer.data(), buffer.size(), static_cast<glong>(n + 1));
            return TRUE;
        }
        default:
            umockdev_ioctl_client_complete(client, -1, ENOTTY);
            return TRUE;
    }
}

}  // namespace

UmockdevBed::UmockdevBed() {
    testbed_ = umockdev_testbed_new();
}

UmockdevBed::~UmockdevBed() {
    {
        std::lock_guard lock(replugMutex_);
        replugStop_ = true;
    }
    replugChanged_.notify_all();
    if (replugger_.joinable()) {
        replugger_.join();
    }
    for (auto& plug : plugs_) {
        plug->StopServing();
        if (plug->ioctl != nullptr) {
            umockdev_testbed_detach_ioctl(testbed_, plug->devNode.c_str(), nullptr);
            g_object_unref(plug->ioctl);
        }
    }
    g_object_unref(testbed_);
}

std::string UmockdevBed::SysRoot() const {
    gchar* root = umockdev_testbed_get_root_dir(testbed_);
    std::string out = root;
    g_free(root);
    return out;
}

int UmockdevBed::PlugOurs(uint16_t productId) {
    return Plug(0x1FC9, productId, true, false);
}

int UmockdevBed::PlugOursTouchOnly(uint16_t productId) {
    return Plug(0x1FC9, productId, true, true);
}

int UmockdevBed::PlugOursReplyingAs7(uint16_t productId) {
    nextInputReportId_ = 7;
    const int plug = Plug(0x1FC9, productId, true, false);
    nextInputReportId_ = 0x03;
    return plug;
}

int UmockdevBed::PlugForeign(uint16_t vendorId, uint16_t productId) {
    return Plug(vendorId, productId, false, false);
}

int UmockdevBed::PlugOursAt(const std::string& port, uint16_t productId) {
    return Plug(0x1FC9, productId, true, false, port);
}

sim::SimFirmware& UmockdevBed::firmwareAt(const std::string& port) {
    std::lock_guard lock(portsMutex_);
    auto& firmware = portFirmware_[port];
    if (!firmware) {
        firmware = std::make_unique<sim::SimFirmware>();
    }
    return *firmware;
}

void UmockdevBed::RefuseAt(const std::string& port, uint8_t command) {
    std::lock_guard lock(portsMutex_);
    refused_[port].push_back(command);
}

std::vector<uint16_t> UmockdevBed::PluggedProductIdsAt(const std::string& port) const {
    std::lock_guard lock(plugsMutex_);
    std::vector<uint16_t> ids;
    for (const auto& [plugPort, productId] : pluggedOurs_) {
        if (plugPort == port) {
            ids.push_back(productId);
        }
    }
    return ids;
}

int UmockdevBed::PlugOn(const std::string& port) const {
    std::lock_guard lock(plugsMutex_);
    for (size_t i = plugs_.size(); i-- > 0;) {
        if (plugs_[i]->port == port) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int UmockdevBed::Plug(uint16_t vendorId, uint16_t productId, bool ours, bool touchOnly,
                      const std::string& atPort, sim::SimFirmware* firmware) {
    auto plug = std::make_unique<PluggedDevice>();
    plug->bed = this;
    plug->ours = ours;
    plug->touchOnly = touchOnly;
    plug->forWine = forWine_;
    plug->inputReportId = nextInputReportId_;
    plug->vendorId = vendorId;
    plug->productId = productId;
    plug->minor = nextMinor_++;
    const std::string port = atPort.empty() ? "1-" + std::to_string(plug->minor + 1) : atPort;
    plug->port = port;
    plug->firmware = firmware != nullptr ? firmware
                     : atPort.empty()    ? &firmware_
                                         : &firmwareAt(atPort);
    const std::string vid = Hex4(vendorId);
    const std::string pid = Hex4(productId);
    // Wine takes the device's version from the uevent's PRODUCT line (vendor/product/bcdDevice).
    char product[32];
    std::snprintf(product, sizeof product, "%x/%x/100", vendorId, productId);

    gchar* usb = umockdev_testbed_add_device(
        testbed_, "usb", port.c_str(), nullptr, "idVendor", vid.c_str(), "idProduct", pid.c_str(),
        "manufacturer", ours ? "Tavlin" : "Other", "product",
        ours ? "Tavlin Touch" : "Other Device", "bcdDevice", "0100", "serial", "", nullptr,
        "DEVTYPE", "usb_device", "PRODUCT", product, nullptr);
    plug->usbPath = usb;
    g_free(usb);
    gchar* interface = umockdev_testbed_add_device(testbed_, "usb", (port + ":1.0").c_str(),
                                                   plug->usbPath.c_str(), "bInterfaceNumber", "00",
                                                   nullptr, "DEVTYPE", "usb_interface", nullptr);
    plug->interfacePath = interface;
    g_free(interface);

    char hidName[64];
    std::snprintf(hidName, sizeof hidName, "0003:%04X:%04X.%04X", vendorId, productId,
                  plug->minor + 1);
    char hidId[64];
    std::snprintf(hidId, sizeof hidId, "0003:0000%04X:0000%04X", vendorId, productId);
    gchar* hid = umockdev_testbed_add_device(
        testbed_, "hid", hidName, plug->interfacePath.c_str(), nullptr, "HID_ID", hidId, "HID_NAME",
        ours ? "Tavlin Touch" : "Other Device", "HID_UNIQ", "", nullptr);
    plug->hidPath = hid;
    g_free(hid);
    const auto [descriptor, descriptorSize] = DescriptorOf(*plug);
    umockdev_testbed_set_attribute_binary(testbed_, plug->hidPath.c_str(), "report_descriptor",
                                          const_cast<guint8*>(descriptor), descriptorSize);

    const std::string raw = "hidraw" + std::to_string(plug->minor);
    plug->rawPath = plug->hidPath + "/hidraw/" + raw;
    plug->devNode = "/dev/" + raw;
    GError* error = nullptr;
    if (ours) {
        // Everything a real node has when its add event goes out must be in place before the
        // add: a detection woken by the event opens the node at once.
        plug->ioctl = umockdev_ioctl_base_new();
        g_signal_connect(plug->ioctl, "handle-ioctl", G_CALLBACK(HandleIoctl), plug.get());
        if (!umockdev_testbed_attach_ioctl(testbed_, plug->devNode.c_str(), plug->ioctl, &error)) {
            const std::string message = error ? error->message : "?";
            g_clear_error(&error);
            throw std::runtime_error("ioctl handler not attached: " + message);
        }
    }
    // add_from_string wants the path below /sys; the link to the hid parent comes with the
    // record so that it exists when the add event is sent.
    const std::string relative = plug->rawPath.substr(std::strlen("/sys"));
    const std::string record = "P: " + relative + "\nN: " + raw + "\nE: DEVNAME=" + plug->devNode +
                               "\nE: SUBSYSTEM=hidraw\nA: dev=243:" + std::to_string(plug->minor) +
                               "\nL: device=../..\n";
    if (ours) {
        // Counted before its node can be seen: a program may find the node and the test ask
        // what was plugged before this thread gets to list the plug itself.
        std::lock_guard lock(plugsMutex_);
        pluggedOurs_.push_back({port, productId});
    }
    lastNodeAdded_ = std::chrono::steady_clock::now();
    if (!umockdev_testbed_add_from_string(testbed_, record.c_str(), &error)) {
        const std::string message = error ? error->message : "?";
        g_clear_error(&error);
        throw std::runtime_error("hidraw node not added: " + message);
    }

    if (ours) {
        // Reports the program writes before the serving thread runs wait in the PTY.
        plug->deviceFd = umockdev_testbed_get_dev_fd(testbed_, plug->devNode.c_str());
        if (plug->deviceFd < 0) {
            throw std::runtime_error("no device side for " + plug->devNode);
        }
        char terminal[128] = {};
        if (ptsname_r(plug->deviceFd, terminal, sizeof terminal) == 0) {
            plug->holdFd = open(terminal, O_RDWR | O_NOCTTY | O_CLOEXEC);
        }
        plug->stopFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
        PluggedDevice* p = plug.get();
        plug->server = std::thread([this, p] { Serve(*p); });
    }
    std::lock_guard lock(plugsMutex_);
    plugs_.push_back(std::move(plug));
    return static_cast<int>(plugs_.size()) - 1;
}

PluggedDevice& UmockdevBed::PlugAt(int index) const {
    std::lock_guard lock(plugsMutex_);
    return *plugs_.at(static_cast<size_t>(index));
}

std::vector<uint16_t> UmockdevBed::PluggedProductIds() const {
    std::lock_guard lock(plugsMutex_);
    std::vector<uint16_t> ids;
    for (const auto& plug : pluggedOurs_) {
        ids.push_back(plug.second);
    }
    return ids;
}

void UmockdevBed::RequestReplug(PluggedDevice* plug, uint16_t productId,
                                std::chrono::milliseconds before, std::chrono::milliseconds away) {
    {
        std::lock_guard lock(replugMutex_);
        replugs_.push_back({plug, productId, before, away});
        if (!replugger_.joinable()) {
            replugger_ = std::thread([this] { RunReplugs(); });
        }
    }
    replugChanged_.notify_all();
}

void UmockdevBed::RunReplugs() {
    using namespace std::chrono_literals;
    std::unique_lock lock(replugMutex_);
    for (;;) {
        replugChanged_.wait(lock, [this] { return replugStop_ || !replugs_.empty(); });
        if (replugStop_) {
            return;
        }
        const auto [plug, productId, before, away] = replugs_.front();
        replugs_.erase(replugs_.begin());
        lock.unlock();
        // A restarting device comes back on its own socket.
        const std::string port = plug->port;
        sim::SimFirmware* firmware = plug->firmware;
        // The reply is on its way first; then the device restarts and enumerates anew.
        std::this_thread::sleep_for(before);
        int index = -1;
        {
            std::lock_guard plugsLock(plugsMutex_);
            for (size_t i = 0; i < plugs_.size(); ++i) {
                if (plugs_[i].get() == plug) {
                    index = static_cast<int>(i);
                }
            }
        }
        Unplug(index);
        std::this_thread::sleep_for(away);
        Plug(0x1FC9, productId, true, false, port, firmware);
        lock.lock();
    }
}

void UmockdevBed::Serve(PluggedDevice& plug) {
    uint8_t report[64];
    size_t have = 0;
    pollfd fds[2] = {{plug.deviceFd, POLLIN, 0}, {plug.stopFd, POLLIN, 0}};
    for (;;) {
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            return;
        }
        if (fds[1].revents != 0) {
            return;
        }
        if ((fds[0].revents & POLLIN) == 0) {
            if ((fds[0].revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) {
                // No program holds the node open: wait a little rather than spin.
                usleep(1000);
            }
            continue;
        }
        // The node is a byte stream: take exactly one report's worth at a time.
        const ssize_t got = read(plug.deviceFd, report + have, sizeof report - have);
        if (got <= 0) {
            if (got < 0 && (errno == EINTR || errno == EAGAIN)) {
                continue;
            }
            usleep(1000);
            continue;
        }
        have += static_cast<size_t>(got);
        if (have < sizeof report) {
            continue;
        }
        have = 0;
        {
            std::lock_guard lock(receivedMutex_);
            received_.emplace_back(report, report + sizeof report);
        }
        receivedChanged_.notify_all();
        if (!answering_) {
            continue;
        }
        if (const sim::FaultDecision fault = faults_.OnOutputReport(report);
            fault.action == sim::FaultDecision::Action::PowerCut) {
            plug.firmware->PowerCut();
            RequestReplug(&plug, plug.firmware->flash().PowerOnProductId(),
                          std::chrono::milliseconds(0), fault.powerOff);
            return;  // no power: the report is never taken
        }
        if (Refused(plug, report[1])) {
            uint8_t refusal[64] = {plug.inputReportId, report[1], 0xEE};
            plug.Send(refusal, sizeof refusal);
            continue;
        }
        const sim::FirmwareOutcome outcome = plug.firmware->Process(report);
        if (outcome.reply) {
            if (streamTouches_) {
                SendTouch(plug);
            }
            sim::Report reply = *outcome.reply;
            reply[0] = plug.inputReportId;
            plug.Send(reply.data(), reply.size());
            if (streamTouches_) {
                SendTouch(plug);
            }
        }
        if (outcome.reenumerateAs && followUpdateControl_) {
            RequestReplug(&plug, *outcome.reenumerateAs);
            return;  // the device is leaving: it takes no more reports
        }
    }
}

bool UmockdevBed::Refused(const PluggedDevice& plug, uint8_t command) const {
    std::lock_guard lock(portsMutex_);
    const auto it = refused_.find(plug.port);
    return it != refused_.end() &&
           std::find(it->second.begin(), it->second.end(), command) != it->second.end();
}

void UmockdevBed::SendTouch(PluggedDevice& plug) {
    if (plug.forWine) {
        // Wine's bus driver takes one read of the node for one report, of the length the read
        // gave: a touch report is its id and its one byte, as the descriptor says (a longer one
        // crashes Wine's device host).
        const uint8_t touch[2] = {0x01, static_cast<uint8_t>(touchSequence_++ | 1)};
        plug.Send(touch, sizeof touch);
        return;
    }
    // Looks like an accepted reply to a reader that does not check the report id.
    uint8_t touch[64] = {0x01, 0x01, 0x22};
    const uint32_t n = touchSequence_++;
    std::memcpy(touch + 3, &n, sizeof n);
    plug.Send(touch, sizeof touch);
}

void UmockdevBed::QueueTouchReports(int index, size_t count) {
    PluggedDevice& plug = PlugAt(index);
    for (size_t i = 0; i < count; ++i) {
        SendTouch(plug);
    }
}

void UmockdevBed::Unplug(int index) {
    PluggedDevice& plug = PlugAt(index);
    if (plug.unplugged) {
        return;
    }
    plug.unplugged = true;
    plug.StopServing();
    if (plug.ioctl != nullptr) {
        umockdev_testbed_detach_ioctl(testbed_, plug.devNode.c_str(), nullptr);
        g_object_unref(plug.ioctl);
        plug.ioctl = nullptr;
    }
    // Child first, as the kernel reports it; umockdev sends no events on removal itself. Each
    // node is removed right after its event so that a detection started by the next event
    // finds the tree as a real unplug leaves it (udev reports a removal once the node is gone).
    for (const std::string* path :
         {&plug.rawPath, &plug.hidPath, &plug.interfacePath, &plug.usbPath}) {
        umockdev_testbed_uevent(testbed_, path->c_str(), "remove");
        umockdev_testbed_remove_device(testbed_, path->c_str());
    }
    if (plug.deviceFd >= 0) {
        // The program's open node must see the hang-up a real unplug gives.
        const int null = open("/dev/null", O_RDWR | O_CLOEXEC);
        dup2(null, plug.deviceFd);
        close(null);
        // umockdev remembers which PTY stands for which node; once the program lets go, the
        // kernel hands the same PTY number to the next plug, and umockdev refuses to map it a
        // second time. Forget the old mapping as the node is gone.
        const std::filesystem::path map = std::filesystem::path(SysRoot()) / "dev" / ".ptymap";
        const std::string majmin = "243:" + std::to_string(plug.minor);
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(map, error)) {
            std::error_code linkError;
            if (std::filesystem::read_symlink(entry.path(), linkError).string() == majmin) {
                std::filesystem::remove(entry.path(), linkError);
            }
        }
    }
}

std::string UmockdevBed::DevNode(int plug) const {
    return PlugAt(plug).devNode;
}

std::string UmockdevBed::TerminalOf(int plug) const {
    char name[128] = {};
    const int fd = PlugAt(plug).deviceFd;
    return fd >= 0 && ptsname_r(fd, name, sizeof name) == 0 ? std::string(name) : std::string();
}

std::vector<std::vector<uint8_t>> UmockdevBed::Received() const {
    std::lock_guard lock(receivedMutex_);
    return received_;
}

bool UmockdevBed::WaitReceived(size_t count, std::chrono::milliseconds limit) const {
    std::unique_lock lock(receivedMutex_);
    return receivedChanged_.wait_for(lock, limit, [&] { return received_.size() >= count; });
}

}  // namespace tavlin::e2e
