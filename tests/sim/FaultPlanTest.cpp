// Each fault of the plan shows the host the failure it must handle.
#include <gmock/gmock.h>

#include "device/LogCapture.h"
#include "sim/FaultPlanParser.h"
#include "sim/SimDeviceFixture.h"

namespace tavlin::sim {
namespace {

using namespace std::chrono_literals;
using tavlin::testing::LogCapture;
using ::testing::HasSubstr;
using ::testing::Not;
using testing::SimDeviceTest;

class Faults : public SimDeviceTest {
  protected:
    LogCapture log;
};

TEST_F(Faults, NoReplyTimesOutAndTheLateReplyIsNotTakenForTheNext) {
    transport.faults().NoReplyTo(cmd::kFpgaSingleRead);
    uint8_t out = 0;
    EXPECT_FALSE(SingleRegisterRead(device, 0x10, &out));
    EXPECT_EQ(out, 0xFF);
    EXPECT_THAT(log.Text(), HasSubstr("GetOverlappedResult_Tav failed! ret=258\n"));
    EXPECT_TRUE(ModeSwitch(device, 0xFF));

    // A reply slower than the time-out arrives late and is dropped before the next exchange.
    transport.faults().Clear();
    transport.faults().SetLatency(std::chrono::milliseconds(2 * testing::kTestTimeoutMs));
    firmware().setFpgaRegister(kMaster, 0x10, 0x77);
    EXPECT_FALSE(SingleRegisterRead(device, 0x10, &out));
    transport.faults().SetLatency(0us);
    std::this_thread::sleep_for(std::chrono::milliseconds(2 * testing::kTestTimeoutMs));
    uint8_t exposure[2];
    int a = 0, b = 0;
    ASSERT_TRUE(ExposureAdjust(device, kMaster, exposure, &a, &b));
    EXPECT_EQ(exposure[0], 0x30);
    EXPECT_EQ(exposure[1], 0x08);  // not the late 0x77
}

TEST_F(Faults, RefusedStatusFailsAndFillsWithoutALogLine) {
    transport.faults().Refuse(cmd::kFpgaRead);
    std::vector<uint8_t> out(150, 0);
    EXPECT_FALSE(RegisterRead(device, 0x20, 150, out.data(), out.size()));
    EXPECT_EQ(out, std::vector<uint8_t>(150, 0xFF));
    EXPECT_EQ(log.Text(), "");
    EXPECT_TRUE(firmware().anomalies().empty());  // a fault, not a host mistake
}

TEST_F(Faults, FromTheNthReportOnEverythingIsRefused) {
    FaultSettings s;
    s.refuseFrom = 3;
    transport.faults().Set(s);
    EXPECT_TRUE(ModeSwitch(device, 0xFF));
    EXPECT_TRUE(ModeSwitch(device, 0x22));
    EXPECT_FALSE(ModeSwitch(device, 0xFF));
    EXPECT_FALSE(CalibrationInit(device));
    EXPECT_EQ(firmware().mode(), 0x22);
}

TEST_F(Faults, UnplugAtACodeFailsTheReadWithDeviceNotConnected) {
    transport.faults().UnplugAt(cmd::kCodePacketMaster);
    const uint8_t packet[62] = {};
    ASSERT_TRUE(RegisterWrite(device, 0x02004000 | kFirstPacketFlag, 62, packet, 62));
    EXPECT_FALSE(RegisterWrite(device, 0x02004000, 62, packet, 62));
    EXPECT_THAT(log.Text(), HasSubstr("ret=1167 ERROR_DEVICE_NOT_CONNECTED!\n"));
    EXPECT_THAT(log.Text(), HasSubstr("ReadHidDevice failed."));
    EXPECT_FALSE(transport.attached());
}

TEST_F(Faults, UnplugAfterNReportsThenReplugAsUpdateEnvironment) {
    transport.faults().UnplugAfter(2, Replug{kProductIdUpdate, 50ms});
    EXPECT_TRUE(ModeSwitch(device, 0xFF));
    EXPECT_TRUE(ModeSwitch(device, 0xFF));
    EXPECT_FALSE(ModeSwitch(device, 0xFF));
    EXPECT_THAT(log.Text(), HasSubstr("WriteHidDevice failed."));
    EXPECT_THAT(log.Text(), Not(HasSubstr("ret=258")));
    ASSERT_TRUE(transport.WaitForAttached(kProductIdUpdate, 1s));
    uint16_t pid = 0;
    EXPECT_EQ(OpenHidDevice(device, &pid), 1);
    EXPECT_EQ(pid, kProductIdUpdate);
    EXPECT_TRUE(ModeSwitch(device, 0xFF));  // the unplug fired once
}

TEST(FaultPlanText, ReadsEveryItem) {
    std::string error;
    const auto s = ParseFaultPlan(
        "latency=1ms,noreply=0x0E,noreply=6,refuse=0x06,unplug-at=0x2F,unplug-after=100,"
        "replug=0x42@500ms,refuse-from=7,noreply-from=9,foreign=1,foreign=0x10,throw-at=0x2d,"
        "move-port=sim-7,notices=off",
        &error);
    ASSERT_TRUE(s) << error;
    EXPECT_EQ(s->latency, 1000us);
    EXPECT_EQ(s->noReplyCodes, (std::set<uint8_t>{0x06, 0x0E}));
    EXPECT_EQ(s->refuseCodes, (std::set<uint8_t>{0x06}));
    EXPECT_EQ(s->unplugAt, 0x2F);
    EXPECT_EQ(s->unplugAfter, 100u);
    EXPECT_EQ(s->replug->productId, 0x42);
    EXPECT_EQ(s->replug->delay, 500ms);
    EXPECT_EQ(s->refuseFrom, 7u);
    EXPECT_EQ(s->noReplyFrom, 9u);
    EXPECT_EQ(s->foreignBefore, (std::set<uint64_t>{1, 16}));
    EXPECT_EQ(s->throwAt, 0x2D);
    EXPECT_EQ(s->movePort, "sim-7");
    EXPECT_TRUE(s->noNotices);
    EXPECT_FALSE(ParseFaultPlan("notices=on", &error)->noNotices);
    EXPECT_EQ(ParseFaultPlan("latency=250us", &error)->latency, 250us);
    EXPECT_EQ(ParseFaultPlan("latency=2", &error)->latency, 2000us);
    EXPECT_EQ(ParseFaultPlan("", &error), FaultSettings{});
}

TEST(FaultPlanText, NamesTheBadItem) {
    for (const char* bad : {"latency=fast", "noreply=0x100", "refuse", "unplug-after=-1",
                            "replug=0x42", "replug=0x42@soon", "explode=1", "noreply-from=0",
                            "foreign=0", "foreign=x", "move-port=", "notices=no"}) {
        std::string error;
        EXPECT_FALSE(ParseFaultPlan(std::string("latency=1ms,") + bad, &error)) << bad;
        EXPECT_THAT(error, HasSubstr(std::string("'") + bad + "'")) << bad;
    }
}

}  // namespace
}  // namespace tavlin::sim
