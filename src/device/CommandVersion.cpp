// Mode switch, update control, image versions and version information records.
#include "device/CommandContext.h"
#include "device/DeviceProtocol.h"

namespace tavlin::command {
namespace {

uint32_t LittleEndian32(const uint8_t* b) {
    return b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<uint32_t>(b[3]) << 24);
}

// The area address of the block with the sensor the poster selected: the poster's top bits are
// replaced, so a stray bit cannot turn the request into the both-sensors read.
uint32_t SelectedArea(const CommandContext& c, uint32_t addr) {
    return (addr & 0x0FFFFFFFu) | (c.message.meaning.sensor != 0 ? kSlaveBit : 0u);
}

bool IsArea(uint32_t addr, uint32_t area) {
    return KindOf(addr) == AddressKind::Area && AreaOf(addr) == area;
}

Result NotTheArea(uint32_t addr) {
    return Result::Fail(ResultCode::BadInput,
                        "address " + std::to_string(addr) + " is not the request's area");
}

}  // namespace

void ServeSwitchMode(CommandContext& c) {
    SharedState& s = c.state;
    const auto mode = c.Block<uint8_t>();
    const Result r = mode ? ModeSwitch(c.device, *mode) : ShortBlock();
    c.Finish(r, s.g_WorkSwitchEvent, [&] { s.g_isWorkSwitchSuc = r ? 1 : 0; });
}

void ServeUpdateControl(CommandContext& c) {
    SharedState& s = c.state;
    const auto code = c.Block<uint8_t>();
    const Result r = code ? UpdateControl(c.device, *code) : ShortBlock();
    c.Finish(r, s.g_UpdateCtrlEvent, [&] { s.g_UpdateCtrlSuc = r ? 1 : 0; });
}

// Only the image version area has a 4-byte (8 for both sensors) version to give; any other
// address would put a register or a part of another record into the version values.
void ServeReadImageVersion(CommandContext& c) {
    SharedState& s = c.state;
    const auto block = c.Block<RegReadBlock>();
    const int selection = c.message.meaning.sensor;
    const bool both = selection == 3;
    uint8_t bytes[8];
    std::memset(bytes, 0xFF, sizeof bytes);
    Result r = !block ? ShortBlock() : NotTheArea(block->addr);
    if (block && IsArea(block->addr, kAreaImageVersion)) {
        uint32_t addr = SelectedArea(c, block->addr);
        if (both) {
            addr = (addr & 0x0FFFFFFFu) | 0x30000000u;
        }
        const int32_t length = both ? 8 : 4;
        r = RegisterRead(c.device, addr, length, bytes, static_cast<size_t>(length));
    }
    c.Finish(r, s.g_ReadImageVersionEvent, [&] {
        if (both) {
            s.g_ImageVersionS = LittleEndian32(bytes);
            s.g_ImageVersionM = LittleEndian32(bytes + 4);
        } else if (selection != 0) {
            s.g_ImageVersionS = LittleEndian32(bytes);
        } else {
            s.g_ImageVersionM = LittleEndian32(bytes);
        }
        s.g_ReadImageVersionSuc = r ? 1 : 0;
    });
}

// The block is the exchange's payload as it stands (area bytes, n, n bytes). Its area must be
// the one of the request: any other would send the block to a code packet target.
void ServeAreaWrite(CommandContext& c, uint32_t area, Event& done) {
    SharedState& s = c.state;
    const std::vector<uint8_t>& block = c.message.block;
    Result r = ShortBlock();
    if (block.size() >= 4) {
        const uint32_t target =
            0x02000000u | (uint32_t{block[2]} << 16) | (uint32_t{block[1]} << 8) | block[0];
        r = IsArea(target, area) ? RegisterWrite(c.device, SelectedArea(c, target), block[3],
                                                 block.data(), block.size())
                                 : NotTheArea(target);
    }
    c.Finish(r, done, [&] { s.g_ReadImageVersionSuc = r ? 1 : 0; });
}

void ServeReadVersionInfo(CommandContext& c) {
    SharedState& s = c.state;
    const auto block = c.Block<VersionInfoReadBlock>();
    const bool slave = c.message.meaning.sensor != 0;
    std::array<uint8_t, kVersionInfoSize> record;
    Result r = !block ? ShortBlock() : NotTheArea(block->addr);
    if (block && IsArea(block->addr, kAreaVersionInfo)) {
        r = RegisterRead(c.device, SelectedArea(c, block->addr),
                         static_cast<int32_t>(record.size()), record.data(), record.size());
    }
    c.Finish(r, s.g_ReadVersionInfoEvent, [&] {
        if (r) {
            (slave ? s.g_VersionInfoS : s.g_VersionInfoM) = record;
        }
        s.g_ReadImageVersionSuc = r ? 1 : 0;
    });
}

}  // namespace tavlin::command
