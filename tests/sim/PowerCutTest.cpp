// A power cut during an update: what the device keeps, and how it comes back.
#include <gmock/gmock.h>

#include "sim/FaultPlanParser.h"
#include "sim/ImageWrites.h"
#include "sim/SimDeviceFixture.h"

namespace tavlin::sim {
namespace {

using namespace std::chrono_literals;
using ::testing::HasSubstr;
using testing::SensorOfImage;
using testing::SimDeviceTest;
using testing::TargetOfImage;

class PowerCutTest : public SimDeviceTest {
  protected:
    void Plan(const std::string& text) {
        std::string error;
        const auto plan = ParseFaultPlan(text, &error);
        ASSERT_TRUE(plan) << error;
        transport.faults().Set(*plan);
    }
    // Waits for the device to come back and opens it again; its product id.
    uint16_t Reopen() {
        const auto deadline = std::chrono::steady_clock::now() + 2s;
        while (!transport.attached() && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(5ms);
        }
        uint16_t pid = 0;
        EXPECT_EQ(OpenHidDevice(device, &pid), 1);
        return pid;
    }
    // Waits for the restart an update control asked for: the device we hold leaves the bus a
    // moment after its reply, and until then it is still there, maybe already under the
    // product id it restarts as, so only its leaving tells the restart has begun.
    bool WaitForRestartAs(uint16_t productId) {
        const auto deadline = std::chrono::steady_clock::now() + 2s;
        const std::shared_ptr<HidConnection> held = device.handle();
        auto stillThere = [&] { return held && transport.Attributes(*held); };
        while (stillThere() && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(5ms);
        }
        return !stillThere() && transport.WaitForAttached(productId, 2s);
    }
};

// A cut in image k: the images before it keep their bytes and versions, image k and its
// version record do not count as written, the images after it were never touched, and the
// device comes back in its update environment.
TEST_F(PowerCutTest, ACutInAnImageKeepsTheImagesBeforeItAndComesBackToFinish) {
    const struct {
        const char* plan;
        int image;  // where the cut falls
        SimFlash::State left;
    } cases[] = {
        {"powercut-at=HInfo:2@20ms", 0, SimFlash::State::Erased},
        {"powercut-at=2:3@20ms", 1, SimFlash::State::Erased},
        {"powercut-at=LInfo:5@20ms", 2, SimFlash::State::Erased},
        {"powercut-at=rinfo:2@20ms", 3, SimFlash::State::Erased},
        // 4 + 3 packets, then the third of LInfo.
        {"powercut-after=9@20ms", 2, SimFlash::State::Erased},
        // The last packet went in; its version record did not.
        {"powercut-at=HInfo-R:version@20ms", 1, SimFlash::State::AwaitingVersion},
        {"powercut-at=4:version@20ms", 3, SimFlash::State::AwaitingVersion},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.plan);
        const SimFirmware::VersionInfo infoBefore = firmware().versionInfo(SensorOfImage(c.image));
        const uint32_t versionBefore = firmware().imageVersion(SensorOfImage(c.image));
        Plan(c.plan);
        EXPECT_EQ(testing::WriteImages(device), c.image);
        EXPECT_FALSE(transport.attached()) << "the power went at once";
        EXPECT_EQ(Reopen(), kProductIdUpdate);
        for (int image = 0; image < c.image; ++image) {
            EXPECT_TRUE(testing::Written(firmware(), image)) << "image " << image;
        }
        const int sensor = SensorOfImage(c.image);
        EXPECT_EQ(firmware().imageState(sensor, TargetOfImage(c.image)), c.left);
        EXPECT_EQ(firmware().versionInfo(sensor), infoBefore);
        EXPECT_EQ(firmware().imageVersion(sensor), versionBefore);

        // The unit finishes from where it was cut: the same images again, in full.
        transport.faults().Clear();
        ASSERT_EQ(testing::WriteImages(device), kImageCount);
        for (int image = 0; image < kImageCount; ++image) {
            EXPECT_TRUE(testing::Written(firmware(), image)) << "image " << image;
        }
        // The transfer the cut broke was lost with the power, not left open for the next one.
        EXPECT_TRUE(firmware().anomalies().empty());
    }
}

TEST_F(PowerCutTest, ACutBeforeAnyImageBeganLeavesTheDeviceAsItWas) {
    Plan("powercut-after=0@20ms");
    EXPECT_EQ(testing::WriteImages(device), 0);
    EXPECT_EQ(Reopen(), kProductIdWork);
    EXPECT_EQ(firmware().imageState(kMaster, CodeTarget::Packet), SimFlash::State::Whole);
    EXPECT_EQ(firmware().completedTransferCount(kMaster, CodeTarget::Packet), 0);
}

// The restarts into the update environment and back out: the update control cut on its way
// is never taken, so the device starts where its flash says.
TEST_F(PowerCutTest, ACutAtARestartLeavesTheDeviceWhereItsFlashSaysToStart) {
    transport.setReenumerationDelay(10ms);
    const struct {
        const char* plan;
        uint16_t comesBack;  // the product id after the cut
    } cases[] = {
        {"powercut-at=restart-in@20ms", kProductIdWork},
        {"powercut-at=restart-out@20ms", kProductIdUpdate},
        {"", kProductIdWork},  // no cut: the restart back out
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.plan);
        Plan(c.plan);
        const bool cutIn = c.plan == std::string("powercut-at=restart-in@20ms");
        EXPECT_EQ(static_cast<bool>(UpdateControl(device, 0x42)), !cutIn);
        if (cutIn) {
            EXPECT_EQ(Reopen(), c.comesBack);
            continue;
        }
        ASSERT_TRUE(WaitForRestartAs(kProductIdUpdate));
        ASSERT_EQ(Reopen(), kProductIdUpdate);
        ASSERT_EQ(testing::WriteImages(device), kImageCount);
        EXPECT_EQ(static_cast<bool>(UpdateControl(device, 0x55)), c.comesBack == kProductIdWork);
        ASSERT_TRUE(WaitForRestartAs(c.comesBack));
        EXPECT_EQ(Reopen(), c.comesBack);
        for (int image = 0; image < kImageCount; ++image) {
            EXPECT_TRUE(testing::Written(firmware(), image)) << "image " << image;
        }
    }
}

TEST_F(PowerCutTest, TheCutFiresOnceAndTheDeviceStaysOffForItsTime) {
    Plan("powercut-at=LInfo:1@150ms");
    const auto cut = std::chrono::steady_clock::now();
    EXPECT_EQ(testing::WriteImages(device), 2);
    EXPECT_FALSE(transport.WaitForAttached(kProductIdUpdate, 80ms));
    ASSERT_TRUE(transport.WaitForAttached(kProductIdWork, 1s));
    EXPECT_GE(std::chrono::steady_clock::now() - cut, 140ms);
    // Packet 1 never arrived: the image was not begun, so nothing was left unwritten.
    EXPECT_EQ(firmware().imageState(kMaster, CodeTarget::Packet2), SimFlash::State::Whole);
    EXPECT_EQ(Reopen(), kProductIdWork);
    EXPECT_EQ(testing::WriteImages(device), kImageCount);
}

TEST(PowerCutText, ReadsEveryForm) {
    const struct {
        const char* text;
        PowerCut cut;
    } cases[] = {
        {"powercut-after=120", {PowerCut::At::PacketCount, 120, 0, 1000ms}},
        {"powercut-after=0x10@2s", {PowerCut::At::PacketCount, 16, 0, 2000ms}},
        {"powercut-at=HInfo:3", {PowerCut::At::Packet, 3, 0, 1000ms}},
        {"powercut-at=hinfo-l:3", {PowerCut::At::Packet, 3, 0, 1000ms}},
        {"powercut-at=HInfo-R:1@250ms", {PowerCut::At::Packet, 1, 1, 250ms}},
        {"powercut-at=3:7", {PowerCut::At::Packet, 7, 2, 1000ms}},
        {"powercut-at=RInfo:version", {PowerCut::At::VersionWrite, 0, 3, 1000ms}},
        {"powercut-at=1:VERSION@0", {PowerCut::At::VersionWrite, 0, 0, 0ms}},
        {"powercut-at=restart-in", {PowerCut::At::RestartIn, 0, 0, 1000ms}},
        {"powercut-at=restart-out@3s", {PowerCut::At::RestartOut, 0, 0, 3000ms}},
    };
    for (const auto& c : cases) {
        std::string error;
        const auto s = ParseFaultPlan(std::string("latency=1ms,") + c.text, &error);
        ASSERT_TRUE(s) << c.text << ": " << error;
        EXPECT_EQ(s->powerCut, c.cut) << c.text;
    }
}

TEST(PowerCutText, NamesTheBadItem) {
    for (const char* bad : {"powercut-after=", "powercut-after=x", "powercut-after=5@soon",
                            "powercut-at=", "powercut-at=HInfo", "powercut-at=HInfo:0",
                            "powercut-at=5:1", "powercut-at=0:1", "powercut-at=MInfo:1",
                            "powercut-at=LInfo:", "powercut-at=LInfo:versions",
                            "powercut-at=restart", "powercut-at=restart-in@"}) {
        std::string error;
        EXPECT_FALSE(ParseFaultPlan(std::string("latency=1ms,") + bad, &error)) << bad;
        EXPECT_THAT(error, HasSubstr(std::string("'") + bad + "'")) << bad;
    }
    std::string error;
    EXPECT_FALSE(ParseFaultPlan("powercut-after=1,powercut-at=restart-in", &error));
    EXPECT_THAT(error, HasSubstr("one power cut per plan"));
}

}  // namespace
}  // namespace tavlin::sim
