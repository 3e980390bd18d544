// Device presence against the simulated device: detection outcomes, texts, flags, log lines,
// one detection at a time, and the hot-plug watcher.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <thread>

#include "base/Log.h"
#include "base/StringTable.h"
#include "device/DeviceDetector.h"
#include "sim/SimPresenceAdapter.h"

namespace tavlin::testing {
namespace {

using namespace std::chrono_literals;

class RecordingView : public PresenceView {
  public:
    void SetStatusText(const std::string& t) override { Add("1060", t); }
    void SetVersionText(const std::string& t) override { Add("1061", t); }
    void SetModeToggleCaption(const std::string& t) override { Add("1065", t); }
    void SetFirmwareStatusText(const std::string& t) override { Add("1067", t); }
    std::vector<std::string> calls() const {
        std::lock_guard lock(mutex_);
        return calls_;
    }
    void Clear() {
        std::lock_guard lock(mutex_);
        calls_.clear();
    }

  private:
    void Add(const char* id, const std::string& text) {
        std::lock_guard lock(mutex_);
        calls_.push_back(std::string(id) + " " + text);
    }
    mutable std::mutex mutex_;
    std::vector<std::string> calls_;
};

std::string S(const char* id, int text) {
    return std::string(id) + " " + LoadString(text);
}

class PresenceTest : public ::testing::Test {
  protected:
    explicit PresenceTest(bool attached = true) : sim({attached, kProductIdWork, 20ms}) {
        dir = std::filesystem::temp_directory_path() /
              ("tavlin-presence-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        SetLogFilePath((dir / "Tavlin_log.txt").string());
        std::filesystem::remove(dir / "Tavlin_log.txt");
        device.setTimeoutMs(100);
    }
    ~PresenceTest() override {
        adapter.reset();
        detector.WaitIdle();
        std::filesystem::remove_all(dir);
    }
    std::string Log() {
        std::ifstream in(dir / "Tavlin_log.txt");
        return {std::istreambuf_iterator<char>(in), {}};
    }
    void Watch() {
        adapter = std::make_unique<SimPresenceAdapter>(sim, [this] { detector.OnDeviceChange(); });
    }

    sim::SimTransport sim;
    HidDevice device{sim};
    SharedState state;
    RecordingView view;
    DeviceDetector detector{state, device, view};
    std::unique_ptr<SimPresenceAdapter> adapter;
    std::filesystem::path dir;
};

TEST_F(PresenceTest, StartWithTheDeviceAttached) {
    ASSERT_TRUE(detector.StartDetect());
    detector.WaitIdle();
    EXPECT_EQ(state.g_bDevExist, 1);
    EXPECT_EQ(state.g_isFwUpdateMode, 0);
    EXPECT_EQ(state.g_DetectThread, nullptr);
    EXPECT_EQ(view.calls(), (std::vector<std::string>{S("1065", IDS_MODE_CALIBRATION),
                                                      S("1060", IDS_DETECT_DONE)}));
    EXPECT_NE(Log().find(") Open hid device success!\n"), std::string::npos);
}

class NoDevicePresenceTest : public PresenceTest {
  protected:
    NoDevicePresenceTest() : PresenceTest(false) {}
};

TEST_F(NoDevicePresenceTest, StartWithoutTheDevice) {
    state.g_isVersionsShown = 1;
    ASSERT_TRUE(detector.StartDetect());
    detector.WaitIdle();
    EXPECT_EQ(state.g_bDevExist, 0);
    EXPECT_EQ(state.g_isVersionsShown, 0);
    EXPECT_EQ(view.calls(), (std::vector<std::string>{S("1060", IDS_NO_DEVICE), "1061 "}));
    EXPECT_NE(Log().find(") Open hid device failed!\n"), std::string::npos);
}

TEST_F(PresenceTest, AForeignDeviceArrivingLeavesOurDeviceAlone) {
    ASSERT_TRUE(detector.StartDetect());
    detector.WaitIdle();
    const auto handle = device.handle();
    view.Clear();
    Watch();
    sim.AddForeignDevice({"/dev/hidraw-mouse", 0x046D, 0xC077, 0x0001, 0x0002});
    detector.WaitIdle();
    EXPECT_EQ(device.handle(), handle);
    EXPECT_EQ(view.calls(),
              (std::vector<std::string>{S("1060", IDS_DETECTING), S("1060", IDS_DETECT_DONE)}));
    EXPECT_NE(Log().find(") No hid device changed!\n"), std::string::npos);
}

TEST_F(PresenceTest, UnpluggingShowsNoDevice) {
    ASSERT_TRUE(detector.StartDetect());
    detector.WaitIdle();
    Watch();
    sim.Detach();
    detector.WaitIdle();
    EXPECT_EQ(state.g_bDevExist, 0);
    EXPECT_EQ(view.calls().back(), "1061 ");
    EXPECT_EQ(device.handle(), nullptr);
}

// The device re-enumerates into its update environment while the firmware window is open.
TEST_F(PresenceTest, ReplugInTheUpdateEnvironmentReadiesTheFirmwareWindow) {
    ASSERT_TRUE(detector.StartDetect());
    detector.WaitIdle();
    state.g_isFwDlgOpen = 1;
    Watch();
    sim.Detach();
    sim.Attach(kProductIdUpdate);
    detector.WaitIdle();
    EXPECT_EQ(state.g_bDevExist, 1);
    EXPECT_EQ(state.g_isFwUpdateMode, 1);
    // The arrival may come while the removal's detection runs; that one then looks again and
    // finds the device unchanged, which repeats the status line.
    const auto calls = view.calls();
    EXPECT_THAT(calls, ::testing::Contains(S("1067", IDS_FW_ENV_READY)));
    const auto lastStatus = std::find_if(calls.rbegin(), calls.rend(), [](const std::string& c) {
        return c.rfind("1060 ", 0) == 0;
    });
    ASSERT_NE(lastStatus, calls.rend());
    EXPECT_EQ(*lastStatus, S("1060", IDS_FW_NOT_READY));
}

// Counts the detections that run at once and holds each one, after it has looked, until released.
class GatedTransport : public HidTransport {
  public:
    explicit GatedTransport(HidTransport& inner) : inner_(inner) {}
    std::vector<HidInterfaceInfo> Enumerate() override {
        const int now = ++running;
        int seen = most.load();
        while (now > seen && !most.compare_exchange_weak(seen, now)) {
        }
        // Looks first and is held afterwards: what arrives while it is held, it has not seen.
        std::vector<HidInterfaceInfo> found = inner_.Enumerate();
        ++calls;
        while (gate) {
            std::this_thread::sleep_for(1ms);
        }
        --running;
        return found;
    }
    std::unique_ptr<HidConnection> Open(const std::string& p, int* e) override {
        return inner_.Open(p, e);
    }
    std::optional<std::pair<uint16_t, uint16_t>> Attributes(HidConnection& c) override {
        return inner_.Attributes(c);
    }
    std::atomic<int> running{0}, most{0}, calls{0};
    std::atomic<bool> gate{false};

  private:
    HidTransport& inner_;
};

// Notices from two threads never run two detections at once, and a notice that comes while
// one runs makes it run once more rather than being lost.
TEST_F(NoDevicePresenceTest, OneDetectionAtATimeAndNoNoticeIsLost) {
    GatedTransport gated(sim);
    HidDevice gatedDevice(gated);
    DeviceDetector gatedDetector(state, gatedDevice, view);
    gated.gate = true;
    ASSERT_TRUE(gatedDetector.StartDetect());
    while (gated.calls == 0) {
        std::this_thread::sleep_for(1ms);
    }
    sim.Attach();  // arrives while the first detection looks (and finds nothing)
    std::thread a([&] {
        for (int i = 0; i < 50; ++i) {
            gatedDetector.OnDeviceChange();
        }
    });
    for (int i = 0; i < 50; ++i) {
        gatedDetector.OnDeviceChange();
    }
    a.join();
    gated.gate = false;
    gatedDetector.WaitIdle();
    EXPECT_EQ(gated.most, 1);
    EXPECT_EQ(state.g_bDevExist, 1);
    EXPECT_EQ(state.g_DetectThread, nullptr);
}

// A detection while the command thread transfers finds the device still there and leaves the
// connection in use alone.
TEST_F(PresenceTest, DetectionsDoNotDisturbTransfers) {
    ASSERT_TRUE(detector.StartDetect());
    detector.WaitIdle();
    const auto handle = device.handle();
    sim.faults().SetLatency(200us);
    std::atomic<bool> stop{false};
    std::thread notices([&] {
        while (!stop) {
            detector.OnDeviceChange();
            std::this_thread::sleep_for(1ms);
        }
    });
    int failures = 0;
    for (int i = 0; i < 100; ++i) {
        uint8_t value = 0;
        failures += SingleRegisterRead(device, 0x0010, &value) ? 0 : 1;
    }
    stop = true;
    notices.join();
    detector.WaitIdle();
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(device.handle(), handle);
}

}  // namespace
}  // namespace tavlin::testing
