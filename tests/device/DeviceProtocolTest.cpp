#include "device/DeviceProtocol.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <numeric>

#include "device/FakeTransport.h"
#include "device/LogCapture.h"

namespace tavlin {
namespace {

using testing::Accepted;
using ::testing::Each;
using ::testing::ElementsAre;
using testing::FakeTransport;
using testing::Report;

Report Out(std::initializer_list<uint8_t> head) {
    Report r{};
    std::copy(head.begin(), head.end(), r.begin());
    return r;
}

class ProtocolTest : public ::testing::Test {
  protected:
    void SetUp() override {
        t.interfaces = {testing::OurVendorCollection("/dev/hidraw0")};
        uint16_t pid = 0;
        ASSERT_EQ(OpenHidDevice(dev, &pid), 1);
    }
    FakeTransport t;
    HidDevice dev{t};
    testing::LogCapture log;
};

TEST_F(ProtocolTest, SlaveSingleReadOf1234) {
    t.answer = [](const Report&, size_t) { return Accepted({0x5A}); };
    uint8_t value = 0;
    ASSERT_TRUE(SingleRegisterRead(dev, 0x10001234, &value));
    EXPECT_EQ(t.written.at(0), Out({0x03, 0x19, 0x34, 0x12, 0x00, 0x00}));
    EXPECT_EQ(value, 0x5A);
}

TEST_F(ProtocolTest, MasterI2cWrite) {
    const uint8_t value = 0x40;
    ASSERT_TRUE(RegisterWrite(dev, 0x0100000C, 1, &value, 1));
    EXPECT_EQ(t.written.at(0), Out({0x03, 0x07, 0x0C, 0x40}));
}

TEST_F(ProtocolTest, I2cReadUsesRegisterNumberOnly) {
    t.answer = [](const Report&, size_t) { return Accepted({0x77}); };
    uint8_t value = 0;
    ASSERT_TRUE(RegisterRead(dev, 0x11000030, 1, &value, 1));
    EXPECT_EQ(t.written.at(0), Out({0x03, 0x1B, 0x30}));
    EXPECT_EQ(value, 0x77);
}

TEST_F(ProtocolTest, Read150BytesIn61Plus61Plus28AtOneAddress) {
    t.answer = [](const Report& out, size_t n) {
        std::vector<uint8_t> data(out[4]);
        std::fill(data.begin(), data.end(), static_cast<uint8_t>(n + 1));
        return Accepted(data);
    };
    std::vector<uint8_t> buf(150, 0);
    ASSERT_TRUE(RegisterRead(dev, 0x00000020, 150, buf.data(), buf.size()));
    ASSERT_EQ(t.written.size(), 3u);
    EXPECT_EQ(t.written[0], Out({0x03, 0x05, 0x20, 0x00, 61, 0x00}));
    EXPECT_EQ(t.written[1], Out({0x03, 0x05, 0x20, 0x00, 61, 0x00}));
    EXPECT_EQ(t.written[2], Out({0x03, 0x05, 0x20, 0x00, 28, 0x00}));
    EXPECT_EQ(buf[60], 1);
    EXPECT_EQ(buf[61], 2);
    EXPECT_EQ(buf[122], 3);
    EXPECT_EQ(buf[149], 3);
}

TEST_F(ProtocolTest, FailedSecondChunkLeavesTheWholeOutputFf) {
    t.answer = [](const Report& out, size_t n) {
        return n == 1 ? testing::WithStatus(0x00) : Accepted(std::vector<uint8_t>(out[4], 0x11));
    };
    std::vector<uint8_t> buf(150, 0);
    EXPECT_FALSE(RegisterRead(dev, 0x10000020, 150, buf.data(), buf.size()));
    EXPECT_EQ(t.written.size(), 2u) << "no chunk after the failed one";
    EXPECT_EQ(t.written[0][1], 0x18);
    EXPECT_THAT(buf, Each(0xFF));
}

TEST_F(ProtocolTest, Write120BytesIn59Plus59Plus2) {
    std::vector<uint8_t> data(120);
    std::iota(data.begin(), data.end(), 0);
    ASSERT_TRUE(RegisterWrite(dev, 0x10000040, 120, data.data(), data.size()));
    ASSERT_EQ(t.written.size(), 3u);
    EXPECT_EQ(t.written[0][1], 0x17);
    EXPECT_EQ(t.written[0][4], 59);
    EXPECT_EQ(t.written[0][5], 0);
    EXPECT_EQ(t.written[0][5 + 58], 58);
    EXPECT_EQ(t.written[1][4], 59);
    EXPECT_EQ(t.written[1][5], 59);
    EXPECT_EQ(t.written[2], Out({0x03, 0x17, 0x40, 0x00, 2, 118, 119}));
}

TEST_F(ProtocolTest, CountZeroSendsNothingAndSucceeds) {
    uint8_t buf[1] = {0};
    EXPECT_TRUE(RegisterRead(dev, 0x20, 0, buf, 1));
    EXPECT_TRUE(RegisterWrite(dev, 0x20, 0, buf, 1));
    EXPECT_TRUE(RegisterRead(dev, 0x20, -5, buf, 1));
    EXPECT_TRUE(t.written.empty());
}

TEST_F(ProtocolTest, CountsBeyondTheCallersBufferAreRefusedUnsent) {
    uint8_t buf[4] = {};
    EXPECT_FALSE(RegisterRead(dev, 0x20, 5, buf, 4));
    EXPECT_FALSE(RegisterWrite(dev, 0x20, 5, buf, 4));
    EXPECT_TRUE(t.written.empty());
}

TEST_F(ProtocolTest, BothSensorVersionReadUses2dAnd8Bytes) {
    t.answer = [](const Report&, size_t) { return Accepted({1, 2, 3, 4, 5, 6, 7, 8}); };
    uint8_t buf[8] = {};
    ASSERT_TRUE(RegisterRead(dev, 0x32013000, 0, buf, 8));
    EXPECT_EQ(t.written.at(0), Out({0x03, 0x2D, 0x00, 0x30, 0x01}));
    EXPECT_THAT(buf, ElementsAre(1, 2, 3, 4, 5, 6, 7, 8));
}

TEST_F(ProtocolTest, AreaReadsAndWrites) {
    t.answer = [](const Report&, size_t) { return Accepted(std::vector<uint8_t>(38, 0xAB)); };
    uint8_t info[38] = {};
    ASSERT_TRUE(RegisterRead(dev, 0x12010000, 0, info, 38));
    EXPECT_EQ(t.written.back(), Out({0x03, 0x36, 0x00, 0x00, 0x01}));
    uint8_t version[4] = {};
    ASSERT_TRUE(RegisterRead(dev, 0x02013000, 0, version, 4));
    EXPECT_EQ(t.written.back(), Out({0x03, 0x2C, 0x00, 0x30, 0x01}));

    const uint8_t block[8] = {0x00, 0x30, 0x01, 0x04, 0x11, 0x22, 0x33, 0xCC};
    ASSERT_TRUE(RegisterWrite(dev, 0x12013000, 4, block, sizeof block));
    EXPECT_EQ(t.written.back(), Out({0x03, 0x33, 0x00, 0x30, 0x01, 0x04, 0x11, 0x22, 0x33, 0xCC}));
    const uint8_t infoBlock[6] = {0x00, 0x00, 0x01, 0x02, 0xAA, 0xBB};
    ASSERT_TRUE(RegisterWrite(dev, 0x02010000, 2, infoBlock, sizeof infoBlock));
    EXPECT_EQ(t.written.back(), Out({0x03, 0x31, 0x00, 0x00, 0x01, 0x02, 0xAA, 0xBB}));
}

TEST_F(ProtocolTest, CodePacketCodesWithFlags) {
    const uint8_t packet[3] = {9, 8, 7};
    ASSERT_TRUE(RegisterWrite(dev, 0x12004000 | 0x80, 3, packet, 3));
    EXPECT_EQ(t.written.back(), Out({0x03, 0x9F, 9, 8, 7}));
    ASSERT_TRUE(RegisterWrite(dev, 0x02008000 | 0x40, 3, packet, 3));
    EXPECT_EQ(t.written.back(), Out({0x03, 0x6E, 9, 8, 7}));
    ASSERT_TRUE(RegisterWrite(dev, 0x02004000, 3, packet, 3));
    EXPECT_EQ(t.written.back()[1], 0x2F);
    ASSERT_TRUE(RegisterWrite(dev, 0x12008000, 3, packet, 3));
    EXPECT_EQ(t.written.back()[1], 0x34);
}

TEST_F(ProtocolTest, UnknownAreasKind3AndOversizeAreaDataAreRefusedUnsent) {
    uint8_t buf[64] = {};
    EXPECT_FALSE(RegisterRead(dev, 0x02012000, 0, buf, 64));
    EXPECT_THAT(std::vector<uint8_t>(buf, buf + 4), Each(0xFF));
    EXPECT_FALSE(RegisterWrite(dev, 0x02012000, 1, buf, 64));
    EXPECT_FALSE(RegisterRead(dev, 0x03000010, 1, buf, 64));
    EXPECT_FALSE(RegisterWrite(dev, 0x03000010, 1, buf, 64));
    EXPECT_FALSE(RegisterWrite(dev, 0x02004000, 63, buf, 64)) << "a code packet holds 62 bytes";
    EXPECT_FALSE(RegisterWrite(dev, 0x02013000, 59, buf, 64)) << "area, n and 59 bytes exceed 62";
    EXPECT_FALSE(RegisterRead(dev, 0x02010000, 0, buf, 37)) << "a 38-byte record needs 38 bytes";
    EXPECT_TRUE(t.written.empty());
}

TEST_F(ProtocolTest, LineOptimisationDecodesPositionsAndLevels) {
    t.answer = [](const Report&, size_t) {
        return Accepted({0x22, 1, 2, 3, 4, 5, 6, 63, 0x21, 0x43, 0x65, 0xF7});
    };
    LineRecord r[8];
    ASSERT_TRUE(LineOptimize(dev, kSlave, r));
    EXPECT_EQ(t.written.at(0), Out({0x03, 0x27}));
    EXPECT_EQ(r[0].position, 10);
    EXPECT_EQ(r[6].position, 630);
    EXPECT_EQ(r[7].position, 639);
    const uint16_t levels[8] = {1, 2, 3, 4, 5, 6, 7, 7};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(r[i].level, levels[i]) << i;
        EXPECT_THAT(r[i].reserved, Each(0));
    }
}

TEST_F(ProtocolTest, LineOptimisationReplyWhoseFirstByteIsNot22Fails) {
    t.answer = [](const Report&, size_t) {
        return Accepted({0x21, 1, 2, 3, 4, 5, 6, 7, 0, 0, 0, 0});
    };
    LineRecord r[8];
    EXPECT_FALSE(LineOptimize(dev, kMaster, r));
    const auto* bytes = reinterpret_cast<const uint8_t*>(r);
    EXPECT_THAT(std::vector<uint8_t>(bytes, bytes + sizeof r), Each(0xFF));
}

TEST_F(ProtocolTest, LevelingCommands) {
    t.answer = [](const Report& out, size_t) {
        switch (out[1]) {
            case 0x24:
                return Accepted({0xF0, 0x00});
            case 0x13:
                return Accepted({40, 0, 0x58, 0x02});
            case 0x2B:
                return Accepted({0x12, 0x34, 41, 0, 0x57, 0x02});
            default:
                return Accepted();
        }
    };
    int line = 0;
    ASSERT_TRUE(StartLineSearch(dev, kSlave, 200, 300, &line));
    EXPECT_EQ(t.written.back(), Out({0x03, 0x24, 200, 0, 0x2C, 0x01}));
    EXPECT_EQ(line, 240);
    ASSERT_TRUE(StartLineConfig(dev, kMaster, 350));
    EXPECT_EQ(t.written.back(), Out({0x03, 0x12, 0x5E, 0x01}));
    int c1 = 0, c2 = 0;
    ASSERT_TRUE(ColumnSearch(dev, kMaster, &c1, &c2));
    EXPECT_EQ(c1, 40);
    EXPECT_EQ(c2, 600);
    uint8_t exposure[2] = {};
    ASSERT_TRUE(ExposureAdjust(dev, kSlave, exposure, &c1, &c2));
    EXPECT_EQ(exposure[0], 0x34);
    EXPECT_EQ(exposure[1], 0x12);
    EXPECT_EQ(c1, 41);
    EXPECT_EQ(c2, 599);
    uint8_t pixels[61];
    ASSERT_TRUE(PreviewRead(dev, 5063, 1, 57, kSlave, pixels));
    EXPECT_EQ(t.written.back(), Out({0x03, 0x81, 0xC7, 0x13, 57}));
    ASSERT_TRUE(PreviewRead(dev, 610, 2, 30, kMaster, pixels));
    EXPECT_EQ(t.written.back(), Out({0x03, 0x40, 0x62, 0x02, 30}));
}

TEST_F(ProtocolTest, LevelingFailuresLeaveTheirFillValues) {
    t.answer = [](const Report&, size_t) { return testing::WithStatus(0x01); };
    int line = 7, c1 = 7, c2 = 7;
    EXPECT_FALSE(StartLineSearch(dev, kMaster, 200, 300, &line));
    EXPECT_EQ(line, 0xFFFF);
    EXPECT_FALSE(ColumnSearch(dev, kMaster, &c1, &c2));
    EXPECT_EQ(c1, 0xFFFF);
    EXPECT_EQ(c2, 0xFFFF);
    uint8_t exposure[2] = {1, 2};
    c1 = c2 = 5;
    EXPECT_FALSE(ExposureAdjust(dev, kMaster, exposure, &c1, &c2));
    EXPECT_THAT(exposure, ElementsAre(0xFF, 0xFF));
    EXPECT_EQ(c1, 5) << "columns are left as they were";
}

TEST_F(ProtocolTest, CalibrationPointResult) {
    struct Case {
        std::vector<uint8_t> reply;
        int r;
    };
    const std::vector<Case> cases = {{{0, 1, 0, 0, 0}, 1},
                                     {{0, 1, 0, 0, 9}, 2},
                                     {{0, 2, 0, 0, 9, 0, 0}, 1},
                                     {{0, 2, 0, 0, 0, 0, 3}, 2},
                                     {{0, 0, 0, 0, 0}, 0},
                                     {{0, 0, 0, 0, 1}, 1},
                                     {{0, 7}, 3}};
    for (const auto& c : cases) {
        t.answer = [&](const Report&, size_t) { return Accepted(c.reply); };
        const uint8_t payload[6] = {20, 0, 0x40, 0, 0x20, 0};
        EXPECT_EQ(CalibrationPoint(dev, payload), c.r);
    }
    EXPECT_EQ(t.written.back(), Out({0x03, 0x1E, 20, 0, 0x40, 0, 0x20, 0}));
    t.answer = [](const Report&, size_t) { return testing::TimedOut(); };
    const uint8_t payload[6] = {};
    EXPECT_EQ(CalibrationPoint(dev, payload), 3);
}

TEST_F(ProtocolTest, ModeUpdateAndCalibrationCommands) {
    ASSERT_TRUE(ModeSwitch(dev, 0xFF));
    EXPECT_EQ(t.written.back(), Out({0x03, 0x0E, 0xFF}));
    ASSERT_TRUE(UpdateControl(dev, 0x42));
    EXPECT_EQ(t.written.back(), Out({0x03, 0x38, 0x42}));
    ASSERT_TRUE(CalibrationInit(dev));
    EXPECT_EQ(t.written.back(), Out({0x03, 0x0B}));
    ASSERT_TRUE(CalibrationParam(dev, 1920, 1080));
    EXPECT_EQ(t.written.back(), Out({0x03, 0x28, 0x80, 0x07, 0x38, 0x04}));
}

}  // namespace
}  // namespace tavlin
