// The program's real Linux device code - hidapi enumeration and open, hidraw reads and writes,
// the udev hot-plug monitor, detection and the command thread - against a fake device that
// umockdev puts into sysfs and /dev. Nothing inside the program is replaced.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "NodeRefusal.h"
#include "UmockdevFixture.h"
#include "base/Log.h"
#include "base/StringTable.h"
#include "device/CommandThread.h"
#include "device/DeviceDetector.h"
#include "device/DeviceProtocol.h"
#include "device/HidDevice.h"
#include "device/HidapiTransport.h"
#include "device/HotplugThread.h"
#include "device/LogCapture.h"
#include "device/UdevMonitor.h"

namespace tavlin::e2e {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// What the windows would be told, with the time each status text arrived.
class RecordingView : public PresenceView {
  public:
    void SetStatusText(const std::string& text) override {
        {
            std::lock_guard lock(mutex_);
            status_.push_back({text, Clock::now()});
        }
        changed_.notify_all();
    }
    void SetVersionText(const std::string&) override {}
    void SetModeToggleCaption(const std::string&) override {}
    void SetFirmwareStatusText(const std::string& text) override {
        {
            std::lock_guard lock(mutex_);
            firmware_.push_back(text);
        }
        changed_.notify_all();
    }

    size_t StatusCount() const {
        std::lock_guard lock(mutex_);
        return status_.size();
    }
    // Waits for `text` as a status text at position `from` or later; returns when it arrived.
    std::optional<Clock::time_point> WaitStatus(const std::string& text, size_t from,
                                                std::chrono::milliseconds limit = 3000ms) {
        std::unique_lock lock(mutex_);
        std::optional<Clock::time_point> at;
        changed_.wait_for(lock, limit, [&] {
            for (size_t i = from; i < status_.size(); ++i) {
                if (status_[i].first == text) {
                    at = status_[i].second;
                    return true;
                }
            }
            return false;
        });
        return at;
    }
    std::vector<std::string> Firmware() const {
        std::lock_guard lock(mutex_);
        return firmware_;
    }
    std::string LastStatus() const {
        std::lock_guard lock(mutex_);
        return status_.empty() ? "" : status_.back().first;
    }

  private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::pair<std::string, Clock::time_point>> status_;
    std::vector<std::string> firmware_;
};

class RecordingHost : public CommandThreadHost {
  public:
    void PostCmdDone() override {}
    void AppendOutputText(const std::string& text) override {
        std::lock_guard lock(mutex_);
        pane_.push_back(text);
    }
    void SetReadValueText(const std::string&) override {}
    std::vector<std::string> Pane() const {
        std::lock_guard lock(mutex_);
        return pane_;
    }

  private:
    mutable std::mutex mutex_;
    std::vector<std::string> pane_;
};

size_t CountOf(const std::string& text, const std::string& needle) {
    size_t n = 0;
    for (size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1)) {
        ++n;
    }
    return n;
}

class DeviceStackTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (const std::string why = MockEnvironmentMissing(); !why.empty()) {
            GTEST_SKIP() << "umockdev not available: " << why;
        }
        bed = std::make_unique<UmockdevBed>();
        transport = std::make_unique<HidapiTransport>();
        device = std::make_unique<HidDevice>(*transport);
        detector = std::make_unique<DeviceDetector>(state, *device, view);
    }
    void TearDown() override {
        if (hotplug) {
            hotplug->Stop();
        }
        if (commands) {
            PostRequest(state, WM_EXIT_CMD_THREAD);
            commands->Join();
        }
        hotplug.reset();
        monitor.reset();
        if (detector) {
            detector->WaitIdle();
        }
        detector.reset();
        commands.reset();
        device.reset();
        transport.reset();
        secondBed.reset();
        bed.reset();
    }

    // The hot-plug path the CLI uses: udev monitor -> poll thread -> detection.
    void StartHotplug() {
        monitor = std::make_unique<UdevMonitor>();
        ASSERT_TRUE(monitor->Open());
        hotplug = std::make_unique<HotplugThread>(*monitor, [this] { detector->OnDeviceChange(); });
        ASSERT_TRUE(hotplug->Start());
    }
    // A detection as the window starts one, run to its end.
    void Detect() {
        ASSERT_TRUE(detector->StartDetect());
        detector->WaitIdle();
    }
    void StartCommands() {
        commands = std::make_unique<CommandThread>(state, *device, host);
        commands->Start();
    }
    template <class Block>
    uint32_t Request(uint32_t id, const Block& block) {
        return WaitRequest(PostRequest(state, id, &block, sizeof block), state.g_RegAccessDoneEvent,
                           3000);
    }

    testing::LogCapture log;
    std::unique_ptr<UmockdevBed> bed;
    std::unique_ptr<UmockdevBed> secondBed;
    std::unique_ptr<HidapiTransport> transport;
    std::unique_ptr<HidDevice> device;
    SharedState state;
    RecordingView view;
    RecordingHost host;
    std::unique_ptr<DeviceDetector> detector;
    std::unique_ptr<UdevMonitor> monitor;
    std::unique_ptr<HotplugThread> hotplug;
    std::unique_ptr<CommandThread> commands;
};

TEST_F(DeviceStackTest, WithoutTheDeviceNothingIsOpenedAndTheStatusSaysSo) {
    bed->PlugForeign(0x046D, 0xC077);
    uint16_t productId = 0;
    EXPECT_EQ(OpenHidDevice(*device, &productId), 0);
    EXPECT_FALSE(device->isOpen());
    Detect();
    EXPECT_EQ(state.g_bDevExist, 0);
    EXPECT_EQ(view.LastStatus(), LoadString(IDS_NO_DEVICE));
    EXPECT_EQ(state.devicePresence, ResultCode::NoDevice);
    EXPECT_TRUE(log.Contains("Open hid device failed!\n"));
}

TEST_F(DeviceStackTest, TheVendorCollectionIsOpenedAndASecondCallFindsItStillThere) {
    const int plug = bed->PlugOurs(kProductIdWork);
    // hidapi lists both collections on the same node, the touch one first.
    const std::vector<HidInterfaceInfo> listed = transport->Enumerate();
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(listed[0].usagePage, 0x0D);
    EXPECT_EQ(listed[0].usage, 0x04);
    EXPECT_EQ(listed[1].usagePage, kVendorUsagePage);
    EXPECT_EQ(listed[1].usage, kVendorUsage);
    EXPECT_EQ(listed[1].path, bed->DevNode(plug));
    EXPECT_EQ(listed[1].vendorId, kVendorId);
    EXPECT_EQ(listed[1].productId, kProductIdWork);

    uint16_t productId = 0;
    ASSERT_EQ(OpenHidDevice(*device, &productId), 1);
    EXPECT_EQ(productId, kProductIdWork);
    ASSERT_TRUE(device->isOpen());
    EXPECT_EQ(device->handle()->Path(), bed->DevNode(plug));
    productId = 0;
    EXPECT_EQ(OpenHidDevice(*device, &productId), 2);
    EXPECT_EQ(productId, kProductIdWork);

    CloseHidDevice(*device);
    Detect();
    EXPECT_EQ(state.g_bDevExist, 1);
    EXPECT_EQ(view.LastStatus(), LoadString(IDS_DETECT_DONE));
    EXPECT_TRUE(log.Contains("Open hid device success!\n"));
}

TEST_F(DeviceStackTest, OurTouchCollectionAloneIsNotTakenForTheDevice) {
    bed->PlugOursTouchOnly(kProductIdWork);
    const std::vector<HidInterfaceInfo> listed = transport->Enumerate();
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0].usagePage, 0x0D);
    uint16_t productId = 0;
    EXPECT_EQ(OpenHidDevice(*device, &productId), 0);
    EXPECT_FALSE(device->isOpen());
    // It was seen, so its product id is known all the same.
    EXPECT_EQ(productId, kProductIdWork);
}

TEST_F(DeviceStackTest, ARegisterIsWrittenAndReadBackByteForByteThroughTheCommandThread) {
    bed->PlugOurs(kProductIdWork);
    Detect();
    ASSERT_EQ(state.g_bDevExist, 1);
    StartCommands();

    ASSERT_EQ(Request(WM_FPGA_PORT_WRITE, RegWriteBlock{0x0123, 1, 0x5A}), WAIT_OBJECT_0);
    EXPECT_EQ(bed->firmware().fpgaRegister(0, 0x0123), 0x5A);
    bed->firmware().setFpgaRegister(0, 0x0124, 0xC3);
    const SingleReadBlock scriptRead{0x0124};  // it signals instead of the panel
    ASSERT_EQ(
        WaitRequest(PostScriptRequest(state, WM_FPGA_SINGLE_READ, &scriptRead, sizeof scriptRead),
                    state.g_RegAccessDoneEvent, 3000),
        WAIT_OBJECT_0);
    ASSERT_FALSE(host.Pane().empty());
    EXPECT_EQ(host.Pane().back(), "Master: FPGASingleRead Addr: 0x0124  value: 0xc3\n");

    const auto received = bed->Received();
    ASSERT_EQ(received.size(), 2u);
    std::vector<uint8_t> write(64, 0);
    write[0] = kReportId;
    write[1] = cmd::kFpgaWrite;
    write[2] = 0x23;
    write[3] = 0x01;
    write[4] = 0x01;
    write[5] = 0x5A;
    EXPECT_EQ(received[0], write);
    std::vector<uint8_t> read(64, 0);
    read[0] = kReportId;
    read[1] = cmd::kFpgaSingleRead;
    read[2] = 0x24;
    read[3] = 0x01;
    EXPECT_EQ(received[1], read);
}

TEST_F(DeviceStackTest, AMissingReplyTimesOutWithItsLogLine) {
    bed->PlugOurs(kProductIdWork);
    uint16_t productId = 0;
    ASSERT_EQ(OpenHidDevice(*device, &productId), 1);
    device->setTimeoutMs(300);
    bed->SetAnswering(false);
    uint8_t value = 0;
    const auto start = Clock::now();
    EXPECT_FALSE(SingleRegisterRead(*device, 0x0010, &value));
    const auto took = Clock::now() - start;
    EXPECT_EQ(value, 0xFF);
    EXPECT_GE(took, 250ms);
    EXPECT_LT(took, 2000ms);
    EXPECT_TRUE(log.Contains("GetOverlappedResult_Tav failed! ret=258\n"));
    EXPECT_EQ(bed->Received().size(), 1u);

    // The device answers again: the next exchange works.
    bed->SetAnswering(true);
    bed->firmware().setFpgaRegister(0, 0x0010, 0x42);
    EXPECT_TRUE(SingleRegisterRead(*device, 0x0010, &value));
    EXPECT_EQ(value, 0x42);
}

TEST_F(DeviceStackTest, AnUnplugDuringARequestFailsItAndPresenceFollows) {
    const int plug = bed->PlugOurs(kProductIdWork);
    StartHotplug();
    Detect();
    ASSERT_EQ(state.g_bDevExist, 1);
    device->setTimeoutMs(5000);
    bed->SetAnswering(false);
    Result result;
    Clock::time_point ended;
    std::thread request([&] {
        uint8_t value = 0;
        result = SingleRegisterRead(*device, 0x0010, &value);
        ended = Clock::now();
    });
    ASSERT_TRUE(bed->WaitReceived(1, 2000ms));
    const size_t mark = view.StatusCount();
    const auto unplugged = Clock::now();
    bed->Unplug(plug);
    request.join();
    EXPECT_EQ(result.code(), ResultCode::DeviceGone) << result.describe();
    EXPECT_LT(ended - unplugged, 1000ms) << "the read waited for its time-out, not the hang-up";
    EXPECT_TRUE(
        log.Contains("GetOverlappedResult_Tav failed! \nret=1167 ERROR_DEVICE_NOT_CONNECTED!\n"));

    EXPECT_TRUE(view.WaitStatus(LoadString(IDS_NO_DEVICE), mark).has_value());
    detector->WaitIdle();
    EXPECT_EQ(state.g_bDevExist, 0);
    EXPECT_FALSE(device->isOpen());
}

TEST_F(DeviceStackTest, AnUnplugDuringACommandThreadRequestEndsItWithTheErrorLine) {
    const int plug = bed->PlugOurs(kProductIdWork);
    Detect();
    ASSERT_EQ(state.g_bDevExist, 1);
    device->setTimeoutMs(5000);
    bed->SetAnswering(false);
    StartCommands();
    const SingleReadBlock block{0x0010};  // a script's read signals whatever the outcome
    const RequestHandle request =
        PostScriptRequest(state, WM_FPGA_SINGLE_READ, &block, sizeof block);
    ASSERT_TRUE(bed->WaitReceived(1, 2000ms));
    const auto unplugged = Clock::now();
    bed->Unplug(plug);
    EXPECT_EQ(WaitRequest(request, state.g_RegAccessDoneEvent, 3000), WAIT_OBJECT_0);
    EXPECT_LT(Clock::now() - unplugged, 1000ms);
    ASSERT_FALSE(host.Pane().empty());
    EXPECT_EQ(host.Pane().back(), "Master: FPGASingleRead error\n");
    EXPECT_TRUE(
        log.Contains("GetOverlappedResult_Tav failed! \nret=1167 ERROR_DEVICE_NOT_CONNECTED!\n"));
}

TEST_F(DeviceStackTest, AReplugAsTheUpdateEnvironmentTellsTheFirmwareWindow) {
    const int plug = bed->PlugOurs(kProductIdWork);
    StartHotplug();
    state.g_isFwDlgOpen = 1;
    Detect();
    ASSERT_EQ(state.g_bDevExist, 1);
    size_t mark = view.StatusCount();
    bed->Unplug(plug);
    ASSERT_TRUE(view.WaitStatus(LoadString(IDS_NO_DEVICE), mark).has_value());
    detector->WaitIdle();

    mark = view.StatusCount();
    const int update = bed->PlugOurs(kProductIdUpdate);
    EXPECT_NE(bed->DevNode(update), bed->DevNode(plug));
    ASSERT_TRUE(view.WaitStatus(LoadString(IDS_FW_NOT_READY), mark).has_value());
    detector->WaitIdle();
    EXPECT_EQ(state.g_bDevExist, 1);
    EXPECT_EQ(state.g_isFwUpdateMode, 1);
    const auto firmware = view.Firmware();
    ASSERT_FALSE(firmware.empty());
    EXPECT_EQ(firmware.back(), LoadString(IDS_FW_ENV_READY));
    ASSERT_TRUE(device->isOpen());
    EXPECT_EQ(device->handle()->Path(), bed->DevNode(update));
}

// A device that leaves and comes back before a detection runs (the firmware restarting into
// its update environment, say) gets its old node name back from the kernel. The detection must
// not keep the dead connection to the old node just because the path is listed again.
TEST_F(DeviceStackTest, AReplugOnTheSameNodeNameBeforeADetectionRunsIsTakenAsNew) {
    const int plug = bed->PlugOurs(kProductIdWork);
    state.g_isFwDlgOpen = 1;
    Detect();
    ASSERT_EQ(state.g_bDevExist, 1);
    bed->Unplug(plug);
    // One testbed cannot make a node name twice; a second one, which takes over the mock
    // environment, can. The first stays alive: the program still holds its hung-up node.
    secondBed = std::make_unique<UmockdevBed>();
    const int update = secondBed->PlugOurs(kProductIdUpdate);
    ASSERT_EQ(secondBed->DevNode(update), bed->DevNode(plug));
    secondBed->firmware().setFpgaRegister(0, 0x0010, 0x42);
    {
        // The new device itself is sound: a link that never saw the old one opens and uses it.
        HidDevice fresh(*transport);
        uint16_t productId = 0;
        ASSERT_EQ(OpenHidDevice(fresh, &productId), 1);
        EXPECT_EQ(productId, kProductIdUpdate);
        uint8_t value = 0;
        ASSERT_TRUE(SingleRegisterRead(fresh, 0x0010, &value));
        ASSERT_EQ(value, 0x42);
    }
    Detect();
    EXPECT_EQ(view.LastStatus(), LoadString(IDS_FW_NOT_READY));
    EXPECT_EQ(state.g_isFwUpdateMode, 1);
    const auto firmware = view.Firmware();
    ASSERT_FALSE(firmware.empty());
    EXPECT_EQ(firmware.back(), LoadString(IDS_FW_ENV_READY));
    uint8_t value = 0;
    EXPECT_TRUE(SingleRegisterRead(*device, 0x0010, &value)) << "the connection is the dead one";
    EXPECT_EQ(value, 0x42);
}

TEST_F(DeviceStackTest, ASomebodyElsesDeviceArrivingLeavesOursInPlace) {
    bed->PlugOurs(kProductIdWork);
    StartHotplug();
    Detect();
    ASSERT_EQ(state.g_bDevExist, 1);
    const auto opened = device->handle();
    const size_t mark = view.StatusCount();
    bed->PlugForeign(0x046D, 0xC077);
    ASSERT_TRUE(view.WaitStatus(LoadString(IDS_DETECT_DONE), mark).has_value());
    detector->WaitIdle();
    EXPECT_TRUE(log.Contains("No hid device changed!\n"));
    EXPECT_EQ(CountOf(log.Text(), "Open hid device success!\n"), 1u);
    EXPECT_EQ(state.g_bDevExist, 1);
    EXPECT_EQ(device->handle(), opened);
}

TEST_F(DeviceStackTest, HotplugLatencyFromAddEventToStatusText) {
    int plug = bed->PlugOurs(kProductIdWork);
    StartHotplug();
    Detect();
    ASSERT_EQ(state.g_bDevExist, 1);
    std::vector<double> fromPlug;  // from the first add event of the plug (the USB device)
    std::vector<double> fromNode;  // from the hidraw node's add event
    for (int round = 0; round < 7; ++round) {
        size_t mark = view.StatusCount();
        bed->Unplug(plug);
        ASSERT_TRUE(view.WaitStatus(LoadString(IDS_NO_DEVICE), mark).has_value());
        detector->WaitIdle();
        mark = view.StatusCount();
        const auto plugged = Clock::now();
        plug = bed->PlugOurs(round % 2 == 0 ? kProductIdWork2 : kProductIdWork);
        const auto shown = view.WaitStatus(LoadString(IDS_DETECT_DONE), mark);
        ASSERT_TRUE(shown.has_value()) << "round " << round;
        using Ms = std::chrono::duration<double, std::milli>;
        fromPlug.push_back(Ms(*shown - plugged).count());
        fromNode.push_back(Ms(*shown - bed->lastNodeAdded()).count());
        detector->WaitIdle();
    }
    std::sort(fromPlug.begin(), fromPlug.end());
    std::sort(fromNode.begin(), fromNode.end());
    const double worst = fromPlug.back();
    std::cout << "[ e2e      ] hot-plug latency to the status text over " << fromPlug.size()
              << " re-plugs: from the first add event median " << fromPlug[fromPlug.size() / 2]
              << " ms, max " << worst << " ms; from the hidraw add event median "
              << fromNode[fromNode.size() / 2] << " ms, max " << fromNode.back() << " ms\n";
    EXPECT_LT(worst, 1000.0);
}

// Installed hidraw nodes belong to root until the udev rules grant access. The device is there,
// so the program must not call it absent: the detection says that this user may not open it,
// and the log names the node.
TEST_F(DeviceStackTest, ANodeThisUserMayNotOpenIsNotCalledAbsent) {
    const int plug = bed->PlugOurs(kProductIdWork);
    const NodeRefusal refusal(*bed, plug);
    ASSERT_EQ(refusal.problem(), "");
    const std::filesystem::path logFile = refusal.workDir() / "Tavlin_log.txt";
    SetLogFilePath(logFile.string());

    uint16_t productId = 0;
    std::vector<HidInterfaceInfo> listed;
    int result = -1;
    Result why;
    {
        const NodeRefusal::Unprivileged unprivileged(refusal);
        if (!unprivileged.ok()) {
            GTEST_SKIP() << "running as root without the right to change the effective user: "
                            "an open cannot be made to fail honestly";
        }
        listed = transport->Enumerate();
        result = OpenHidDevice(*device, &productId, &why);
        Detect();
    }

    EXPECT_EQ(listed.size(), 2u) << "the device must stay visible, only its node refused";
    EXPECT_EQ(result, 0);
    EXPECT_EQ(why.code(), ResultCode::NoAccess) << why.describe();
    EXPECT_FALSE(device->isOpen());
    EXPECT_EQ(state.g_bDevExist, 0);
    EXPECT_EQ(state.devicePresence, ResultCode::NoAccess);
    EXPECT_EQ(view.LastStatus(), LoadString(IDS_NO_ACCESS));
    std::ifstream in(logFile);
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_NE(text.find("FindHidDevice: cannot open " + bed->DevNode(plug) +
                        " (error 13, permission denied: install the udev rules)\n"),
              std::string::npos)
        << text;

    // With access back the same device opens: the refusal was the only obstacle.
    EXPECT_EQ(OpenHidDevice(*device, &productId, &why), 1);
    EXPECT_TRUE(why.ok());
}

}  // namespace
}  // namespace tavlin::e2e
