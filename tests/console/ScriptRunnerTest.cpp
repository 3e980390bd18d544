#include "console/ScriptRunner.h"

#include <algorithm>
#include <string>

#include "base/ControlIds.h"
#include "base/StringTable.h"
#include "console/ConsoleFixture.h"
#include "console/RegisterPanel.h"
#include "console/ScriptTexts.h"
#include "console/WorkerSlot.h"

namespace tavlin::testing {
namespace {

class ScriptRunnerTest : public ConsoleTest {
  protected:
    // Runs a script to its end and returns the output pane.
    std::string Run(const std::string& script) {
        EXPECT_TRUE(runner.Start(WriteFile("s.ini", script)));
        EXPECT_EQ(state.g_ScriptFinishedEvent.Wait(20000), WAIT_OBJECT_0);
        runner.Stop();
        EXPECT_EQ(state.g_ScriptThread, nullptr);
        return view.pane();
    }

    ScriptRunner runner{state, view};
};

// A warning's pane line as the runner shows it.
std::string Warning(const char* builtIn, int line, const char* token) {
    char text[256];
    std::snprintf(text, sizeof text, Tr(builtIn).c_str(), line, token);
    return text;
}

// In the window the Part's reading is kept: such lines run as read, but each is named.
TEST_F(ScriptRunnerTest, LinesNotReadAsWrittenRunAsReadAndAreNamedInThePaneAndTheLog) {
    firmware().setFpgaRegister(0, 0x20, 0x33);
    const std::string pane = Run("1 pwr 0x20 1 0x7E\n1 pwd 0x20 1 0xZZ\n1 pwd 21 1 -2\n1 srd 20\n");
    EXPECT_EQ(pane, Warning(scripttext::kUnknownCommand, 1, "pwr") +
                        Warning(scripttext::kNotANumber, 2, "0xZZ") +
                        "Master: FPGAPortWrite Addr: 0x0020  value: 0x00\n" +
                        Warning(scripttext::kNegative, 3, "-2") +
                        "Master: FPGAPortWrite Addr: 0x0021  value: 0xfe\n"
                        "Master: FPGASingleRead Addr: 0x0020  value: 0x00\n"
                        "Success!\n");
    const std::string log = Log();
    EXPECT_NE(log.find("Script line 1: unknown command 'pwr'\n"), std::string::npos) << log;
    EXPECT_NE(log.find("Script line 2: operand '0xZZ' is not a number\n"), std::string::npos);
    EXPECT_NE(log.find("Script line 3: operand '-2' is negative\n"), std::string::npos);
    EXPECT_EQ(runner.outcome().code(), ResultCode::BadInput);
    EXPECT_EQ(runner.outcome().reason(), "script lines 1, 2, 3 not read as written");
    // A clean run after it owes nothing to the lines of the one before.
    Run("1 srd 20\n");
    EXPECT_TRUE(runner.outcome()) << runner.outcome().reason();
}

// A station's run reads the whole script first: one that would not do what it says, or could
// not run to its end, sends nothing.
TEST_F(ScriptRunnerTest, CheckFirstSendsNothingOfAScriptThatIsNotReadAsWritten) {
    struct Case {
        const char* script;
        std::string pane;
        std::string reason;  // empty: the run succeeds
        int writes;
    };
    const std::string notRun = Tr(scripttext::kNotRun);
    const Case cases[] = {
        {"1 pwd 10 1 5\n1 pwr 0x20 1 0x7E\n1 pwd 0x20 1 0xZZ\n",
         Warning(scripttext::kUnknownCommand, 2, "pwr") +
             Warning(scripttext::kNotANumber, 3, "0xZZ") + notRun,
         "script lines 2, 3 not read as written; nothing was sent", 0},
        {"1 pwd 10 1 5\n1 pwd 10 zz 5\n",
         "Script line 2: missing or bad operand, script stopped!\n" + notRun,
         "script line 2 not read as written or unusable; nothing was sent", 0},
        {"1 pwd 10 1 5\n1 prd 10 -1\n",
         Warning(scripttext::kNegative, 2, "-1") +
             "Script line 2: count out of range, script stopped!\n" + notRun,
         "script line 2 not read as written or unusable; nothing was sent", 0},
        {"1 pwd 10 1 5\n1 srd 10\n",
         "Master: FPGAPortWrite Addr: 0x0010  value: 0x05\n"
         "Master: FPGASingleRead Addr: 0x0010  value: 0x05\nSuccess!\n",
         "", 1},
    };
    runner.SetCheckFirst(true);
    for (const Case& c : cases) {
        view.ClearPane();
        const int before = Sent(cmd::kFpgaWrite);
        EXPECT_EQ(Run(c.script), c.pane) << c.script;
        EXPECT_EQ(Sent(cmd::kFpgaWrite) - before, c.writes) << c.script;
        if (c.reason.empty()) {
            EXPECT_TRUE(runner.outcome()) << c.script;
        } else {
            EXPECT_EQ(runner.outcome().code(), ResultCode::BadInput) << c.script;
            EXPECT_EQ(runner.outcome().reason(), c.reason);
            EXPECT_NE(Log().find("Script not run: " + c.reason + "\n"), std::string::npos);
        }
    }
}

TEST_F(ScriptRunnerTest, ReadsWithAndWithoutHexPrefixReachTheSameRegister) {
    firmware().setFpgaRegister(0, 0x10, 0x5A);
    EXPECT_EQ(Run("1 srd 0x10\n1 srd 10\n"),
              "Master: FPGASingleRead Addr: 0x0010  value: 0x5a\n"
              "Master: FPGASingleRead Addr: 0x0010  value: 0x5a\n"
              "Success!\n");
    EXPECT_TRUE(view.readValues().empty());  // the script took the values, not the Value box
}

TEST_F(ScriptRunnerTest, SkippedLinesAndUnknownKeywordsSendNothing) {
    EXPECT_EQ(Run("0 pwd 10 1 5A\nfirst a comment\n# 100\n\n2 srd 1\n"), "Success!\n");
    EXPECT_TRUE(OutReports().empty());
    EXPECT_GE(view.cmdDone(), 1);
}

TEST_F(ScriptRunnerTest, DelayPausesWithoutDeviceTraffic) {
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Run("1 # 250\n"), "delay 250 ms\nSuccess!\n");
    EXPECT_GE(std::chrono::steady_clock::now() - start, 250ms);
    EXPECT_TRUE(OutReports().empty());
}

TEST_F(ScriptRunnerTest, NegativeAndHugeDelaysAreClampedAndStopEndsTheSleep) {
    EXPECT_EQ(Run("1 # -5\n"), "delay 0 ms\nSuccess!\n");
    EXPECT_TRUE(runner.Start(WriteFile("long.ini", "1 # 999999\n1 pwd 10 1 1\n")));
    ASSERT_TRUE(view.WaitForPane("delay 60000 ms\n"));
    const auto start = std::chrono::steady_clock::now();
    runner.Stop();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
    EXPECT_EQ(view.pane(), "delay 0 ms\nSuccess!\ndelay 60000 ms\n");
    EXPECT_EQ(runner.outcome().code(), ResultCode::Stopped);
    EXPECT_EQ(Sent(cmd::kFpgaWrite), 0);
}

TEST_F(ScriptRunnerTest, BurstReadsToOneFileAppendWithinARunAndStartAfreshNextRun) {
    // An idle burst port keeps presenting its latched byte.
    firmware().setFpgaRegister(0, 0x20, 0x11);
    firmware().setFpgaRegister(0, 0x22, 0x33);
    const std::string script = "1 brd 20 2 out.bin\n1 brd 22 2 out.bin\n";
    EXPECT_EQ(Run(script), "Success!\n");
    EXPECT_EQ(ReadFile("out.bin"), "\x11\x11\x33\x33");
    Run(script);
    EXPECT_EQ(ReadFile("out.bin"), "\x11\x11\x33\x33");
}

TEST_F(ScriptRunnerTest, RunPressedDuringARunKeepsItsBurstFile) {
    firmware().setFpgaRegister(0, 0x20, 0xAA);
    const std::string path =
        WriteFile("s.ini", "1 brd 20 1 out.bin\n1 # 200\n1 brd 20 1 out.bin\n");
    EXPECT_TRUE(runner.Start(path));
    ASSERT_TRUE(view.WaitForPane("delay 200 ms\n"));
    EXPECT_FALSE(runner.Start(path));
    ASSERT_EQ(state.g_ScriptFinishedEvent.Wait(5000), WAIT_OBJECT_0);
    runner.Stop();
    EXPECT_EQ(view.pane(), "delay 200 ms\nis running,waiting....\nSuccess!\n");
    EXPECT_EQ(ReadFile("out.bin"), "\xAA\xAA");
}

TEST_F(ScriptRunnerTest, BurstWriteTakesAddressAndCountAfterTheDecimal) {
    WriteFile("in.bin", "\x11\x22\x33\x44");
    EXPECT_EQ(Run("1 bwd 9 30 3 in.bin\n1 brd 30 3 back.bin\n"), "Success!\n");
    EXPECT_EQ(ReadFile("back.bin"), "\x11\x22\x33");
    EXPECT_EQ(firmware().fpgaRegister(0, 9), 0x00);
}

// The burst file's own trouble is named in the pane, and the script ends at once.
TEST_F(ScriptRunnerTest, FailedBurstEndsTheScriptAtOnceWithItsCause) {
    const auto start = std::chrono::steady_clock::now();
    // The system's own reason, in its own words ("File not found" on Windows).
    const std::string missing = Run("1 bwd 0 30 3 nofile.bin\n1 srd 1\n");
    const std::string cause = "BurstWrite failed: burst file nofile.bin cannot be opened: ";
    EXPECT_EQ(missing.rfind(cause, 0), 0u) << missing;
    EXPECT_GT(missing.size(), cause.size() + 1) << missing;
    EXPECT_EQ(std::count(missing.begin(), missing.end(), '\n'), 1) << missing;
    EXPECT_EQ(runner.outcome().code(), ResultCode::BadInput);
    view.ClearPane();
    WriteFile("short.bin", "\x11");
    EXPECT_EQ(Run("1 bwd 0 30 3 short.bin\n"),
              "BurstWrite failed: burst file short.bin holds 1 of 3 bytes\n");
    view.ClearPane();
    std::filesystem::create_directory(dir / "taken.bin");
    // A folder is refused for what it is, in the same words on every system.
    EXPECT_EQ(Run("1 brd 30 3 taken.bin\n"),
              "BurstRead failed: burst file taken.bin cannot be opened: not a regular file\n");
    EXPECT_LT(std::chrono::steady_clock::now() - start,
              std::chrono::milliseconds(ScriptRunner::kRequestTimeoutMs));
    EXPECT_EQ(Sent(cmd::kFpgaSingleRead), 0);
}

TEST_F(ScriptRunnerTest, EachCommandIsSentOnceAndTheEndRepeatsNothing) {
    Run("1 pwd 10 1 5\n1 i2cwd 1000030 1 7\n1 i2crd 1000030 1\n1 prd 10 1\n");
    EXPECT_EQ(Sent(cmd::kFpgaWrite), 1);
    EXPECT_EQ(Sent(cmd::kI2cWrite), 1);
    EXPECT_EQ(Sent(cmd::kI2cRead), 1);
    EXPECT_EQ(Sent(cmd::kFpgaRead), 1);
    EXPECT_NE(view.pane().find("Master: I2C_Read Addr: 0x0030  value: 0x07\n"), std::string::npos);
}

TEST_F(ScriptRunnerTest, BadOperandStopsBeforeAnythingIsSent) {
    EXPECT_EQ(Run("1 pwd 10 1 5\n1 pwd 10 zz 5\n1 pwd 11 1 5\n"),
              "Master: FPGAPortWrite Addr: 0x0010  value: 0x05\n"
              "Script line 2: missing or bad operand, script stopped!\n");
    EXPECT_EQ(Sent(cmd::kFpgaWrite), 1);
}

TEST_F(ScriptRunnerTest, WriteNotCompletedInTimeEndsWithItsMessageAndLateCompletionIsIgnored) {
    // The command thread waits longer than the script does. Set while it is idle: the post of
    // the next request orders this write before its read.
    device.setTimeoutMs(4000);
    transport.faults().NoReplyTo(cmd::kFpgaWrite);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Run("1 pwd 10 1 5\n1 srd 10\n"), "PortWrite timeout exit, please try again!!\n");
    EXPECT_GE(std::chrono::steady_clock::now() - start, 3000ms);

    // The late completion of that write must not be taken for the next run's read.
    transport.faults().Clear();
    firmware().setFpgaRegister(0, 0x10, 0x42);
    const std::string pane = Run("1 srd 10\n");
    EXPECT_NE(pane.find("FPGASingleRead Addr: 0x0010  value: 0x42\nSuccess!\n"), std::string::npos);
}

TEST_F(ScriptRunnerTest, ReadWithoutCommandThreadFailsAtOnce) {
    EndCommandThread();
    EXPECT_EQ(Run("1 i2crd 1000030 1\n"), "I2CReadReg failed!\n");
}

TEST_F(ScriptRunnerTest, LostDeviceEndsWithTheNoDeviceTextAndNeverWithSuccess) {
    ASSERT_TRUE(runner.Start(WriteFile("s.ini", "1 # 100\n1 pwd 10 1 5\n")));
    ASSERT_TRUE(view.WaitForPane("delay"));
    state.g_bDevExist = 0;
    ASSERT_EQ(state.g_ScriptFinishedEvent.Wait(5000), WAIT_OBJECT_0);
    runner.Stop();
    EXPECT_EQ(view.pane(), "delay 100 ms\n" + LoadString(IDS_NO_DEVICE));
    EXPECT_EQ(runner.outcome().code(), ResultCode::DeviceGone);
    EXPECT_EQ(Sent(cmd::kFpgaWrite), 0);
}

// The link finds the device gone before the presence detection has said so (g_bDevExist is
// still 1 here): the run still ends as a lost device, not with "Success!".
TEST_F(ScriptRunnerTest, ARequestThatFindsTheDeviceGoneEndsTheRunAsALostDevice) {
    transport.faults().UnplugAt(cmd::kFpgaWrite);
    const std::string pane = Run("1 pwd 10 1 5\n1 pwd 11 1 6\n");
    EXPECT_EQ(state.g_bDevExist, 1);
    EXPECT_EQ(pane.find("Success!"), std::string::npos) << pane;
    EXPECT_NE(pane.find(LoadString(IDS_NO_DEVICE)), std::string::npos) << pane;
    EXPECT_EQ(runner.outcome().code(), ResultCode::DeviceGone);
}

TEST_F(ScriptRunnerTest, StartLogicAndOpenFailure) {
    state.g_bDevExist = 0;
    EXPECT_FALSE(runner.Start("s.ini"));
    EXPECT_EQ(view.status().back(), LoadString(IDS_NO_DEVICE));
    state.g_bDevExist = 1;
    EXPECT_FALSE(runner.Start(""));
    EXPECT_EQ(view.status().back(), LoadString(IDS_DETECT_DONE));
    EXPECT_EQ(view.pane(), "Please Open The .ini Document First!\n");
    EXPECT_TRUE(runner.Start((dir / "missing.ini").string()));
    ASSERT_EQ(state.g_ScriptFinishedEvent.Wait(5000), WAIT_OBJECT_0);
    runner.Stop();
    EXPECT_EQ(view.pane(), "Please Open The .ini Document First!\nScript Open Fail!");
    EXPECT_EQ(state.g_ScriptThread, nullptr);
    EXPECT_EQ(runner.outcome().code(), ResultCode::BadInput);
}

// A NUL inside a burst file name would name another file: the line is refused, nothing is read.
TEST_F(ScriptRunnerTest, ANulInABurstFileNameIsRefusedNotCut) {
    const std::string pane = Run(std::string("1 brd 30 1 a\0b.bin\n", 19));
    EXPECT_EQ(pane.find("Success!"), std::string::npos) << pane;
    EXPECT_FALSE(runner.outcome());
    EXPECT_EQ(Sent(cmd::kFpgaRead), 0);
    EXPECT_FALSE(std::filesystem::exists(dir / "a"));
}

// A directory opens as a stream on Linux and would run as an empty script to "Success!".
TEST_F(ScriptRunnerTest, ADirectoryIsNoScript) {
    ASSERT_TRUE(runner.Start(dir.string()));
    ASSERT_EQ(state.g_ScriptFinishedEvent.Wait(5000), WAIT_OBJECT_0);
    runner.Stop();
    EXPECT_EQ(view.pane(), "Script Open Fail!");
    EXPECT_FALSE(runner.outcome());
}

TEST_F(ScriptRunnerTest, SensorWriteStopsThePreviewFirst) {
    // A stand-in for the preview worker in its slot: it runs until it is stopped.
    int previewTag = 0;
    WorkerSlot preview(state.g_PreviewThread, state.g_PreviewStopEvent, state.g_PreviewExitEvent);
    ASSERT_TRUE(preview.Start(&previewTag, [&] { state.g_PreviewStopEvent.Wait(INFINITE); }));
    EXPECT_EQ(Run("1 i2cwd 1000030 1 9\n"),
              "Master: I2CWrite Addr: 0x0030  value: 0x09\nSuccess!\n");
    EXPECT_EQ(state.g_PreviewThread, nullptr);
    preview.Stop();
    EXPECT_EQ(view.caption(control::kLeveling), "Preview");
}

TEST_F(ScriptRunnerTest, AScriptLeavesNoMarkForALaterStepDebugRead) {
    Run("1 pwd 10 1 5\n");
    RegisterPanel panel(state, view);
    EXPECT_TRUE(panel.Read("0x10", false));
    ASSERT_TRUE(Eventually([&] { return !view.readValues().empty(); }));
    EXPECT_EQ(view.readValues().front(), "0x05");
}

}  // namespace
}  // namespace tavlin::testing
