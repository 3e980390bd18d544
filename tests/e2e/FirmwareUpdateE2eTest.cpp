// `tavlin-cli update` as a station runs it, on the real Linux device stack: hidapi over a hidraw
// node, libudev hot-plug, and a device that restarts into its update environment (product id
// 0x0042) on update control 0x42 and back to work (0x0055) on 0x55, each time on a new node.
// The CLI is a child process; it inherits the mock environment from this one.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "CliChild.h"
#include "UmockdevFixture.h"
#include "device/DeviceProtocol.h"
#include "device/HidDevice.h"
#include "device/HidapiTransport.h"
#include "sim/FaultPlanParser.h"
#include "sim/ImageWrites.h"

namespace tavlin::e2e {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

std::string PatternBytes(size_t size, unsigned seed) {
    std::mt19937 gen(seed);
    std::string bytes(size, '\0');
    for (char& c : bytes) {
        c = static_cast<char>(gen());
    }
    return bytes;
}

void WriteFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

class FirmwareUpdateE2eTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (const std::string why = MockEnvironmentMissing(); !why.empty()) {
            GTEST_SKIP() << "umockdev not available: " << why;
        }
        dir = fs::temp_directory_path() / ("tavlin-e2e-update-" + std::to_string(getpid()));
        fs::create_directories(dir);
        bed = std::make_unique<UmockdevBed>();
        bed->FollowUpdateControl(true);
    }
    void TearDown() override {
        bed.reset();
        if (!dir.empty()) {
            fs::remove_all(dir);
        }
    }

    fs::path dir;
    std::unique_ptr<UmockdevBed> bed;
};

TEST_F(FirmwareUpdateE2eTest, AnUpdateFollowsTheDeviceIntoItsUpdateEnvironmentAndBack) {
    const std::string h = PatternBytes(1000, 1), l = PatternBytes(130, 2), r = PatternBytes(200, 3);
    WriteFile(dir / "h.bin", h);
    WriteFile(dir / "l.bin", l);
    WriteFile(dir / "r.bin", r);
    WriteFile(dir / "pkg.ini",
              "[Tavlin HInfo]\nImage_en=1\nImage_version=7\nImage_name=h.bin\n"
              "[Tavlin LInfo]\nImage_en=1\nImage_version=305419896\nImage_name=l.bin\n"
              "[Tavlin RInfo]\nImage_en=1\nImage_version=11259375\nImage_name=r.bin\n");
    bed->PlugOurs(kProductIdWork);

    const ChildResult run =
        RunCli(dir, {"update", "pkg.ini", "--verify", "--replug-timeout", "10"}, 60s);
    const std::string out = run.out + run.err;
    ASSERT_TRUE(run.ended) << "the CLI did not end\n" << out;
    EXPECT_EQ(run.exitStatus, 0) << out;
    EXPECT_NE(out.find("Write Tavlin Right HInfo 1KB Success!"), std::string::npos) << out;
    EXPECT_NE(out.find("IMAGE Version: M--12345678, S--00abcdef"), std::string::npos) << out;

    EXPECT_EQ(bed->PluggedProductIds(),
              (std::vector<uint16_t>{kProductIdWork, kProductIdUpdate, kProductIdWork}));
    auto received = [&](int sensor, sim::CodeTarget target, size_t size) {
        const auto t = bed->firmware().completedTransfer(sensor, target);
        return std::string(t.bytes.begin(), t.bytes.begin() + std::min(size, t.bytes.size()));
    };
    EXPECT_EQ(received(0, sim::CodeTarget::Packet, h.size()), h);
    EXPECT_EQ(received(1, sim::CodeTarget::Packet, h.size()), h);
    EXPECT_EQ(received(0, sim::CodeTarget::Packet2, l.size()), l);
    EXPECT_EQ(received(1, sim::CodeTarget::Packet2, r.size()), r);
}

// The product ids of our devices as hidapi lists them, each once its vendor collection is
// listed: a node caught while it is still being made shows its product id before its
// descriptor, as one collection of no usage, and cannot be opened yet.
std::vector<uint16_t> Listed(HidapiTransport& transport) {
    std::set<uint16_t> ids;
    for (const HidInterfaceInfo& info : transport.Enumerate()) {
        if (info.vendorId == kVendorId && IsVendorCollection(info.usagePage, info.usage)) {
            ids.insert(info.productId);
        }
    }
    return {ids.begin(), ids.end()};
}

bool ListedWithin(HidapiTransport& transport, const std::vector<uint16_t>& ids,
                  std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (Listed(transport) != ids) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

// A power cut in the middle of an image: hidapi and udev see the device leave at once and come
// back after its time off in its update environment, on a new node.
TEST_F(FirmwareUpdateE2eTest, APowerCutIsSeenAsAnUnplugAndAReplugInTheUpdateEnvironment) {
    std::string error;
    const auto plan = sim::ParseFaultPlan("powercut-at=HInfo:2@400ms", &error);
    ASSERT_TRUE(plan) << error;
    bed->CutPowerAs(*plan);
    bed->PlugOurs(kProductIdWork);
    HidapiTransport transport;
    ASSERT_TRUE(ListedWithin(transport, {kProductIdWork}, 2s));

    HidDevice device(transport);
    device.setTimeoutMs(300);
    uint16_t pid = 0;
    ASSERT_EQ(OpenHidDevice(device, &pid), 1);
    EXPECT_FALSE(sim::testing::WriteImage(device, 0));
    EXPECT_TRUE(ListedWithin(transport, {}, 2s)) << "the device stayed on the bus";
    const auto gone = std::chrono::steady_clock::now();
    EXPECT_TRUE(ListedWithin(transport, {kProductIdUpdate}, 3s)) << "it did not come back";
    EXPECT_GE(std::chrono::steady_clock::now() - gone, 250ms) << "back before its time off";
    EXPECT_EQ(bed->PluggedProductIds(), (std::vector<uint16_t>{kProductIdWork, kProductIdUpdate}));
    EXPECT_EQ(bed->firmware().imageState(0, sim::CodeTarget::Packet), sim::SimFlash::State::Erased);

    // The device that came back takes the image in full.
    CloseHidDevice(device);
    ASSERT_EQ(OpenHidDevice(device, &pid), 1);
    EXPECT_EQ(pid, kProductIdUpdate);
    EXPECT_TRUE(sim::testing::WriteImage(device, 0));
    EXPECT_TRUE(sim::testing::WriteVersion(device, 0));
    EXPECT_TRUE(sim::testing::Written(bed->firmware(), 0));
}

}  // namespace
}  // namespace tavlin::e2e
