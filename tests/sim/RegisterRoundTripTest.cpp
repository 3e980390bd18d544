// Register and area operations of the protocol against the firmware model.
#include <numeric>

#include "sim/SimDeviceFixture.h"

namespace tavlin::sim {
namespace {

using testing::SimDeviceTest;

class Registers : public SimDeviceTest {};

TEST_F(Registers, SingleBytesOfEveryKindReachTheRightSensor) {
    const uint8_t v1 = 0x5A, v2 = 0x40;
    ASSERT_TRUE(RegisterWrite(device, kSlaveBit | 0x1234, 1, &v1, 1));
    ASSERT_TRUE(RegisterWrite(device, 0x01000000 | 0x0C, 1, &v2, 1));
    EXPECT_EQ(firmware().fpgaRegister(kSlave, 0x1234), 0x5A);
    EXPECT_EQ(firmware().fpgaRegister(kMaster, 0x1234), 0x00);
    EXPECT_EQ(firmware().sensorRegister(kMaster, 0x0C), 0x40);
    EXPECT_EQ(firmware().sensorRegister(kSlave, 0x0C), 0x00);

    uint8_t out = 0;
    ASSERT_TRUE(SingleRegisterRead(device, kSlaveBit | 0x1234, &out));
    EXPECT_EQ(out, 0x5A);
    ASSERT_TRUE(RegisterRead(device, kSlaveBit | 0x1234, 1, &out, 1));
    EXPECT_EQ(out, 0x5A);
    ASSERT_TRUE(RegisterRead(device, 0x01000000 | 0x0C, 1, &out, 1));
    EXPECT_EQ(out, 0x40);
    EXPECT_TRUE(firmware().anomalies().empty());
}

TEST_F(Registers, LongWriteThenLongReadAtOneAddressKeepsTheBytesInOrder) {
    std::vector<uint8_t> data(150);
    std::iota(data.begin(), data.end(), uint8_t{1});
    ASSERT_TRUE(RegisterWrite(device, 0x0200, 150, data.data(), data.size()));
    std::vector<uint8_t> back(150, 0);
    ASSERT_TRUE(RegisterRead(device, 0x0200, 150, back.data(), back.size()));
    EXPECT_EQ(back, data);

    // 120 bytes go out as 59, 59 and 2; the trailing two-byte chunk keeps the order too.
    std::vector<uint8_t> slave(120);
    std::iota(slave.begin(), slave.end(), uint8_t{100});
    ASSERT_TRUE(RegisterWrite(device, kSlaveBit | 0x0200, 120, slave.data(), slave.size()));
    std::vector<uint8_t> slaveBack(120, 0);
    ASSERT_TRUE(RegisterRead(device, kSlaveBit | 0x0200, 120, slaveBack.data(), 120));
    EXPECT_EQ(slaveBack, slave);
}

TEST_F(Registers, ABurstEndingInAOneByteChunkStillReadsBackWhole) {
    // 60 bytes go out as 59 + 1: the last byte travels as a single-register write.
    std::vector<uint8_t> data(60);
    std::iota(data.begin(), data.end(), uint8_t{7});
    ASSERT_TRUE(RegisterWrite(device, 0x0300, 60, data.data(), data.size()));
    std::vector<uint8_t> back(60, 0);
    ASSERT_TRUE(RegisterRead(device, 0x0300, 60, back.data(), back.size()));
    EXPECT_EQ(back, data);
}

TEST_F(Registers, ImageVersionsAndVersionInfoRecordsAreStoredPerSensor) {
    const uint8_t slaveVersion[8] = {0x00, 0x30, 0x01, 4, 0x11, 0x22, 0x33, 0xCC};
    const uint8_t masterVersion[8] = {0x00, 0x30, 0x01, 4, 0x78, 0x56, 0x34, 0x12};
    ASSERT_TRUE(RegisterWrite(device, kSlaveBit | 0x02013000, 4, slaveVersion, 8));
    ASSERT_TRUE(RegisterWrite(device, 0x02013000, 4, masterVersion, 8));
    uint8_t both[8];
    ASSERT_TRUE(RegisterRead(device, 0x32013000, 0, both, 8));
    const uint8_t expected[8] = {0x11, 0x22, 0x33, 0xCC, 0x78, 0x56, 0x34, 0x12};
    EXPECT_EQ(std::vector<uint8_t>(both, both + 8), std::vector<uint8_t>(expected, expected + 8));
    uint8_t one[4];
    ASSERT_TRUE(RegisterRead(device, kSlaveBit | 0x02013000, 0, one, 4));
    EXPECT_EQ(one[3], 0xCC);

    uint8_t record[42] = {0x00, 0x00, 0x01, 38, 0x41, 0x47, 0x50, 0x46, 1};
    record[41] = 0x7E;
    ASSERT_TRUE(RegisterWrite(device, kSlaveBit | 0x02010000, 38, record, sizeof record));
    uint8_t info[38];
    ASSERT_TRUE(RegisterRead(device, kSlaveBit | 0x02010000, 0, info, sizeof info));
    EXPECT_EQ(std::vector<uint8_t>(info, info + 38), std::vector<uint8_t>(record + 4, record + 42));
    EXPECT_EQ(firmware().versionInfo(kMaster)[0], 0);
}

TEST_F(Registers, MalformedRequestsAreRefusedAndRecorded) {
    // A version write naming the wrong area, an over-long version, an unknown command.
    const uint8_t wrongArea[8] = {0x00, 0x31, 0x01, 4, 1, 2, 3, 4};
    EXPECT_FALSE(HidCommand(device, cmd::kImageVersionWriteSlave, wrongArea, 8, nullptr, 0));
    const uint8_t tooLong[9] = {0x00, 0x30, 0x01, 5, 1, 2, 3, 4, 5};
    EXPECT_FALSE(HidCommand(device, cmd::kImageVersionWriteSlave, tooLong, 9, nullptr, 0));
    EXPECT_FALSE(HidCommand(device, 0x3F, nullptr, 0, nullptr, 0));
    const uint8_t zeroLength[4] = {0x00, 0x02, 0, 0};
    EXPECT_FALSE(HidCommand(device, cmd::kFpgaRead, zeroLength, 4, nullptr, 0));
    ASSERT_EQ(firmware().anomalies().size(), 4u);
    EXPECT_EQ(firmware().anomalies()[2].command, 0x3F);
    EXPECT_EQ(firmware().imageVersion(kSlave), 0x00010204u);
}

TEST_F(Registers, ModeSwitchRemembersTheLastAcceptedMode) {
    EXPECT_TRUE(ModeSwitch(device, 0xFF));
    EXPECT_TRUE(ModeSwitch(device, 0xEE));
    EXPECT_FALSE(ModeSwitch(device, 0x10));
    EXPECT_EQ(firmware().mode(), 0xEE);
}

TEST_F(Registers, RecordingHoldsTheExactReportsOfAnExchange) {
    transport.recorder().Clear();
    firmware().setFpgaRegister(kSlave, 0x1234, 0x5A);
    uint8_t out = 0;
    ASSERT_TRUE(SingleRegisterRead(device, kSlaveBit | 0x1234, &out));
    const auto reports = transport.recorder().reports();
    ASSERT_EQ(reports.size(), 2u);
    Report wantOut{0x03, 0x19, 0x34, 0x12, 0x00, 0x00};
    Report wantIn{0x03, 0x19, 0x22, 0x5A};
    EXPECT_EQ(reports[0].dir, RecordedReport::Out);
    EXPECT_EQ(reports[0].bytes, wantOut);
    EXPECT_EQ(reports[1].dir, RecordedReport::In);
    EXPECT_EQ(reports[1].bytes, wantIn);
}

// A --simulate session runs without a test to read the recording: it must not hold one.
TEST(Recording, ADefaultSimulatedDeviceRecordsNothing) {
    SimTransport transport;
    HidDevice device(transport);
    uint16_t pid = 0;
    ASSERT_EQ(OpenHidDevice(device, &pid), 1);
    uint8_t out = 0;
    for (int i = 0; i < 10; ++i) {
        ASSERT_TRUE(SingleRegisterRead(device, 0x10, &out));
    }
    EXPECT_EQ(transport.recorder().size(), 0u);
    EXPECT_EQ(transport.faults().reportsSeen(), 10u);  // the exchanges did happen
}

}  // namespace
}  // namespace tavlin::sim
