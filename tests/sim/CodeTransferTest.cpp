// Firmware-sized code transfers through the packet areas.
#include <random>

#include "sim/FpgaScrambling.h"
#include "sim/SimDeviceFixture.h"

namespace tavlin::sim {
namespace {

using testing::SimDeviceTest;

std::vector<uint8_t> RandomImage(size_t size, uint32_t seed) {
    std::mt19937 gen(seed);
    std::vector<uint8_t> image(size);
    for (uint8_t& b : image) {
        b = static_cast<uint8_t>(gen());
    }
    return image;
}

class CodeTransfer : public SimDeviceTest {
  protected:
    // Sends the image as the command thread does: 62-byte packets, first and last flagged.
    bool Send(uint32_t area, std::vector<uint8_t> image, bool scramble) {
        uint8_t key = kFpgaInitialKey;
        for (size_t offset = 0; offset < image.size(); offset += kMaxCodePacket) {
            const size_t n = std::min<size_t>(kMaxCodePacket, image.size() - offset);
            uint32_t addr = area;
            if (offset == 0) {
                addr |= kFirstPacketFlag;
            }
            if (offset + n == image.size()) {
                addr |= kLastPacketFlag;
            }
            if (scramble) {
                ApplyFpgaKey(image.data() + offset, n, &key);
            }
            if (!RegisterWrite(device, addr, static_cast<int32_t>(n), image.data() + offset, n)) {
                return false;
            }
        }
        return true;
    }

    // The received bytes hold the image and the zero padding of its short last packet.
    static void ExpectHolds(const std::vector<uint8_t>& received,
                            const std::vector<uint8_t>& image) {
        ASSERT_GE(received.size(), image.size());
        ASSERT_LT(received.size() - image.size(), size_t(kMaxCodePacket));
        EXPECT_TRUE(std::equal(image.begin(), image.end(), received.begin()));
        EXPECT_TRUE(std::all_of(received.begin() + image.size(), received.end(),
                                [](uint8_t b) { return b == 0; }));
    }
};

TEST_F(CodeTransfer, QuarterMegabyteImageArrivesWhole) {
    const auto image = RandomImage(256 * 1024, 7);
    ASSERT_TRUE(Send(0x02004000 | kSlaveBit, image, false));
    const auto t = firmware().completedTransfer(kSlave, CodeTarget::Packet);
    EXPECT_EQ(t.packets, 4229);
    ExpectHolds(t.bytes, image);
    EXPECT_EQ(firmware().completedTransferCount(kMaster, CodeTarget::Packet), 0);
    EXPECT_TRUE(firmware().anomalies().empty());
}

TEST_F(CodeTransfer, ScrambledFpgaCodeUnscramblesToItsSource) {
    const auto code = RandomImage(100000, 3);
    ASSERT_TRUE(Send(0x02004000, code, true));
    auto received = firmware().completedTransfer(kMaster, CodeTarget::Packet).bytes;
    EXPECT_EQ(received.size(), 1613u * 62);
    EXPECT_NE(received[62], code[62]);
    received.resize(code.size());
    EXPECT_EQ(UnscrambleFpgaCode(received), code);
}

TEST_F(CodeTransfer, SecondAreaAndOnePacketTransfersAreKeptApart) {
    const auto small = RandomImage(62, 1);
    ASSERT_TRUE(Send(0x02008000, small, false));
    EXPECT_EQ(sent().back()[1], 0x2E | 0xC0);  // one packet is both first and last
    const auto t = firmware().completedTransfer(kMaster, CodeTarget::Packet2);
    EXPECT_EQ(t.bytes, small);
    EXPECT_EQ(firmware().completedTransferCount(kMaster, CodeTarget::Packet), 0);
}

TEST_F(CodeTransfer, PacketsOutOfPlaceAreKeptAndReported) {
    const uint8_t packet[62] = {9};
    ASSERT_TRUE(RegisterWrite(device, 0x02004000, 62, packet, 62));  // no first packet
    ASSERT_TRUE(RegisterWrite(device, 0x02004000 | kFirstPacketFlag, 62, packet, 62));
    ASSERT_TRUE(RegisterWrite(device, 0x02004000 | kLastPacketFlag, 62, packet, 62));
    const auto anomalies = firmware().anomalies();
    ASSERT_EQ(anomalies.size(), 2u);
    EXPECT_EQ(anomalies[0].what, "packet without a first packet");
    EXPECT_EQ(anomalies[1].what, "first packet while a transfer was open");
    EXPECT_EQ(firmware().completedTransfer(kMaster, CodeTarget::Packet).packets, 2);
}

}  // namespace
}  // namespace tavlin::sim
