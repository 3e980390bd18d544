#include "cli/CliSession.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "base/StringTable.h"
#include "console/ConsoleTexts.h"
#include "device/LogCapture.h"
#include "sim/SimTransport.h"

namespace tavlin::cli {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

constexpr int kTimeoutMs = 100;

class CliSessionTest : public ::testing::Test {
  protected:
    int Run(std::vector<std::string> args) {
        Invocation inv;
        std::string error;
        EXPECT_TRUE(ParseInvocation(args, &inv, &error)) << error;
        std::FILE* out = std::tmpfile();
        const int status = RunSession(inv, sim, out, kTimeoutMs);
        std::rewind(out);
        output.clear();
        char buf[4096];
        size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, out)) > 0) {
            output.append(buf, n);
        }
        std::fclose(out);
        return status;
    }
    std::string WriteFile(const std::string& name, const std::string& content) {
        const auto path =
            std::filesystem::temp_directory_path() / (name + std::to_string(::getpid()));
        std::ofstream(path, std::ios::binary) << content;
        files.push_back(path);
        return path.string();
    }
    void TearDown() override {
        for (const auto& f : files) {
            std::filesystem::remove(f);
        }
    }

    testing::LogCapture log;
    sim::SimTransport sim;
    std::string output;
    std::vector<std::filesystem::path> files;
};

TEST_F(CliSessionTest, DetectPresentAndAbsent) {
    EXPECT_EQ(Run({"detect"}), kExitSuccess);
    EXPECT_THAT(output, HasSubstr("正在检测设备，请稍候...\n"));
    EXPECT_THAT(output, HasSubstr("设备检测完成。\n"));
    EXPECT_THAT(log.Text(), HasSubstr("Tavlin log start!\n"));
    EXPECT_THAT(log.Text(), HasSubstr("Open hid device success!\n"));
    EXPECT_THAT(log.Text(), HasSubstr("Tavlin log end!\n"));

    sim.Detach();
    EXPECT_EQ(Run({"detect"}), kExitNoDevice);
    EXPECT_THAT(output, HasSubstr("未检测到相应设备，请确认连接情况。\n"));
    EXPECT_EQ(Run({"versions"}), kExitNoDevice);
}

TEST_F(CliSessionTest, UpdateEnvironmentIsReportedAndRefusesTheMode) {
    sim.Detach();
    sim.Attach(kProductIdUpdate);
    EXPECT_EQ(Run({"detect"}), kExitSuccess);
    EXPECT_THAT(output, HasSubstr("设备未准备好，请先更新固件.\n"));
    EXPECT_EQ(Run({"mode", "work"}), kExitFailed);
}

TEST_F(CliSessionTest, ModeBothWaysAndRefused) {
    EXPECT_EQ(Run({"mode", "calibration"}), kExitSuccess);
    EXPECT_THAT(output, HasSubstr("当前模式为标定模式！\n"));
    EXPECT_THAT(output, HasSubstr("IMAGE Version: M--"));
    EXPECT_EQ(Run({"mode", "work"}), kExitSuccess);
    EXPECT_THAT(output, HasSubstr("当前模式为工作模式！\n"));
    sim.faults().Refuse(0x0E);
    EXPECT_EQ(Run({"mode", "work"}), kExitFailed);
    EXPECT_THAT(output, HasSubstr("模式转换失败，请重新尝试！\n"));
    EXPECT_THAT(output, HasSubstr("Switch work model failed, please try again!\n"));
    EXPECT_THAT(log.Text(), HasSubstr("Switch to work mode failed!\nret=0,g_isWorkSwitchSuc=0\n,"));
}

TEST_F(CliSessionTest, VersionsPrintsBothSensorsOrFailure) {
    sim.firmware().setImageVersion(0, 0x12);
    sim.firmware().setImageVersion(1, 0xABCDEF01);
    EXPECT_EQ(Run({"versions"}), kExitSuccess);
    EXPECT_THAT(output, HasSubstr("IMAGE Version: M--00000012, S--abcdef01\n"));
    sim.faults().NoReplyTo(0x2D);
    EXPECT_EQ(Run({"versions"}), kExitFailed);
    EXPECT_THAT(output, HasSubstr("获取 IMAGE Version 失败!\n"));
}

TEST_F(CliSessionTest, RegisterWriteThenReadBack) {
    EXPECT_EQ(Run({"write", "0x10001234", "0x1A5"}), kExitSuccess);
    EXPECT_THAT(output, HasSubstr("Slave: FPGAPortWrite Addr: 0x1234  value: 0xa5\n"));
    EXPECT_EQ(Run({"read", "0x10001234"}), kExitSuccess);
    EXPECT_THAT(output, HasSubstr("Slave: FPGASingleRead Addr: 0x1234  value: 0xa5\n0xa5\n"));
    EXPECT_EQ(Run({"write", "--i2c", "0x01000030", "64"}), kExitSuccess);
    EXPECT_THAT(output, HasSubstr("Master: I2CWrite Addr: 0x0030  value: 0x40\n"));
    EXPECT_EQ(Run({"read", "--i2c", "0x01000030"}), kExitSuccess);
    EXPECT_THAT(output, HasSubstr("0x40\n"));
}

TEST_F(CliSessionTest, RegisterFailures) {
    sim.faults().Refuse(0x19);
    EXPECT_EQ(Run({"read", "0x10001234"}), kExitFailed);
    EXPECT_THAT(output, HasSubstr("Slave: FPGASingleRead error\n"));
    sim.faults().Clear();
    sim.faults().NoReplyTo(0x04);
    EXPECT_EQ(Run({"write", "0x20", "1"}), kExitFailed);
    EXPECT_THAT(output, HasSubstr("Master: FPGAPortWrite error\n"));
    EXPECT_THAT(log.Text(), HasSubstr("GetOverlappedResult_Tav failed! ret=258\n"));
}

TEST_F(CliSessionTest, ScriptRunsToSuccessOrStopsAtATimeOut) {
    const auto good = WriteFile("cli_ok.ini", "1 pwd 10 1 5A\n1 srd 10\n1 # 20\n");
    EXPECT_EQ(Run({"script", good}), kExitSuccess);
    EXPECT_THAT(output, HasSubstr("Master: FPGASingleRead Addr: 0x0010  value: 0x5a\n"));
    EXPECT_THAT(output, HasSubstr("delay 20 ms\n"));
    EXPECT_THAT(output, HasSubstr("Success!\n"));
    EXPECT_EQ(Run({"script", "/nonexistent/script.ini"}), kExitFailed);
    EXPECT_THAT(output, HasSubstr("Script Open Fail!\n"));
}

TEST_F(CliSessionTest, FpgaDownloadReportsItsSize) {
    const auto code = WriteFile("cli_code.bin", std::string(100000, '\x5A'));
    EXPECT_EQ(Run({"fpga", code}), kExitSuccess);
    EXPECT_THAT(output, HasSubstr("The FPGA script begins to burn!\n"));
    EXPECT_THAT(output, HasSubstr("Write FPGA Code 97KB Success!\n"));
    EXPECT_EQ(Run({"fpga", "/nonexistent/code.bin"}), kExitFailed);
    EXPECT_THAT(output, HasSubstr("FPGA File Open Fail!\n"));
}

TEST_F(CliSessionTest, UnplugMidScriptEndsTheRun) {
    const auto script =
        WriteFile("cli_unplug.ini", "1 pwd 10 1 5A\n1 pwd 11 1 5B\n1 pwd 12 1 5C\n");
    sim.faults().UnplugAt(0x04);
    EXPECT_EQ(Run({"script", script}), kExitFailed);
    EXPECT_THAT(output, HasSubstr("Master: FPGAPortWrite error\n"));
    EXPECT_THAT(output, Not(HasSubstr("Success!")));
    EXPECT_THAT(log.Text(), HasSubstr("Tavlin log end!\n"));
}

// The runner's texts stay as they are ("Success!" after a line that says "error"), but the
// exit status is the failure's.
TEST_F(CliSessionTest, AScriptWithAFailedRequestExitsOneDespiteItsSuccessText) {
    const auto script = WriteFile("cli_refused.ini", "1 pwd 10 1 5A\n1 pwd 11 1 5B\n");
    sim.faults().Refuse(0x04);
    EXPECT_EQ(Run({"script", script}), kExitFailed);
    EXPECT_THAT(output, HasSubstr("Master: FPGAPortWrite error\n"));
    EXPECT_THAT(output, HasSubstr("Success!\n"));
}

// A typo in a station's script ends the run with the lines named, before the unit is touched.
TEST_F(CliSessionTest, AScriptWithLinesNotReadAsWrittenExitsOneNamingThemAndSendsNothing) {
    const auto script =
        WriteFile("cli_typo.ini", "1 pwd 10 1 5A\n1 pwr 20 1 7E\n1 pwd 21 1 0xZZ\n");
    EXPECT_EQ(Run({"script", script}), kExitFailed);
    EXPECT_THAT(output,
                HasSubstr("tavlin-cli: script lines 2, 3 not read as written; nothing was sent\n"));
    EXPECT_THAT(output, Not(HasSubstr("Success!")));
    EXPECT_EQ(sim.firmware().fpgaRegister(0, 0x10), 0);
    EXPECT_THAT(log.Text(), HasSubstr("Script line 2: unknown command 'pwr'\n"));
}

TEST_F(CliSessionTest, ARefusedOperandExitsAtOnce) {
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Run({"write", "zz", "5"}), kExitFailed);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_THAT(output, HasSubstr(tavlin::console::kAddressNotNumber));
}

TEST_F(CliSessionTest, AnEmptyFpgaFileSaysWhyItFails) {
    const auto empty = WriteFile("cli_empty.bin", "");
    EXPECT_EQ(Run({"fpga", empty}), kExitFailed);
    EXPECT_THAT(output, HasSubstr("is empty"));
}

TEST_F(CliSessionTest, TheStatusLineIsPrintedOnlyWhenItChanges) {
    EXPECT_EQ(Run({"write", "0x10", "1"}), kExitSuccess);
    const std::string done = LoadString(IDS_DETECT_DONE);
    EXPECT_EQ(output.find(done), output.rfind(done)) << output;
    EXPECT_NE(output.find(done), std::string::npos);
}

TEST(CliArgs, UsageErrors) {
    Invocation inv;
    std::string error;
    EXPECT_FALSE(ParseInvocation({}, &inv, &error));
    EXPECT_FALSE(ParseInvocation({"mode"}, &inv, &error));
    EXPECT_FALSE(ParseInvocation({"mode", "sleep"}, &inv, &error));
    EXPECT_FALSE(ParseInvocation({"read"}, &inv, &error));
    EXPECT_FALSE(ParseInvocation({"write", "0x10"}, &inv, &error));
    EXPECT_FALSE(ParseInvocation({"frobnicate"}, &inv, &error));
    EXPECT_THAT(error, HasSubstr("frobnicate"));
    EXPECT_FALSE(ParseInvocation({"read", "zz"}, &inv, &error));
    EXPECT_FALSE(ParseInvocation({"read", "0x123456789"}, &inv, &error));
    ASSERT_TRUE(ParseInvocation({"read", "--i2c", "0x01000030"}, &inv, &error));
    EXPECT_TRUE(inv.i2c);
    EXPECT_EQ(inv.address, "0x01000030");
    ASSERT_TRUE(ParseInvocation({"--help"}, &inv, &error));
    EXPECT_EQ(inv.command, Command::Help);
}

}  // namespace
}  // namespace tavlin::cli
