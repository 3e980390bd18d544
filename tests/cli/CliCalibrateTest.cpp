// tavlin-cli layout and calibrate: argument checks, the printed targets and a whole headless
// calibration against the simulated stylus.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#ifndef _WIN32
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>
#endif

#include <cstdio>
#include <optional>
#include <sstream>
#include <thread>

#include "base/StringTable.h"
#include "calibration/CalibrationDataThread.h"
#include "calibration/CalibrationLayout.h"
#include "calibration/CalibrationTexts.h"
#include "cli/CliCalibrate.h"
#include "cli/CliSession.h"
#include "device/DeviceProtocol.h"
#include "device/LogCapture.h"
#include "sim/SimTransport.h"

namespace tavlin::cli {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

std::string Capture(const std::function<int(std::FILE*)>& run, int* status) {
    std::FILE* out = std::tmpfile();
    *status = run(out);
    std::rewind(out);
    std::string text;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, out)) > 0) {
        text.append(buf, n);
    }
    std::fclose(out);
    return text;
}

int CountLines(const std::string& text, const std::string& prefix) {
    std::istringstream in(text);
    int n = 0;
    for (std::string line; std::getline(in, line);) {
        n += line.rfind(prefix, 0) == 0 ? 1 : 0;
    }
    return n;
}

TEST(CliLayout, PrintsTheTargetsInVisitingOrder) {
    Invocation inv;
    std::string error;
    ASSERT_TRUE(ParseInvocation({"layout", "1920x1080"}, &inv, &error)) << error;
    int status = -1;
    const std::string out = Capture(
        [&](std::FILE* f) {
            CliOutput output(f);
            return RunLayout(inv, output);
        },
        &status);
    EXPECT_EQ(status, kExitSuccess);
    EXPECT_EQ(out.substr(0, out.find('\n') + 1), "0 64 32 20\n");
    EXPECT_THAT(out, HasSubstr("\n5 636 598 12\n"));
    EXPECT_THAT(out, HasSubstr("\n14 1891 1024 0\n"));
    EXPECT_EQ(CountLines(out, ""), 15);
}

TEST(CliLayout, MalformedSizesAreUsageErrors) {
    for (const char* size : {"1920", "1920x", "x1080", "0x1080", "1920x0", "-5x10", "99999x10",
                             "19a0x1080", "1920x1080x", " 1920x1080", "1920X1080"}) {
        Invocation inv;
        std::string error;
        EXPECT_FALSE(ParseInvocation({"layout", size}, &inv, &error)) << size;
        EXPECT_FALSE(error.empty());
    }
    Invocation inv;
    std::string error;
    EXPECT_FALSE(ParseInvocation({"layout"}, &inv, &error));
    EXPECT_FALSE(ParseInvocation({"calibrate", "--screen"}, &inv, &error));
    EXPECT_FALSE(ParseInvocation({"calibrate", "1920x1080"}, &inv, &error));
    EXPECT_FALSE(ParseInvocation({"calibrate", "--target-limit", "0"}, &inv, &error));
    EXPECT_FALSE(ParseInvocation({"calibrate", "--target-limit", "5s"}, &inv, &error));
    ASSERT_TRUE(
        ParseInvocation({"calibrate", "--target-limit", "5", "--screen", "800x600"}, &inv, &error));
    EXPECT_EQ(inv.targetLimitMs, 5000u);
    EXPECT_EQ(inv.screenWidth, 800);
    ASSERT_TRUE(ParseInvocation({"calibrate", "--screen", "1280x720"}, &inv, &error));
    EXPECT_EQ(inv.screenWidth, 1280);
    EXPECT_EQ(inv.screenHeight, 720);
    ASSERT_TRUE(ParseInvocation({"calibrate"}, &inv, &error));
    EXPECT_EQ(inv.screenWidth, 1920);
    EXPECT_EQ(inv.screenHeight, 1080);
}

class CliCalibrateTest : public ::testing::Test {
  protected:
    int Run(std::vector<std::string> args) {
        Invocation inv;
        std::string error;
        EXPECT_TRUE(ParseInvocation(args, &inv, &error)) << error;
        int status = -1;
        output = Capture([&](std::FILE* f) { return RunSession(inv, sim, f, 100); }, &status);
        return status;
    }

    testing::LogCapture log;
    sim::SimTransport sim;
    std::string output;
};

TEST_F(CliCalibrateTest, WholeCalibrationWithTheSimulatedStylus) {
    EXPECT_EQ(Run({"calibrate"}), kExitSuccess);
    EXPECT_THAT(output, HasSubstr(caltext::kTouchTheCross));
    EXPECT_THAT(output, HasSubstr("target 0 (64, 32)\n"));
    EXPECT_THAT(output, HasSubstr("target 14 (1891, 1024)\n"));
    EXPECT_EQ(CountLines(output, "target "), 15);
    EXPECT_THAT(output, HasSubstr(caltext::kCompleted));
    EXPECT_EQ(sim.firmware().mode(), 0x22);  // back in work mode
    EXPECT_EQ(sim.firmware().screenSize(), (std::pair<uint16_t, uint16_t>{1920, 1080}));
}

// The finishing percentages (0 to 100, the worker reports most of them twice) are printed once
// each, in order.
TEST_F(CliCalibrateTest, EachFinishingPercentageIsPrintedOnce) {
    ASSERT_EQ(Run({"calibrate"}), kExitSuccess);
    std::vector<std::string> finishing;
    std::istringstream in(output);
    for (std::string line; std::getline(in, line);) {
        if (line + "\n" == FinishingText(static_cast<int>(finishing.size()))) {
            finishing.push_back(line);
        } else {
            EXPECT_EQ(line.find(FinishingText(0).substr(0, 12)), std::string::npos)
                << "out of order or repeated: " << line;
        }
    }
    EXPECT_EQ(finishing.size(), 101u) << output;
}

#ifndef _WIN32
// On a terminal the percentage is one line redrawn in place; it ends before the next text.
TEST_F(CliCalibrateTest, OnATerminalTheFinishingLineIsRedrawnInPlace) {
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    const int slave = open(ptsname(master), O_RDWR | O_NOCTTY);
    ASSERT_GE(slave, 0);
    termios raw{};
    ASSERT_EQ(tcgetattr(slave, &raw), 0);
    cfmakeraw(&raw);  // no line feed turned into CR LF
    ASSERT_EQ(tcsetattr(slave, TCSANOW, &raw), 0);
    std::FILE* terminal = fdopen(slave, "w");
    ASSERT_NE(terminal, nullptr);

    Invocation inv;
    std::string error;
    ASSERT_TRUE(ParseInvocation({"calibrate"}, &inv, &error)) << error;
    // The terminal's other side is read while the run writes, up to a mark written after it.
    const std::string endMark = "<end of run>";
    std::string screen;
    std::thread reader([&] {
        char buf[4096];
        while (screen.find(endMark) == std::string::npos) {
            const ssize_t n = read(master, buf, sizeof buf);
            if (n <= 0) {
                break;
            }
            screen.append(buf, static_cast<size_t>(n));
        }
    });
    const int status = RunSession(inv, sim, terminal, 100);
    std::fputs(endMark.c_str(), terminal);
    std::fflush(terminal);
    reader.join();
    std::fclose(terminal);
    close(master);

    EXPECT_EQ(status, kExitSuccess);
    std::string line = FinishingText(0);
    line.pop_back();
    const size_t first = screen.find("\r" + line);
    ASSERT_NE(first, std::string::npos) << screen;
    // From 0 % to 100 % nothing but redraws of the one line, each value once, then its end.
    std::string redraws;
    for (int percent = 0; percent <= 100; ++percent) {
        std::string text = FinishingText(percent);
        text.pop_back();
        redraws += "\r" + text;
    }
    EXPECT_EQ(screen.substr(first, redraws.size() + 1), redraws + "\n") << screen;
    EXPECT_NE(screen.find(caltext::kCompleted, first), std::string::npos) << screen;
}
#endif

TEST_F(CliCalibrateTest, AnotherScreenSize) {
    EXPECT_EQ(Run({"calibrate", "--screen", "1280x720"}), kExitSuccess);
    EXPECT_THAT(output, HasSubstr("target 0 (64, 22)\n"));
    EXPECT_EQ(sim.firmware().screenSize(), (std::pair<uint16_t, uint16_t>{1280, 720}));
}

// A device that refuses is still there: the run fails with the device's own reason, and the
// operator is not told to look at the cable.
TEST_F(CliCalibrateTest, InitRefusedFails) {
    sim.faults().Refuse(cmd::kCalInit);
    EXPECT_EQ(Run({"calibrate"}), kExitFailed);
    EXPECT_THAT(output, HasSubstr(caltext::kInitFailed));
    EXPECT_THAT(output, Not(HasSubstr(caltext::kUnplugged)));
    EXPECT_THAT(output, Not(HasSubstr(caltext::kCompleted)));
    EXPECT_THAT(output, HasSubstr("tavlin-cli: calibration init: status 0x"));
    EXPECT_THAT(log.Text(), HasSubstr("Calibration init failed!\n"));
    EXPECT_THAT(log.Text(), HasSubstr("CalibrationDataThread exit!\ng_isDeviceCommunicate=0,"));
}

TEST_F(CliCalibrateTest, ScreenSizeRefusedIsNotSuccess) {
    sim.faults().Refuse(cmd::kCalParam);
    EXPECT_EQ(Run({"calibrate"}), kExitFailed);
    EXPECT_THAT(output, HasSubstr(caltext::kScreenSizeFailed));
    EXPECT_THAT(output, Not(HasSubstr(caltext::kUnplugged)));
    EXPECT_THAT(output, Not(HasSubstr(caltext::kCompleted)));
    EXPECT_THAT(output, HasSubstr("tavlin-cli: screen size: status 0x"));
}

TEST_F(CliCalibrateTest, DeviceGoneAtTheInitSaysUnplugged) {
    sim.faults().UnplugAt(cmd::kCalInit);
    EXPECT_EQ(Run({"calibrate"}), kExitFailed);
    EXPECT_THAT(output, HasSubstr(caltext::kUnplugged));
    EXPECT_THAT(output, Not(HasSubstr(caltext::kCompleted)));
    EXPECT_THAT(log.Text(), HasSubstr("CalibrationDataThread exit!\ng_isDeviceCommunicate=0,"));
}

// The calibration completes, but the device refuses to go back to work mode: the run is not
// a success, and the status line does not claim work mode.
TEST_F(CliCalibrateTest, RefusedReturnToWorkModeFails) {
    sim.firmware().setStylusHand([this](const sim::TouchRequest& r) -> std::optional<sim::Touch> {
        if (r.targetNumber == kCalTargetCount - 1) {
            sim.faults().Refuse(cmd::kModeSwitch);  // the launcher's switch has gone through
        }
        return std::nullopt;
    });
    EXPECT_EQ(Run({"calibrate"}), kExitFailed);
    EXPECT_THAT(output, HasSubstr(caltext::kCompleted));
    EXPECT_THAT(output, HasSubstr("tavlin-cli: status 0x"));
    EXPECT_THAT(output, Not(HasSubstr(LoadString(IDS_NOW_WORK_MODE))));
    EXPECT_EQ(sim.firmware().mode(), 0xFF);
}

// A station has no operator to press Esc: a target that gets no valid sample within the limit
// ends the run through the window's cancel path (the device goes back to work mode), with the
// cause, and so does a stylus that stays down after a target and never lifts for the next. A
// device that restarted in the middle lost what it had collected and was never initialised
// again: that run fails too, though the device came back.
TEST_F(CliCalibrateTest, ARunThatCannotCompleteEndsAsAFailureWithItsCause) {
    using Clock = std::chrono::steady_clock;
    struct Case {
        const char* name;
        std::function<void(sim::SimTransport&)> fault;
        const char* cause;
    };
    const Case cases[] = {
        {"no reply", [](sim::SimTransport& s) { s.faults().NoReplyTo(cmd::kCalPoint); },
         "tavlin-cli: target 0 got no valid sample within 1 s"},
        {"refused", [](sim::SimTransport& s) { s.faults().Refuse(cmd::kCalPoint); },
         "tavlin-cli: target 0 got no valid sample within 1 s"},
        {"restarted",
         [](sim::SimTransport& s) {
             s.faults().UnplugAfter(159,
                                    sim::Replug{kProductIdWork, std::chrono::milliseconds(300)});
         },
         "tavlin-cli: the device went away and came back during the calibration"},
        // Held on the first target, where it gave its samples. After 5 s the hand lets go, so
        // that a limit that does not end the wait shows as a run that completes, not a hang.
        {"held down",
         [](sim::SimTransport& s) {
             const auto letGo = Clock::now() + std::chrono::seconds(5);
             std::optional<sim::Touch> held;
             s.firmware().setStylusHand(
                 [letGo, held](const sim::TouchRequest& r) mutable -> std::optional<sim::Touch> {
                     if (Clock::now() > letGo) {
                         return std::nullopt;
                     }
                     if (!held) {
                         held = sim::Touch{true, r.x, r.y};
                     }
                     return held;
                 });
         },
         "tavlin-cli: target 1 saw the stylus stay down within 1 s"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim.faults().Clear();
        sim.firmware().setStylusHand({});
        c.fault(sim);
        const auto start = Clock::now();
        EXPECT_EQ(Run({"calibrate", "--target-limit", "1"}), kExitFailed);
        EXPECT_LT(Clock::now() - start, std::chrono::seconds(10));
        EXPECT_THAT(output, HasSubstr(c.cause));
        EXPECT_THAT(output, Not(HasSubstr(caltext::kCompleted)));
        EXPECT_EQ(sim.firmware().mode(), 0x22);  // back in work mode, as the cancel leaves it
    }
}

TEST_F(CliCalibrateTest, NoDevice) {
    sim.Detach();
    EXPECT_EQ(Run({"calibrate"}), kExitNoDevice);
    EXPECT_THAT(output, Not(HasSubstr("target ")));
}

}  // namespace
}  // namespace tavlin::cli
