// The Windows build's own link to the system, run under Wine (or on Windows): the real SetupDi /
// HidD / CreateFile path with no device of ours present, and the device notifications.
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "base/StringTable.h"
#include "device/DeviceDetector.h"
#include "device/HidDevice.h"
#include "device/LogCapture.h"
#include "device/SharedState.h"
#include "device/SystemTransport.h"
#include "device/WinDeviceNotifier.h"

namespace tavlin::testing {
namespace {

class StatusRecorder : public PresenceView {
  public:
    void SetStatusText(const std::string& t) override { Add(t); }
    void SetVersionText(const std::string& t) override { Add("version:" + t); }
    void SetModeToggleCaption(const std::string&) override {}
    void SetFirmwareStatusText(const std::string&) override {}
    std::vector<std::string> texts() const {
        std::lock_guard lock(mutex_);
        return texts_;
    }

  private:
    void Add(const std::string& t) {
        std::lock_guard lock(mutex_);
        texts_.push_back(t);
    }
    mutable std::mutex mutex_;
    std::vector<std::string> texts_;
};

TEST(WinSystemTransport, NoDeviceOfOursMeansResult0String104AndTheLogLines) {
    LogCapture log;
    auto transport = CreateSystemTransport();
    HidDevice device(*transport);
    uint16_t pid = 0;
    EXPECT_EQ(OpenHidDevice(device, &pid), 0);
    EXPECT_FALSE(device.isOpen());

    SharedState state;
    state.g_bDevExist = 1;
    StatusRecorder view;
    DeviceDetectThread(state, device, view);
    EXPECT_EQ(state.g_bDevExist, 0);
    EXPECT_EQ(view.texts(), (std::vector<std::string>{LoadString(IDS_NO_DEVICE), "version:"}));
    EXPECT_TRUE(log.Contains("Open hid device failed!\n"));

    // Every transfer fails at once, with the invalid handle's code.
    uint8_t reply[4] = {};
    EXPECT_FALSE(HidCommand(device, 0x21, nullptr, 0, reply, 4));
    EXPECT_EQ(reply[0], 0xFF);
    EXPECT_TRUE(log.Contains("GetOverlappedResult_Tav failed! ret=6 !\n"));
    EXPECT_TRUE(log.Contains("WriteHidDevice failed. Device communicates failed!\n"));
}

TEST(WinSystemTransport, EnumerationListsOnlyInterfacesItCouldIdentify) {
    auto transport = CreateSystemTransport();
    for (const HidInterfaceInfo& info : transport->Enumerate()) {
        EXPECT_FALSE(info.path.empty());
        EXPECT_NE(info.vendorId == kVendorId && IsOurProduct(info.productId), true)
            << "no device of ours is attached here: " << info.path;
    }
}

TEST(WinDeviceNotifier, ArrivalsAndRemovalsOfAnyInterfaceStartADetection) {
    std::atomic<int> changes{0};
    WinDeviceNotifier notifier([&] { ++changes; });
    EXPECT_TRUE(notifier.Notify(0));   // CM_NOTIFY_ACTION_DEVICEINTERFACEARRIVAL
    EXPECT_TRUE(notifier.Notify(1));   // CM_NOTIFY_ACTION_DEVICEINTERFACEREMOVAL
    EXPECT_FALSE(notifier.Notify(2));  // query-remove: the device is still there
    EXPECT_FALSE(notifier.Notify(6));  // a custom event
    EXPECT_EQ(changes, 2);
}

TEST(WinDeviceNotifier, WatchForTheCliStartsOrSaysWhyNot) {
    LogCapture log;
    std::atomic<int> changes{0};
    auto watch = WatchDeviceChanges([&] { ++changes; });
    if (watch == nullptr) {
        EXPECT_TRUE(log.Contains("CM_Register_Notification failed! ret="));
    }
    watch.reset();
    EXPECT_EQ(changes, 0);
}

}  // namespace
}  // namespace tavlin::testing
