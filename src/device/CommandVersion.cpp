// Mode switch, update control, image versions and version information records.
#include "device/CommandContext.h"
#include "device/DeviceProtocol.h"

namespace tavlin::command {
namespace {

uint32_t LittleEndian32(const uint8_t* b) {
    return b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<uint32_t>(b[3]) << 24);
}

// The area address of the block with the selected sensor: the poster's top bits are replaced,
// so a stray bit cannot turn the request into the both-sensors read.
uint32_t SelectedArea(const SharedState& s, uint32_t addr) {
    return (addr & 0x0FFFFFFFu) | (s.g_SensorSel != 0 ? kSlaveBit : 0u);
}

bool IsArea(uint32_t addr, uint32_t area) {
    return KindOf(addr) == AddressKind::Area && AreaOf(addr) == area;
}

}  // namespace

void ServeSwitchMode(CommandContext& c) {
    SharedState& s = c.state;
    const auto mode = c.Block<uint8_t>();
    s.g_isWorkSwitchSuc = mode && ModeSwitch(c.device, *mode) ? 1 : 0;
    c.Signal(s.g_WorkSwitchEvent);
}

void ServeUpdateControl(CommandContext& c) {
    SharedState& s = c.state;
    const auto code = c.Block<uint8_t>();
    s.g_UpdateCtrlSuc = code && UpdateControl(c.device, *code) ? 1 : 0;
    c.Signal(s.g_UpdateCtrlEvent);
}

// Only the image version area has a 4-byte (8 for both sensors) version to give; any other
// address would put a register or a part of another record into the version values.
void ServeReadImageVersion(CommandContext& c) {
    SharedState& s = c.state;
    const auto block = c.Block<RegReadBlock>();
    const bool both = s.g_SensorSel == 3;
    uint8_t bytes[8];
    std::memset(bytes, 0xFF, sizeof bytes);
    bool ok = false;
    if (block && IsArea(block->addr, kAreaImageVersion)) {
        uint32_t addr = SelectedArea(s, block->addr);
        if (both) {
            addr = (addr & 0x0FFFFFFFu) | 0x30000000u;
        }
        const int32_t length = both ? 8 : 4;
        ok = RegisterRead(c.device, addr, length, bytes, static_cast<size_t>(length));
    }
    if (both) {
        s.g_ImageVersionS = LittleEndian32(bytes);
        s.g_ImageVersionM = LittleEndian32(bytes + 4);
    } else if (s.g_SensorSel != 0) {
        s.g_ImageVersionS = LittleEndian32(bytes);
    } else {
        s.g_ImageVersionM = LittleEndian32(bytes);
    }
    s.g_ReadImageVersionSuc = ok ? 1 : 0;
    c.Signal(s.g_ReadImageVersionEvent);
}

// The block is the exchange's payload as it stands (area bytes, n, n bytes). Its area must be
// the one of the request: any other would send the block to a code packet target.
void ServeAreaWrite(CommandContext& c, uint32_t area, Event& done) {
    SharedState& s = c.state;
    const std::vector<uint8_t>& block = c.message.block;
    bool ok = false;
    if (block.size() >= 4) {
        const uint32_t target =
            0x02000000u | (uint32_t{block[2]} << 16) | (uint32_t{block[1]} << 8) | block[0];
        ok = IsArea(target, area) &&
             RegisterWrite(c.device, SelectedArea(s, target), block[3], block.data(), block.size());
    }
    s.g_ReadImageVersionSuc = ok ? 1 : 0;
    c.Signal(done);
}

void ServeReadVersionInfo(CommandContext& c) {
    SharedState& s = c.state;
    const auto block = c.Block<VersionInfoReadBlock>();
    std::array<uint8_t, kVersionInfoSize> record;
    const bool ok = block && IsArea(block->addr, kAreaVersionInfo) &&
                    RegisterRead(c.device, SelectedArea(s, block->addr),
                                 static_cast<int32_t>(record.size()), record.data(), record.size());
    if (ok) {
        (s.g_SensorSel != 0 ? s.g_VersionInfoS : s.g_VersionInfoM) = record;
    }
    s.g_ReadImageVersionSuc = ok ? 1 : 0;
    c.Signal(s.g_ReadVersionInfoEvent);
}

}  // namespace tavlin::command
