// The Windows build's own link to the system, run under Wine (or on Windows): the real SetupDi /
// HidD / CreateFile path with no device of ours present, and the device notifications.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/StringTable.h"
#include "device/DeviceDetector.h"
#include "device/HidDevice.h"
#include "device/LogCapture.h"
#include "device/SharedState.h"
#include "device/SystemTransport.h"
#include "device/WinDeviceNotifier.h"

// After our headers: the macros of windows.h would rename their constants. Its LoadString
// would still rename the string table's, so it goes.
#include <windows.h>
#undef LoadString

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
    EXPECT_TRUE(notifier.Notify(0x8000));   // DBT_DEVICEARRIVAL
    EXPECT_TRUE(notifier.Notify(0x8004));   // DBT_DEVICEREMOVECOMPLETE
    EXPECT_FALSE(notifier.Notify(0x8001));  // DBT_DEVICEQUERYREMOVE: the device is still there
    EXPECT_FALSE(notifier.Notify(0x8006));  // DBT_CUSTOMEVENT
    EXPECT_FALSE(notifier.Notify(0x0007));  // DBT_DEVNODES_CHANGED, not about an interface
    EXPECT_EQ(changes, 2);
}

// Wine delivers these notices too: the watch starts there as on Windows, and ends cleanly
// (its thread and window gone, no notice after the end), also when started and ended in a row.
TEST(WinDeviceNotifier, TheWatchStartsOnAMessageOnlyWindowAndEndsCleanly) {
    LogCapture log;
    std::atomic<int> changes{0};
    for (int i = 0; i < 5; ++i) {
        auto watch = WatchDeviceChanges([&] { ++changes; });
        ASSERT_NE(watch, nullptr) << log.Text();
        watch.reset();
    }
    EXPECT_FALSE(log.Contains("RegisterDeviceNotification failed!"));
    EXPECT_EQ(changes, 0);
}

// The notices' thread is guarded like every other: an exception in its window procedure ends
// the run with status 1 and the message. It must not try to pass through the system's frames
// (64-bit Windows swallows it in a message sent from another thread), so the procedure itself
// ends the run, also when called the way the system calls it.
HWND NoticesWindow() {
    HWND window = nullptr;
    for (int i = 0; window == nullptr && i < 100; ++i) {
        window = FindWindowExW(HWND_MESSAGE, nullptr, L"TavlinDeviceNotices", nullptr);
    }
    return window;
}

TEST(WinDeviceNotifierDeathTest, AnExceptionInTheWindowProcedureEndsTheRunWithStatus1) {
    const auto throwing = [] { throw std::runtime_error("the notice broke"); };
    EXPECT_EXIT(
        {
            auto watch = WatchDeviceChanges(throwing);
            if (HWND window = NoticesWindow(); watch != nullptr && window != nullptr) {
                SendMessageW(window, WM_DEVICECHANGE, 0x8000, 0);  // DBT_DEVICEARRIVAL
            }
            watch.reset();
            std::exit(0);
        },
        ::testing::ExitedWithCode(1), "tavlin: .*the notice broke");
    EXPECT_EXIT(
        {
            auto watch = WatchDeviceChanges(throwing);
            if (HWND window = NoticesWindow(); watch != nullptr && window != nullptr) {
                const auto procedure =
                    reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC));
                try {
                    CallWindowProcW(procedure, window, WM_DEVICECHANGE, 0x8000, 0);
                } catch (...) {
                    std::exit(0);  // it came out of the window procedure
                }
            }
            std::exit(0);
        },
        ::testing::ExitedWithCode(1), "tavlin: .*the notice broke");
}

}  // namespace
}  // namespace tavlin::testing
