// One node for both collections, as Linux gives it: touch reports stream in while the tool
// works, and every exchange must still get its own reply.
#include <gtest/gtest.h>

#include <random>

#include "device/AddressWord.h"
#include "device/DeviceProtocol.h"
#include "device/HidDevice.h"
#include "sim/SimTransport.h"

namespace tavlin::sim {
namespace {

constexpr int kTestTimeoutMs = 150;

SimTransport::Options SharedNode() {
    SimTransport::Options o;
    o.sharedNode = true;
    return o;
}

class SharedNodeTest : public ::testing::Test {
  protected:
    SharedNodeTest() : transport(SharedNode()), device(transport) {
        device.setTimeoutMs(kTestTimeoutMs);
        uint16_t pid = 0;
        EXPECT_EQ(OpenHidDevice(device, &pid), 1);
        // A distinct value in every register the tests read.
        for (uint16_t a = 0; a < 32; ++a) {
            transport.firmware().setFpgaRegister(kMaster, 0x0100 + a,
                                                 static_cast<uint8_t>(a * 7 + 1));
        }
    }

    void ExpectEveryRegisterReadsItsOwnValue() {
        for (uint16_t a = 0; a < 32; ++a) {
            uint8_t value = 0;
            ASSERT_TRUE(SingleRegisterRead(device, 0x0100 + a, &value)) << "register " << a;
            EXPECT_EQ(value, static_cast<uint8_t>(a * 7 + 1))
                << "register 0x" << std::hex << 0x0100 + a;
        }
    }

    SimTransport transport;
    HidDevice device;
};

TEST_F(SharedNodeTest, BothCollectionsAreListedOnOneNode) {
    const auto list = transport.Enumerate();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].path, list[1].path);
    EXPECT_EQ(list[1].usagePage, kVendorUsagePage);
}

TEST_F(SharedNodeTest, TouchesQueuedWhileIdleDoNotShiftTheReplies) {
    transport.QueueTouchReports(60);
    ExpectEveryRegisterReadsItsOwnValue();
}

TEST_F(SharedNodeTest, TouchesStreamingDuringReadsAreSkipped) {
    transport.StreamTouches(true);
    ExpectEveryRegisterReadsItsOwnValue();
    transport.QueueTouchReports(10);
    ExpectEveryRegisterReadsItsOwnValue();
}

TEST_F(SharedNodeTest, EveryCodePacketOfAQuarterMegabyteGetsItsOwnReply) {
    std::mt19937 gen(11);
    std::vector<uint8_t> image(256 * 1024);
    for (uint8_t& b : image) {
        b = static_cast<uint8_t>(gen());
    }
    transport.QueueTouchReports(30);
    transport.StreamTouches(true);
    size_t packets = 0;
    for (size_t offset = 0; offset < image.size(); offset += kMaxCodePacket, ++packets) {
        const size_t n = std::min<size_t>(kMaxCodePacket, image.size() - offset);
        uint8_t out[kReportSize] = {kReportId, cmd::kCodePacketSlave};
        if (offset == 0) {
            out[1] |= kFirstPacketFlag;
        }
        if (offset + n == image.size()) {
            out[1] |= kLastPacketFlag;
        }
        std::copy_n(image.begin() + static_cast<long>(offset), n, out + 2);
        uint8_t in[kReportSize] = {};
        ASSERT_TRUE(WriteHidDevice(device, out));
        ASSERT_TRUE(ReadHidDevice(device, in));
        // The link never looks at byte 1; the device echoes the command there, so a reply
        // taken for the wrong packet (or a touch taken for a reply) shows.
        ASSERT_EQ(in[0], kReportId) << "packet " << packets;
        ASSERT_EQ(in[1], out[1]) << "packet " << packets;
        ASSERT_EQ(in[2], kStatusAccepted) << "packet " << packets;
    }
    const auto t = transport.firmware().completedTransfer(kSlave, CodeTarget::Packet);
    EXPECT_EQ(t.packets, static_cast<int>(packets));
    ASSERT_GE(t.bytes.size(), image.size());
    EXPECT_TRUE(std::equal(image.begin(), image.end(), t.bytes.begin()));
    ExpectEveryRegisterReadsItsOwnValue();
}

TEST_F(SharedNodeTest, AStrayReportAheadOfAReplyIsNotTakenForIt) {
    FaultSettings f;
    f.foreignBefore = {1, 3};
    transport.faults().Set(f);
    ExpectEveryRegisterReadsItsOwnValue();
}

}  // namespace
}  // namespace tavlin::sim
