// The window's presence path under Wine (presence_under_wine.exe: the Windows device notices,
// detections on the real Win32 HID link, the status texts the window's status line shows)
// while the bed unplugs and re-plugs its device. The program never looks for the device by
// itself after its first detection: only the notices can make the texts follow.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "WineBedTest.h"
#include "base/StringTable.h"
#include "device/HidTransport.h"

namespace tavlin::e2e {
namespace {

using namespace std::chrono_literals;

constexpr auto kStepLimit = 90s;

// A status line as the program prints it: line ends inside the text become spaces.
std::string StatusLine(int id) {
    std::string text = BuiltInString(id);
    for (char& c : text) {
        c = c == '\n' ? ' ' : c;
    }
    return "status: " + text + "\n";
}

class WinePresenceE2eTest : public WineBedTest {
  protected:
    std::string FolderName() const override {
        return "tavlin-wine-presence-" + std::to_string(getpid());
    }

    std::string Out() const { return ReadText(dir / "out.txt"); }

    // Waits until `line` was printed `count` times.
    bool WaitForLines(const std::string& line, size_t count) {
        return e2e::WaitForLines([this] { return Out(); }, line, count, 100ms, kStepLimit);
    }
};

// The device is there when the session starts: in this bed, a device of ours that arrives
// after Wine's device host started without one is seen, but after its removal Wine hears of
// no further arrival (seen with Wine 8.0 and umockdev 0.17; a device there from the start can
// leave and come back any number of times).
TEST_F(WinePresenceE2eTest, TheStatusFollowsUnplugsAndPlugsThroughTheNotices) {
    const std::string none = StatusLine(IDS_NO_DEVICE);
    const std::string found = StatusLine(IDS_DETECT_DONE);
    const std::string detecting = StatusLine(IDS_DETECTING);
    int plug = bed->PlugOurs(kProductIdWork);
    const pid_t program = session->Start(dir, settings.presenceExe, {"300"});
    ASSERT_TRUE(WaitForLines(found, 1)) << Out();
    EXPECT_EQ(Out().find("watch: on\n"), 0u) << Out();
    // Unplug, plug, unplug, re-plug: each is told by a notice, which starts a detection
    // (string 106 first); the program looks for the device on no other occasion.
    for (size_t round = 1; round <= 2; ++round) {
        bed->Unplug(plug);
        ASSERT_TRUE(WaitForLines(none, round)) << "no notice of unplug " << round << "\n" << Out();
        plug = bed->PlugOurs(kProductIdWork);
        ASSERT_TRUE(WaitForLines(found, round + 1)) << "no notice of plug " << round << "\n"
                                                    << Out();
    }
    const std::string out = Out();
    EXPECT_EQ(CountOf(out, detecting), 4u) << out;
    size_t at = 0;
    for (const std::string* expected : {&found, &none, &found, &none, &found}) {
        at = out.find(*expected, at);
        ASSERT_NE(at, std::string::npos) << "not in the order of the plugs\n" << out;
        at += expected->size();
    }
    session->End();
    session->Wait(program, dir, 30s);
}

}  // namespace
}  // namespace tavlin::e2e
