// The reply decoders of the report protocol on whatever a device sends back: the input is cut
// into 64-byte replies, answered in turn to the requests of every decoding operation; when it
// runs out, the device stops answering.
#include <cstdint>
#include <cstring>
#include <memory>

#include "base/Log.h"
#include "device/DeviceProtocol.h"
#include "device/HidDevice.h"

namespace {

using namespace tavlin;

class ReplayConnection final : public HidConnection {
  public:
    ReplayConnection(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    IoResult Write(const uint8_t*, size_t) override { return IoResult::Ok(); }
    IoResult Read(uint8_t* report, size_t length, int) override {
        if (at_ >= size_) {
            return IoResult::Timeout();
        }
        const size_t n = std::min(length, size_ - at_);
        std::memset(report, 0, length);
        std::memcpy(report, data_ + at_, n);
        at_ += kReportSize;
        return IoResult::Ok();
    }
    void DiscardPendingInput() override {}
    const std::string& Path() const override { return path_; }

  private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
    std::string path_ = "replay";
};

class NoTransport final : public HidTransport {
  public:
    std::vector<HidInterfaceInfo> Enumerate() override { return {}; }
    std::unique_ptr<HidConnection> Open(const std::string&, int*) override { return nullptr; }
    std::optional<std::pair<uint16_t, uint16_t>> Attributes(HidConnection&) override {
        return std::nullopt;
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool quiet = [] {
        SetLogFilePath("/dev/null");
        return true;
    }();
    (void)quiet;
    if (size < 2) {
        return 0;
    }
    const uint8_t pick = data[0];
    const int sensor = data[1] & 1;
    NoTransport transport;
    HidDevice device(transport);
    device.setTimeoutMs(0);
    device.setHandle(std::make_shared<ReplayConnection>(data + 2, size - 2));

    uint8_t out[512];
    int a = 0, b = 0;
    switch (pick % 10) {
        case 0:
            static_cast<void>(RegisterRead(device, 0x0100 | (sensor ? 0x10000000u : 0u), 1 + pick,
                                           out, sizeof out));
            break;
        case 1:
            static_cast<void>(SingleRegisterRead(device, 0x0010, out));
            break;
        case 2:
            static_cast<void>(RegisterRead(device, 0x01000000 | 0x0C, 1, out, 1));
            break;
        case 3:
            static_cast<void>(PreviewRead(device, 0x20, pick % 3, pick % 70, sensor, out));
            break;
        case 4:
            static_cast<void>(StartLineSearch(device, sensor, 0, 480, &a));
            break;
        case 5:
            static_cast<void>(ColumnSearch(device, sensor, &a, &b));
            break;
        case 6: {
            LineRecord records[kLineRecords];
            static_cast<void>(LineOptimize(device, sensor, records));
            break;
        }
        case 7: {
            uint8_t exposure[2] =
                {};  // Master and Slave exposure, as the command thread holds them
            static_cast<void>(ExposureAdjust(device, sensor, exposure, &a, &b));
            break;
        }
        case 8: {
            const uint8_t payload[6] = {1, 2, 3, 4, 5, 6};
            CalibrationPoint(device, payload);
            break;
        }
        case 9:
            // The area reads (image versions, version info records).
            for (uint32_t area : {0x02013000u, 0x02010000u, 0x32013000u}) {
                static_cast<void>(RegisterRead(device, area | (sensor ? 0x10000000u : 0u), 1 + pick,
                                               out, sizeof out));
            }
            break;
    }
    return 0;
}
