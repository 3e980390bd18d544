// tavlin.exe as built for Windows, under Wine, against the umockdev device read by Wine's HID
// stack: its status line follows unplugs and plugs, each told by the system's device notices
// (the window does not look for the device by itself). Wine lets no other process read a Qt
// window's texts, so the status line is followed as pixels: it must differ between "device
// found" and "no device", and show the same again each time the device comes back or leaves.
// The log's detection lines say which detection ran.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "WineBedTest.h"
#include "device/HidTransport.h"

namespace tavlin::e2e {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr auto kStepLimit = 90s;
// The status line (control 1060, a 400 x 44 label) of the 480 x 420 client area sits at a
// quarter of the height (app/MainLayout.cpp); nothing else shares those rows.
constexpr const char* kCaption = "Tavlin 0.98";
constexpr const char* kBandTop = "105";
constexpr const char* kBandHeight = "44";

class WineWindowE2eTest : public WineBedTest {
  protected:
    void SetUp() override {
        WineBedTest::SetUp();
        if (!dir.empty()) {
            fs::create_directories(dir / "probe");
        }
    }
    std::string FolderName() const override {
        return "tavlin-wine-window-" + std::to_string(getpid());
    }
    void CheckMore() override {
        if (settings.windowExe.empty() || settings.bandProbeExe.empty()) {
            GTEST_SKIP() << "the window is not built in this tree";
        }
        ASSERT_NE(std::getenv("DISPLAY"), nullptr)
            << "the window needs an X display (scripts/test-windows starts a virtual one)";
    }

    std::string Log() const { return ReadText(dir / "Tavlin_log.txt"); }

    bool WaitForLogLines(const std::string& line, size_t count) {
        return WaitForLines([this] { return Log(); }, line, count, 200ms, kStepLimit);
    }

    // The status line's pixels as the probe digests them; empty while the window is not shown.
    std::string Band() {
        const fs::path probeDir = dir / "probe";
        const WineRun run =
            session->Run(probeDir, settings.bandProbeExe, {kCaption, kBandTop, kBandHeight}, 60s);
        if (run.exitStatus != 0 || run.out.find("nonbackground 0") != std::string::npos) {
            return {};  // not shown, or nothing drawn yet
        }
        return run.out.substr(0, run.out.find(" nonbackground"));
    }

    // Waits until the status line holds still (two reads alike) and `done` accepts it.
    template <typename Done>
    std::string SettledBand(Done done) {
        const auto deadline = Clock::now() + kStepLimit;
        std::string last;
        while (Clock::now() < deadline) {
            const std::string now = Band();
            if (!now.empty() && now == last && done(now)) {
                return now;
            }
            last = now;
            std::this_thread::sleep_for(300ms);
        }
        return {};
    }
};

// The device is there when the session starts (see WinePresenceE2eTest for why).
TEST_F(WineWindowE2eTest, TheStatusLineFollowsAnUnplugAPlugAndAReplug) {
    int plug = bed->PlugOurs(kProductIdWork);
    session->Start(dir, settings.windowExe, {});
    ASSERT_TRUE(WaitForLogLines("Open hid device success!", 1)) << Log();
    const std::string found = SettledBand([](const std::string&) { return true; });
    ASSERT_FALSE(found.empty()) << "the window's status line was never shown";

    bed->Unplug(plug);
    ASSERT_TRUE(WaitForLogLines("Open hid device failed!", 1)) << Log();
    const std::string none = SettledBand([&](const std::string& b) { return b != found; });
    ASSERT_FALSE(none.empty()) << "the status line did not change after the unplug";

    plug = bed->PlugOurs(kProductIdWork);
    ASSERT_TRUE(WaitForLogLines("Open hid device success!", 2)) << Log();
    EXPECT_EQ(SettledBand([&](const std::string& b) { return b == found; }), found)
        << "the status line did not show the device again after the plug";

    bed->Unplug(plug);
    ASSERT_TRUE(WaitForLogLines("Open hid device failed!", 2)) << Log();
    EXPECT_EQ(SettledBand([&](const std::string& b) { return b == none; }), none)
        << "the status line did not go back to 'no device' after the unplug";

    bed->PlugOurs(kProductIdWork);
    ASSERT_TRUE(WaitForLogLines("Open hid device success!", 3)) << Log();
    EXPECT_EQ(SettledBand([&](const std::string& b) { return b == found; }), found)
        << "the status line did not show the device again after the re-plug";
}

}  // namespace
}  // namespace tavlin::e2e
