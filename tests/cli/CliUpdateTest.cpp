// tavlin-cli update against the simulated device, in process.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>

#include "cli/CliDevices.h"
#include "cli/CliSession.h"
#include "device/DeviceProtocol.h"
#include "device/LogCapture.h"
#include "firmware/FirmwareTexts.h"
#include "sim/SimStation.h"
#include "sim/SimTransport.h"
#include "station/Station.h"

namespace tavlin::cli {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;
using namespace std::chrono_literals;
using station::ChooseDevice;
using station::DeviceChoice;
constexpr auto kRefuse = station::SeveralDevices::Refuse;

class CliUpdateTest : public ::testing::Test {
  protected:
    CliUpdateTest() {
        dir = std::filesystem::temp_directory_path() /
              ("tavlin-cli-update-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        sim.setReenumerationDelay(20ms);
        sim.recorder().SetEnabled(true);
    }
    ~CliUpdateTest() override { std::filesystem::remove_all(dir); }

    // On `transport` (the simulated device when null), kept to `keptPort` when one is given.
    int Run(std::vector<std::string> args, Interruption* interruption = nullptr,
            HidTransport* transport = nullptr, const std::string& keptPort = {}) {
        Invocation inv;
        std::string error;
        EXPECT_TRUE(ParseInvocation(args, &inv, &error)) << error;
        inv.keptPort = keptPort;
        std::FILE* out = std::tmpfile();
        const int status =
            RunSession(inv, transport != nullptr ? *transport : sim, out, 100, interruption);
        std::rewind(out);
        output.clear();
        char buf[4096];
        for (size_t n; (n = std::fread(buf, 1, sizeof buf, out)) > 0;) {
            output.append(buf, n);
        }
        std::fclose(out);
        return status;
    }
    std::string Write(const std::string& name, const std::string& content) {
        std::ofstream(dir / name, std::ios::binary) << content;
        return (dir / name).string();
    }
    std::string Package(uint32_t lVersion) {
        const std::string l = Write("l.bin", std::string(200, '\x5a'));
        return Write("pkg.ini", "[Tavlin LInfo]\nImage_en=1\nImage_version=" +
                                    std::to_string(lVersion) + "\nImage_name=" + l + "\n");
    }

    testing::LogCapture log;
    sim::SimTransport sim;
    std::filesystem::path dir;
    std::string output;
};

TEST_F(CliUpdateTest, AnUpdateFromWorkingFirmwareGoesThroughTheUpdateEnvironmentAndBack) {
    EXPECT_EQ(Run({"update", Package(0x12345678), "--verify"}), kExitSuccess);
    EXPECT_THAT(output, HasSubstr("正在准备环境，请稍候...\n"));
    EXPECT_THAT(output, HasSubstr("环境准备完毕，请选择配置文件进行更新！\n"));
    EXPECT_THAT(output, HasSubstr("Write Tavlin Left LInfo 0KB Success!\n固件更新成功，请退出!\n"));
    EXPECT_THAT(output, HasSubstr("IMAGE Version: M--12345678"));
    EXPECT_EQ(sim.productId(), kProductIdWork);
    EXPECT_EQ(sim.firmware().imageVersion(0), 0x12345678u);
}

// A hub may bring a restarting device back on another port. A lone device is not pinned to
// its port, so the update follows it there (and the log says so); the run chosen by its port
// keeps to that port, and another port's device is never taken for the one coming back.
TEST_F(CliUpdateTest, ALoneDeviceIsFollowedToAnotherPortAndAChosenPortIsKept) {
    sim::FaultSettings moving;
    moving.movePort = "sim-7";
    sim.faults().Set(moving);
    DeviceChoice lone;
    std::string refusal;
    ASSERT_TRUE(ChooseDevice(&sim, "", kRefuse, &lone, &refusal));
    EXPECT_EQ(lone.port, "sim-1");
    EXPECT_EQ(lone.keptPort, "");
    EXPECT_EQ(Run({"update", Package(0x12345678), "--verify"}, nullptr, &sim, lone.keptPort),
              kExitSuccess)
        << output;
    EXPECT_EQ(sim.port(), "sim-7");
    EXPECT_EQ(sim.productId(), kProductIdWork);
    EXPECT_EQ(sim.firmware().imageVersion(0), 0x12345678u);
    EXPECT_TRUE(log.Contains("Open hid device: on port sim-7 now, was on port sim-1\n"))
        << log.Text();

    sim::SimStation station(2);
    station.device(0).setReenumerationDelay(20ms);
    station.device(0).faults().Set(moving);
    DeviceChoice chosen;
    EXPECT_FALSE(ChooseDevice(&station, "", kRefuse, &chosen, &refusal));
    ASSERT_TRUE(ChooseDevice(&station, "sim-1", kRefuse, &chosen, &refusal));
    EXPECT_EQ(chosen.keptPort, "sim-1");
    EXPECT_EQ(chosen.port, "sim-1");
    EXPECT_EQ(
        Run({"update", Package(1), "--replug-timeout", "1"}, nullptr, &station, chosen.keptPort),
        kExitFailed);
    EXPECT_THAT(output, HasSubstr("设备未准备好，请先更新固件.\n"));
    EXPECT_EQ(station.device(0).port(), "sim-7");
    EXPECT_EQ(station.device(0).productId(), kProductIdUpdate) << "it restarted, elsewhere";
    EXPECT_EQ(station.device(1).firmware().imageVersion(0), sim::SimFirmware().imageVersion(0));
}

// A package that cannot be used is refused before the device is asked to restart: a typo must
// never send a unit into its update environment.
TEST_F(CliUpdateTest, APackageThatCannotBeUsedIsRefusedBeforeTheDeviceRestarts) {
    const std::string image = Write("l.bin", std::string(200, '\x5a'));
    struct Case {
        std::string package;
        const char* status;
    };
    const Case cases[] = {
        {(dir / "nothere.ini").string(), "配置文件不正确，请重新打开!\n"},
        {dir.string(), "配置文件不正确，请重新打开!\n"},
        {Write("none.ini", "[Other]\nImage_en=1\n"), "配置文件不正确，请重新打开!\n"},
        {Write("off.ini", "[Tavlin LInfo]\nImage_en=0\nImage_name=" + image + "\n"),
         "没有需要更新的固件，请退出!\n"},
        {Write("lost.ini",
               "[Tavlin LInfo]\nImage_en=1\nImage_name=" + (dir / "gone.bin").string() + "\n"),
         nullptr},
        // The last section is checked as the first: its image is written last, after the
        // others went to the device.
        {Write("rlost.ini", "[Tavlin LInfo]\nImage_en=1\nImage_name=" + image +
                                "\n[Tavlin RInfo]\nImage_en=1\nImage_name=" +
                                (dir / "gone.bin").string() + "\n"),
         fw::kImageOpenFailed},
        {Write("rfolder.ini", "[Tavlin RInfo]\nImage_en=1\nImage_name=" + dir.string() + "\n"),
         fw::kImageOpenFailed},
        {Write("rnameless.ini", "[Tavlin RInfo]\nImage_en=1\n"), fw::kImageOpenFailed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.package);
        sim.recorder().Clear();
        EXPECT_EQ(Run({"update", c.package}), kExitFailed);
        if (c.status != nullptr) {
            EXPECT_THAT(output, HasSubstr(c.status));
        }
        EXPECT_THAT(output, HasSubstr("tavlin-cli: "));
        EXPECT_THAT(output, Not(HasSubstr("正在准备环境")));
        for (const auto& report : sim.recorder().outReports()) {
            EXPECT_NE(report[1], cmd::kUpdateControl);
        }
        EXPECT_EQ(sim.productId(), kProductIdWork);
    }
}

TEST_F(CliUpdateTest, ADeviceAlreadyInItsUpdateEnvironmentGoesStraightToTheWorker) {
    sim.Attach(kProductIdUpdate);
    ASSERT_TRUE(sim.WaitForAttached(kProductIdUpdate, 1s));
    sim.recorder().Clear();
    EXPECT_EQ(Run({"update", Package(5)}), kExitSuccess);
    const auto reports = sim.recorder().outReports();
    ASSERT_FALSE(reports.empty());
    EXPECT_NE(reports.front()[1], cmd::kModeSwitch);
    EXPECT_NE(reports.front()[1], cmd::kUpdateControl);
}

TEST_F(CliUpdateTest, ARefusedVersionRecordFailsTheRunButStillSendsTheDeviceBack) {
    sim.faults().Refuse(cmd::kImageVersionWriteMaster);
    EXPECT_EQ(Run({"update", Package(77)}), kExitFailed);
    EXPECT_THAT(output, HasSubstr("配置文件更新失败,请退出重试!\n"));
    EXPECT_THAT(output, Not(HasSubstr("固件更新成功")));
    EXPECT_TRUE(sim.WaitForAttached(kProductIdWork, 2s));
}

TEST_F(CliUpdateTest, VerifyFailsWhenTheDeviceComesBackWithOtherVersions) {
    // The device restarts into an older application that reports its own version.
    const int listener = sim.AddPresenceListener([this](const sim::PresenceEvent& e) {
        if (e.kind == sim::PresenceEvent::Kind::Arrived && e.productId == kProductIdWork) {
            sim.firmware().setImageVersion(0, 0x0BADF00D);
        }
    });
    EXPECT_EQ(Run({"update", Package(0x12345678), "--verify"}), kExitFailed);
    sim.RemovePresenceListener(listener);
    EXPECT_THAT(output, HasSubstr("更新后的版本与配置文件不符: M--0badf00d"));
    EXPECT_EQ(Run({"update", Package(0x0BADF00D), "--verify"}), kExitSuccess);
}

TEST_F(CliUpdateTest, ADeviceThatNeverReenumeratesEndsThroughTheFailedState) {
    sim.setReenumerationDelay(std::chrono::hours(1));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Run({"update", Package(1), "--replug-timeout", "1"}), kExitFailed);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
    EXPECT_THAT(output, HasSubstr("设备未准备好，请先更新固件.\n"));
    EXPECT_THAT(output, Not(HasSubstr("开始烧写")));
}

// Ctrl+C while the device is away restarting: no waiting out the 20 s, and no claim that the
// deadline passed; the way out is the failed state's.
TEST_F(CliUpdateTest, AnInterruptionWhilePreparingLeavesAtOnceThroughTheFailedState) {
    sim.setReenumerationDelay(std::chrono::hours(1));
    Interruption interruption;
    std::thread operatorHand([&] {
        std::this_thread::sleep_for(300ms);
        interruption.Request();
    });
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Run({"update", Package(1)}, &interruption), kExitFailed);
    operatorHand.join();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 3s);
    EXPECT_THAT(output, HasSubstr("正在准备环境，请稍候...\n"));
    EXPECT_THAT(output, HasSubstr("设备未准备好，请先更新固件.\n"));
    EXPECT_THAT(output, Not(HasSubstr("开始烧写")));
    EXPECT_THAT(log.Text(), Not(HasSubstr("in time")));
    EXPECT_THAT(log.Text(), HasSubstr("Tavlin log end!\n"));
}

TEST_F(CliUpdateTest, ARefusedUpdateControlStopsBeforeTheWindow) {
    sim.faults().Refuse(cmd::kUpdateControl);
    EXPECT_EQ(Run({"update", Package(1)}), kExitFailed);
    EXPECT_THAT(output, HasSubstr("模式转换失败，请重新尝试！\n"));
    EXPECT_THAT(output, Not(HasSubstr("正在准备环境")));
    sim.Detach();
    EXPECT_EQ(Run({"update", Package(1)}), kExitNoDevice);
}

TEST_F(CliUpdateTest, AFailedReadPrintsTheValueLineToo) {
    sim.faults().Refuse(0x19);
    EXPECT_EQ(Run({"read", "0x10001234"}), kExitFailed);
    EXPECT_THAT(output, HasSubstr("Slave: FPGASingleRead error\n0xff\n"));
}

TEST(CliUpdateArgs, TheReplugTimeoutIsAWholeNumberOfSeconds) {
    Invocation inv;
    std::string error;
    ASSERT_TRUE(
        ParseInvocation({"update", "p.ini", "--replug-timeout", "7", "--verify"}, &inv, &error));
    EXPECT_EQ(inv.replugTimeoutSeconds, 7);
    EXPECT_TRUE(inv.verify);
    for (const auto& bad :
         std::vector<std::vector<std::string>>{{"update"},
                                               {"update", "p.ini", "--replug-timeout"},
                                               {"update", "p.ini", "--replug-timeout", "7s"},
                                               {"update", "p.ini", "q.ini"}}) {
        EXPECT_FALSE(ParseInvocation(bad, &inv, &error)) << bad.size();
    }
}

}  // namespace
}  // namespace tavlin::cli
