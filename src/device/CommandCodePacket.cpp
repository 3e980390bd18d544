// Code packets of the image update and of the FPGA code download.
#include "device/CommandContext.h"
#include "device/DeviceProtocol.h"

namespace tavlin::command {

void ServeCodePacket(CommandContext& c, bool secondArea) {
    SharedState& s = c.state;
    uint32_t addr = 0x02000000u | (secondArea ? kAreaCodePacket2 : kAreaCodePacket);
    // The sensor and the packet's place are the sender's: the version button or the leveling
    // window may select the other sensor before this packet is served.
    if (c.message.meaning.sensor != 0) {
        addr |= kSlaveBit;
    }
    const uint8_t transfer = c.message.meaning.transferPhase;
    if (transfer == 1) {
        addr |= kFirstPacketFlag;
    } else if (transfer == 3) {
        addr |= kLastPacketFlag;
    }
    // The length comes from lParam; the protocol refuses one longer than the bytes posted.
    const auto length = static_cast<int32_t>(c.message.lParam & 0xFF);
    const Result r =
        RegisterWrite(c.device, addr, length, c.message.block.data(), c.message.block.size());
    // The sender moves its own transfer on from the first packet once it sees it taken: a
    // write here could land after the sender gave up on this packet.
    if (!r) {
        c.Pane("CMD_FPGA_CODE_Process Failed!\n");
    }
    // Both areas report their outcome: the image update must not go on over a refused packet.
    c.Finish(r, s.g_CodePacketEvent, [&] { s.g_CodePacketSuc = r ? 1 : 0; });
}

}  // namespace tavlin::command
