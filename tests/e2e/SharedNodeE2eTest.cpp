// The touch collection and the vendor collection on one hidraw node, through the program's real
// hidapi code: touches that queue while the tool is idle and touches that arrive during a long
// code transfer must never be taken for replies.
#include <gtest/gtest.h>

#include <random>

#include "UmockdevFixture.h"
#include "device/AddressWord.h"
#include "device/DeviceProtocol.h"
#include "device/HidDevice.h"
#include "device/HidapiTransport.h"
#include "device/LogCapture.h"

namespace tavlin::e2e {
namespace {

class SharedNodeE2eTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (const std::string why = MockEnvironmentMissing(); !why.empty()) {
            GTEST_SKIP() << "umockdev not available: " << why;
        }
        bed = std::make_unique<UmockdevBed>();
        transport = std::make_unique<HidapiTransport>();
        device = std::make_unique<HidDevice>(*transport);
        plug = ReplyId() == 7 ? bed->PlugOursReplyingAs7(kProductIdWork)
                              : bed->PlugOurs(kProductIdWork);
        uint16_t productId = 0;
        ASSERT_EQ(OpenHidDevice(*device, &productId), 1);
        device->setTimeoutMs(500);
        for (uint16_t a = 0; a < 24; ++a) {
            bed->firmware().setFpgaRegister(0, 0x0200 + a, static_cast<uint8_t>(0x31 + a * 5));
        }
    }
    virtual uint8_t ReplyId() const { return 0x03; }
    void TearDown() override {
        device.reset();
        transport.reset();
        bed.reset();
    }

    void ExpectEveryRegisterReadsItsOwnValue() {
        for (uint16_t a = 0; a < 24; ++a) {
            uint8_t value = 0;
            ASSERT_TRUE(SingleRegisterRead(*device, 0x0200 + a, &value)) << "register " << a;
            EXPECT_EQ(value, static_cast<uint8_t>(0x31 + a * 5)) << "register " << a;
        }
    }

    testing::LogCapture log;
    std::unique_ptr<UmockdevBed> bed;
    std::unique_ptr<HidapiTransport> transport;
    std::unique_ptr<HidDevice> device;
    int plug = -1;
};

TEST_F(SharedNodeE2eTest, ABurstOfTouchesQueuedWhileIdleShiftsNoReply) {
    bed->QueueTouchReports(plug, 40);
    ExpectEveryRegisterReadsItsOwnValue();
    bed->StreamTouches(true);
    ExpectEveryRegisterReadsItsOwnValue();
    EXPECT_FALSE(log.Contains("GetOverlappedResult_Tav")) << "skipped touches left log lines";
}

// A quarter megabyte with touches before and after every reply. Through umockdev an exchange
// costs about 1-2 ms on a busy machine (its preload passes each read and write of the node
// through its ioctl socket and yields the processor once per call), so this takes seconds.
TEST_F(SharedNodeE2eTest, EveryPacketOfACodeTransferGetsItsOwnReply) {
    std::mt19937 gen(5);
    std::vector<uint8_t> image(256 * 1024 + 17);
    for (uint8_t& b : image) {
        b = static_cast<uint8_t>(gen());
    }
    bed->QueueTouchReports(plug, 20);
    bed->StreamTouches(true);
    size_t packets = 0;
    for (size_t offset = 0; offset < image.size(); offset += kMaxCodePacket, ++packets) {
        const size_t n = std::min<size_t>(kMaxCodePacket, image.size() - offset);
        uint8_t out[kReportSize] = {kReportId, cmd::kCodePacketMaster};
        out[1] |= offset == 0 ? kFirstPacketFlag : 0;
        out[1] |= offset + n == image.size() ? kLastPacketFlag : 0;
        std::copy_n(image.begin() + static_cast<long>(offset), n, out + 2);
        uint8_t in[kReportSize] = {};
        ASSERT_TRUE(WriteHidDevice(*device, out));
        ASSERT_TRUE(ReadHidDevice(*device, in));
        // The device echoes the command in byte 1, which the link itself never looks at.
        ASSERT_EQ(in[0], kReportId) << "packet " << packets;
        ASSERT_EQ(in[1], out[1]) << "packet " << packets;
    }
    const auto t = bed->firmware().completedTransfer(0, sim::CodeTarget::Packet);
    EXPECT_EQ(t.packets, static_cast<int>(packets));
    ASSERT_GE(t.bytes.size(), image.size());
    EXPECT_TRUE(std::equal(image.begin(), image.end(), t.bytes.begin()));
    ExpectEveryRegisterReadsItsOwnValue();
}

}  // namespace
}  // namespace tavlin::e2e

namespace tavlin::e2e {
namespace {

class SharedNodeOtherIdE2eTest : public SharedNodeE2eTest {
  protected:
    uint8_t ReplyId() const override { return 7; }
};

TEST_F(SharedNodeOtherIdE2eTest, TheReplyIdComesFromTheNodesDescriptor) {
    bed->QueueTouchReports(plug, 10);
    bed->StreamTouches(true);
    ExpectEveryRegisterReadsItsOwnValue();
}

}  // namespace
}  // namespace tavlin::e2e
