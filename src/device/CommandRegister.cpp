// The single-value register requests of the Step Debug panel and the script runner.
#include <cstdio>

#include "device/CommandContext.h"
#include "device/CommandThread.h"
#include "device/DeviceProtocol.h"

namespace tavlin::command {
namespace {

// These requests carry one data byte and read into one byte. A count other than 1, or an
// address whose transfer is not one byte (a device area, the invalid kind), would read or
// write past that byte, so such a request is refused before anything is sent. It is then
// reported like a failed transfer: the pane's error line and the usual event, so a waiting
// script is told at once instead of running into its time limit.
bool IsOneByteRequest(uint32_t addr, uint32_t count) {
    const AddressKind kind = KindOf(addr);
    return count == 1 && (kind == AddressKind::Fpga || kind == AddressKind::Sensor);
}

struct WriteResult {
    const char* side;
    uint32_t addr;
    uint8_t value;
    bool ok;
};

WriteResult WriteOne(CommandContext& c) {
    const auto block = c.Block<RegWriteBlock>();
    if (!block) {
        return {"Master", 0, 0, false};
    }
    const auto value = static_cast<uint8_t>(block->data & 0xFF);
    const bool ok = IsOneByteRequest(block->addr, block->count) &&
                    RegisterWrite(c.device, block->addr, 1, &value, 1);
    return {SensorName(block->addr), block->addr, value, ok};
}

struct ReadResult {
    const char* side;
    uint32_t addr;
    uint8_t value;  // 0xff after a failure
    bool ok;
};

ReadResult ReadOne(CommandContext& c) {
    const auto block = c.Block<RegReadBlock>();
    uint8_t value = 0xFF;
    if (!block) {
        return {"Master", 0, value, false};
    }
    const bool ok = IsOneByteRequest(block->addr, block->count) &&
                    RegisterRead(c.device, block->addr, 1, &value, 1);
    return {SensorName(block->addr), block->addr, ok ? value : uint8_t{0xFF}, ok};
}

// A script waits for the read on g_RegAccessDoneEvent; the panel does not wait and shows the
// value in its Value box instead. The script marks its requests on g_ScriptRequestEvent.
void FinishValueRead(CommandContext& c, uint8_t value) {
    if (c.state.g_ScriptRequestEvent.Wait(0) == WAIT_OBJECT_0) {
        c.Signal(c.state.g_RegAccessDoneEvent);
        return;
    }
    char text[8];
    std::snprintf(text, sizeof text, "0x%02x", value);
    c.host.SetReadValueText(text);
}

}  // namespace

void ServePortWrite(CommandContext& c) {
    const WriteResult r = WriteOne(c);
    if (r.ok) {
        c.Pane("%s: FPGAPortWrite Addr: 0x%04x  value: 0x%02x\n", r.side, r.addr & 0xFFFF, r.value);
    } else {
        c.Pane("%s: FPGAPortWrite error\n", r.side);
    }
    c.Signal(c.state.g_RegAccessDoneEvent);
}

void ServeI2cWrite(CommandContext& c) {
    const WriteResult r = WriteOne(c);
    if (r.ok) {
        c.Pane("%s: I2CWrite Addr: 0x%04x  value: 0x%02x\n", r.side, r.addr & 0xFF, r.value);
    } else {
        c.Pane("%s: I2CWrite error\n", r.side);
    }
    c.Signal(c.state.g_RegAccessDoneEvent);
}

void ServePortRead(CommandContext& c) {
    const ReadResult r = ReadOne(c);
    if (r.ok) {
        c.Pane("%s: FPGAPortRead Addr: 0x%04x  value: 0x%02x\n", r.side, r.addr & 0xFFFF, r.value);
    } else {
        c.Pane("%s: FPGAPortRead error\n", r.side);
    }
    c.Signal(c.state.g_RegAccessDoneEvent);
}

void ServeSingleRead(CommandContext& c) {
    const auto block = c.Block<SingleReadBlock>();
    uint8_t value = 0xFF;
    const bool ok = block && SingleRegisterRead(c.device, block->addr, &value);
    const char* side = block ? SensorName(block->addr) : "Master";
    if (ok) {
        c.Pane("%s: FPGASingleRead Addr: 0x%04x  value: 0x%02x\n", side, block->addr & 0xFFFF,
               value);
    } else {
        value = 0xFF;
        c.Pane("%s: FPGASingleRead error\n", side);
    }
    FinishValueRead(c, value);
}

void ServeI2cRead(CommandContext& c) {
    const ReadResult r = ReadOne(c);
    if (r.ok) {
        c.Pane("%s: I2C_Read Addr: 0x%04x  value: 0x%02x\n", r.side, r.addr & 0xFF, r.value);
    } else {
        c.Pane("%s: I2C_Read error\n", r.side);
    }
    FinishValueRead(c, r.value);
}

}  // namespace tavlin::command
