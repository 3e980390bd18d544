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

// One single-value request as its handler saw it: the side and address for the pane line, the
// byte written or read (0xff after a failed read) and the outcome.
struct OneValue {
    const char* side = "Master";
    uint32_t addr = 0;
    uint8_t value = 0xFF;
    Result result;
};

Result RefusedOneByte(uint32_t addr, uint32_t count) {
    char text[80];
    std::snprintf(text, sizeof text, "address 0x%08x with count %u is not a one-byte register",
                  addr, count);
    return Result::Fail(ResultCode::BadInput, text);
}

OneValue WriteOne(CommandContext& c) {
    const auto block = c.Block<RegWriteBlock>();
    if (!block) {
        return {"Master", 0, 0, ShortBlock()};
    }
    OneValue v{SensorName(block->addr), block->addr, static_cast<uint8_t>(block->data & 0xFF), {}};
    v.result = IsOneByteRequest(block->addr, block->count)
                   ? RegisterWrite(c.device, block->addr, 1, &v.value, 1)
                   : RefusedOneByte(block->addr, block->count);
    return v;
}

OneValue ReadOne(CommandContext& c) {
    const auto block = c.Block<RegReadBlock>();
    if (!block) {
        return {"Master", 0, 0xFF, ShortBlock()};
    }
    OneValue v{SensorName(block->addr), block->addr, 0xFF, {}};
    v.result = IsOneByteRequest(block->addr, block->count)
                   ? RegisterRead(c.device, block->addr, 1, &v.value, 1)
                   : RefusedOneByte(block->addr, block->count);
    if (!v.result) {
        v.value = 0xFF;
    }
    return v;
}

OneValue SingleReadOne(CommandContext& c) {
    const auto block = c.Block<SingleReadBlock>();
    if (!block) {
        return {"Master", 0, 0xFF, ShortBlock()};
    }
    OneValue v{SensorName(block->addr), block->addr, 0xFF, {}};
    v.result = SingleRegisterRead(c.device, block->addr, &v.value);
    if (!v.result) {
        v.value = 0xFF;
    }
    return v;
}

// The pane line of one request: "<side>: <name> Addr: 0x....  value: 0x..", or "<side>: <name>
// error". FPGA addresses show 16 bits, sensor registers 8.
void PaneLine(CommandContext& c, const char* name, const OneValue& v, uint32_t addrMask) {
    if (v.result) {
        c.Pane("%s: %s Addr: 0x%04x  value: 0x%02x\n", v.side, name, v.addr & addrMask, v.value);
    } else {
        c.Pane("%s: %s error\n", v.side, name);
    }
    c.result = v.result;
}

// A script waits for the read on g_RegAccessDoneEvent; the panel does not wait and shows the
// value in its Value box instead. The request itself says whose it is: the script's mark on
// g_ScriptRequestEvent is shared, and a panel read posted while it stands must not take it.
void FinishValueRead(CommandContext& c, uint8_t value) {
    if (c.message.meaning.forScript) {
        c.state.g_ScriptRequestEvent.Wait(0);  // taken, as the script expects
        c.Signal(c.state.g_RegAccessDoneEvent);
        return;
    }
    char text[8];
    std::snprintf(text, sizeof text, "0x%02x", value);
    c.host.SetReadValueText(text);
}

}  // namespace

void ServePortWrite(CommandContext& c) {
    PaneLine(c, "FPGAPortWrite", WriteOne(c), 0xFFFF);
    c.Signal(c.state.g_RegAccessDoneEvent);
}

void ServeI2cWrite(CommandContext& c) {
    PaneLine(c, "I2CWrite", WriteOne(c), 0xFF);
    c.Signal(c.state.g_RegAccessDoneEvent);
}

void ServePortRead(CommandContext& c) {
    PaneLine(c, "FPGAPortRead", ReadOne(c), 0xFFFF);
    c.Signal(c.state.g_RegAccessDoneEvent);
}

void ServeSingleRead(CommandContext& c) {
    const OneValue v = SingleReadOne(c);
    PaneLine(c, "FPGASingleRead", v, 0xFFFF);
    FinishValueRead(c, v.value);
}

void ServeI2cRead(CommandContext& c) {
    const OneValue v = ReadOne(c);
    PaneLine(c, "I2C_Read", v, 0xFF);
    FinishValueRead(c, v.value);
}

}  // namespace tavlin::command
