// Code packets of the image update and of the FPGA code download.
#include "device/CommandContext.h"
#include "device/DeviceProtocol.h"

namespace tavlin::command {

void ServeCodePacket(CommandContext& c, bool secondArea) {
    SharedState& s = c.state;
    uint32_t addr = 0x02000000u | (secondArea ? kAreaCodePacket2 : kAreaCodePacket);
    if (s.g_SensorSel != 0) {
        addr |= kSlaveBit;
    }
    const uint8_t transfer = s.g_ImageTransferState;
    if (transfer == 1) {
        addr |= kFirstPacketFlag;
    } else if (transfer == 3) {
        addr |= kLastPacketFlag;
    }
    // The length comes from lParam; the protocol refuses one longer than the bytes posted.
    const auto length = static_cast<int32_t>(c.message.lParam & 0xFF);
    const Result r =
        RegisterWrite(c.device, addr, length, c.message.block.data(), c.message.block.size());
    if (r) {
        uint8_t first = 1;
        s.g_ImageTransferState.compare_exchange_strong(first, 2);
    } else {
        c.Pane("CMD_FPGA_CODE_Process Failed!\n");
    }
    c.Finish(r, s.g_CodePacketEvent, [&] {
        if (!secondArea) {
            s.g_CodePacketSuc = r ? 1 : 0;
        }
    });
}

}  // namespace tavlin::command
