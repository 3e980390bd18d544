// Three devices on three hub sockets, on the real Linux device stack: the ports come from udev,
// an update follows its own device through its restart while the others change around it, and
// --all runs them side by side with one of them refusing a packet.
#include <gtest/gtest.h>
#include <unistd.h>
#include <nlohmann/json.hpp>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "CliChild.h"
#include "UmockdevFixture.h"
#include "device/DeviceProtocol.h"

namespace tavlin::e2e {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;
using nlohmann::json;

const std::vector<std::string> kPorts{"1-1.1", "1-1.2", "1-1.3"};

class StationE2eTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (const std::string why = MockEnvironmentMissing(); !why.empty()) {
            GTEST_SKIP() << "umockdev not available: " << why;
        }
        dir = fs::temp_directory_path() / ("tavlin-e2e-station-" + std::to_string(getpid()));
        fs::create_directories(dir);
        std::ofstream(dir / "h.bin", std::ios::binary) << std::string(3000, 'h');
        std::ofstream(dir / "pkg.ini")
            << "[Tavlin HInfo]\nImage_en=1\nImage_version=7\nImage_name=h.bin\n";
        bed = std::make_unique<UmockdevBed>();
        bed->FollowUpdateControl(true);
        for (const std::string& port : kPorts) {
            bed->PlugOursAt(port, kProductIdWork);
        }
    }
    void TearDown() override {
        bed.reset();
        if (!dir.empty()) {
            fs::remove_all(dir);
        }
    }

    // How many images the device on `port` took whole.
    int ImagesAt(const std::string& port) {
        return bed->firmwareAt(port).completedTransferCount(0, sim::CodeTarget::Packet);
    }

    fs::path dir;
    std::unique_ptr<UmockdevBed> bed;
};

TEST_F(StationE2eTest, AnUpdateFollowsItsOwnPortWhileOtherDevicesComeAndGo) {
    const ChildResult list = RunCli(dir, {"list", "--json"}, 20s);
    ASSERT_EQ(list.exitStatus, 0) << list.err;
    std::vector<std::string> listed;
    const json object = json::parse(list.out);
    for (const json& device : object["devices"]) {
        listed.push_back(device["port"]);
    }
    EXPECT_EQ(listed, kPorts);

    // As soon as 1-1.2 is told to restart, 1-1.3 restarts into its update environment and 1-1.1
    // is pulled and plugged back: neither may be taken for the device coming back.
    std::atomic<bool> done{false};
    std::thread meddler([&] {
        auto restartAsked = [&] {
            for (const auto& report : bed->Received()) {
                if (report[1] == cmd::kUpdateControl) {
                    return true;
                }
            }
            return false;
        };
        while (!done && !restartAsked()) {
            std::this_thread::sleep_for(2ms);
        }
        bed->Unplug(bed->PlugOn("1-1.3"));
        bed->PlugOursAt("1-1.3", kProductIdUpdate);
        bed->Unplug(bed->PlugOn("1-1.1"));
        std::this_thread::sleep_for(100ms);
        bed->PlugOursAt("1-1.1", kProductIdWork);
    });
    const ChildResult run = RunCli(
        dir,
        {"--device", "1-1.2", "update", "pkg.ini", "--verify", "--replug-timeout", "10", "--json"},
        60s);
    done = true;
    meddler.join();
    ASSERT_TRUE(run.ended) << run.err;
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(json::parse(run.out)["port"], "1-1.2");
    EXPECT_EQ(bed->PluggedProductIdsAt("1-1.2"),
              (std::vector<uint16_t>{kProductIdWork, kProductIdUpdate, kProductIdWork}));
    EXPECT_EQ(ImagesAt("1-1.2"), 1);
    EXPECT_EQ(ImagesAt("1-1.1"), 0);
    EXPECT_EQ(ImagesAt("1-1.3"), 0);
}

TEST_F(StationE2eTest, AllDevicesRunSideBySideAndOnlyTheRefusingOneFails) {
    bed->RefuseAt("1-1.2", cmd::kCodePacketMaster);
    const ChildResult run = RunCli(
        dir,
        {"--all", "update", "pkg.ini", "--replug-timeout", "10", "--json", "--log-dir", "logs"},
        90s);
    ASSERT_TRUE(run.ended) << run.err;
    EXPECT_EQ(run.exitStatus, 1) << run.err;
    const json object = json::parse(run.out);
    ASSERT_EQ(object["devices"].size(), 3u) << run.out;
    for (const json& device : object["devices"]) {
        const std::string port = device["port"];
        EXPECT_EQ(device["exit"], port == "1-1.2" ? 1 : 0) << port << ": " << device.dump();
        EXPECT_TRUE(fs::exists(dir / "logs" / port / "Tavlin_log.txt")) << port;
    }
    EXPECT_EQ(ImagesAt("1-1.1"), 1);
    EXPECT_EQ(ImagesAt("1-1.2"), 0);
    EXPECT_EQ(ImagesAt("1-1.3"), 1);
    // Without a terminal each device's line is led by its port.
    EXPECT_NE(run.err.find("[1-1.2] "), std::string::npos) << run.err;
}

}  // namespace
}  // namespace tavlin::e2e
