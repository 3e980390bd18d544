#include "device/DeviceProtocol.h"

#include <algorithm>
#include <cstring>

namespace tavlin {
namespace {

uint8_t SensorCode(uint8_t masterCode, bool slave) {
    return slave ? static_cast<uint8_t>(masterCode + cmd::kSlaveOffset) : masterCode;
}

// An operation refused before anything is sent: the caller's request cannot be carried out.
Result Refuse(const char* why) {
    return Result::Fail(ResultCode::BadInput, why);
}

void Fill(uint8_t* out, size_t size) {
    if (out != nullptr && size > 0) {
        std::memset(out, 0xFF, size);
    }
}

Result ReadFpgaBlock(HidDevice& device, uint32_t addr, int32_t count, uint8_t* out) {
    const uint8_t code = SensorCode(cmd::kFpgaRead, IsSlave(addr));
    for (int32_t offset = 0; offset < count; offset += kMaxReadChunk) {
        const auto chunk = static_cast<uint8_t>(std::min(kMaxReadChunk, count - offset));
        const uint8_t payload[4] = {AddrLow(addr), AddrHigh(addr), chunk, 0x00};
        if (Result r = HidCommand(device, code, payload, sizeof payload, out + offset, chunk); !r) {
            Fill(out, static_cast<size_t>(count));
            return r;
        }
    }
    return Result::Ok();
}

Result WriteFpgaBlock(HidDevice& device, uint32_t addr, int32_t count, const uint8_t* data) {
    const uint8_t code = SensorCode(cmd::kFpgaWrite, IsSlave(addr));
    for (int32_t offset = 0; offset < count; offset += kMaxWriteChunk) {
        const auto chunk = static_cast<uint8_t>(std::min(kMaxWriteChunk, count - offset));
        uint8_t payload[3 + kMaxWriteChunk] = {AddrLow(addr), AddrHigh(addr), chunk};
        std::memcpy(payload + 3, data + offset, chunk);
        if (Result r =
                HidCommand(device, code, payload, static_cast<uint8_t>(3 + chunk), nullptr, 0);
            !r) {
            return r;
        }
    }
    return Result::Ok();
}

// The command and reply length of a kind-2 read; false for an area that has none.
bool AreaReadCommand(uint32_t addr, uint8_t* code, uint8_t* replyLength) {
    if (IsBothSensors(addr)) {
        *code = cmd::kImageVersionReadBoth;
        *replyLength = 8;
        return true;
    }
    switch (AreaOf(addr)) {
        case kAreaImageVersion:
            *code = IsSlave(addr) ? cmd::kImageVersionReadSlave : cmd::kImageVersionReadMaster;
            *replyLength = 4;
            return true;
        case kAreaVersionInfo:
            *code = IsSlave(addr) ? cmd::kVersionInfoReadSlave : cmd::kVersionInfoReadMaster;
            *replyLength = static_cast<uint8_t>(kVersionInfoSize);
            return true;
        default:
            return false;
    }
}

Result AreaWrite(HidDevice& device, uint32_t addr, int32_t count, const uint8_t* data,
                 size_t dataSize) {
    const bool slave = IsSlave(addr);
    const uint32_t area = AreaOf(addr);
    if (area == kAreaImageVersion || area == kAreaVersionInfo) {
        // The data begins with the three area bytes and n, then the n bytes.
        if (count < 0 || count > kMaxAreaData || dataSize < static_cast<size_t>(count) + 4) {
            return Refuse("does not fit the request");
        }
        const uint8_t code =
            area == kAreaImageVersion
                ? (slave ? cmd::kImageVersionWriteSlave : cmd::kImageVersionWriteMaster)
                : (slave ? cmd::kVersionInfoWriteSlave : cmd::kVersionInfoWriteMaster);
        return HidCommand(device, code, data, static_cast<uint8_t>(count + 4), nullptr, 0);
    }
    const uint8_t flags = AddrLow(addr) & (kFirstPacketFlag | kLastPacketFlag);
    const uint32_t target = area & ~static_cast<uint32_t>(kFirstPacketFlag | kLastPacketFlag);
    uint8_t code = 0;
    if (target == kAreaCodePacket) {
        code = slave ? cmd::kCodePacketSlave : cmd::kCodePacketMaster;
    } else if (target == kAreaCodePacket2) {
        code = slave ? cmd::kCodePacket2Slave : cmd::kCodePacket2Master;
    } else {
        return Refuse("no such area");
    }
    if (count < 0 || count > kMaxCodePacket || dataSize < static_cast<size_t>(count)) {
        return Refuse("does not fit the request");
    }
    return HidCommand(device, static_cast<uint8_t>(code + flags), data, static_cast<uint8_t>(count),
                      nullptr, 0);
}

}  // namespace

Result RegisterRead(HidDevice& device, uint32_t addr, int32_t count, uint8_t* out, size_t outSize) {
    const bool slave = IsSlave(addr);
    switch (KindOf(addr)) {
        case AddressKind::Fpga:
            if (count == 1) {
                if (outSize < 1) {
                    return Refuse("does not fit the request");
                }
                const uint8_t payload[4] = {AddrLow(addr), AddrHigh(addr), 1, 0x00};
                return HidCommand(device, SensorCode(cmd::kFpgaRead, slave), payload, 4, out, 1);
            }
            if (count <= 0) {
                return Result::Ok();
            }
            if (static_cast<size_t>(count) > outSize) {
                Fill(out, outSize);
                return Refuse("does not fit the request");
            }
            return ReadFpgaBlock(device, addr, count, out);
        case AddressKind::Sensor: {
            if (outSize < 1) {
                return Refuse("does not fit the request");
            }
            const uint8_t payload[1] = {AddrLow(addr)};
            return HidCommand(device, SensorCode(cmd::kI2cRead, slave), payload, 1, out, 1);
        }
        case AddressKind::Area: {
            uint8_t code = 0;
            uint8_t replyLength = 0;
            if (!AreaReadCommand(addr, &code, &replyLength) || outSize < replyLength) {
                Fill(out, std::min<size_t>(outSize, replyLength == 0 ? outSize : replyLength));
                return Refuse("does not fit the request");
            }
            const uint8_t payload[3] = {AddrLow(addr), AddrHigh(addr), AddrTop(addr)};
            return HidCommand(device, code, payload, 3, out, replyLength);
        }
        case AddressKind::Invalid:
            break;
    }
    Fill(out, std::min<size_t>(outSize, count > 0 ? static_cast<size_t>(count) : 0));
    return Refuse("does not fit the request");
}

Result RegisterWrite(HidDevice& device, uint32_t addr, int32_t count, const uint8_t* data,
                     size_t dataSize) {
    const bool slave = IsSlave(addr);
    switch (KindOf(addr)) {
        case AddressKind::Fpga:
            if (count == 1) {
                if (dataSize < 1) {
                    return Refuse("does not fit the request");
                }
                const uint8_t payload[4] = {AddrLow(addr), AddrHigh(addr), 1, data[0]};
                return HidCommand(device, SensorCode(cmd::kFpgaWrite, slave), payload, 4, nullptr,
                                  0);
            }
            if (count <= 0) {
                return Result::Ok();
            }
            if (static_cast<size_t>(count) > dataSize) {
                return Refuse("does not fit the request");
            }
            return WriteFpgaBlock(device, addr, count, data);
        case AddressKind::Sensor: {
            if (dataSize < 1) {
                return Refuse("does not fit the request");
            }
            const uint8_t payload[2] = {AddrLow(addr), data[0]};
            return HidCommand(device, SensorCode(cmd::kI2cWrite, slave), payload, 2, nullptr, 0);
        }
        case AddressKind::Area:
            return AreaWrite(device, addr, count, data, dataSize);
        case AddressKind::Invalid:
            break;
    }
    return Refuse("does not fit the request");
}

Result SingleRegisterRead(HidDevice& device, uint32_t addr, uint8_t* out) {
    const uint8_t payload[4] = {AddrLow(addr), AddrHigh(addr), 0x00, 0x00};
    return HidCommand(device, SensorCode(cmd::kFpgaSingleRead, IsSlave(addr)), payload, 4, out, 1);
}

Result PreviewRead(HidDevice& device, uint16_t address, uint8_t mode, uint8_t count, int sensor,
                   uint8_t* out) {
    if (count > kMaxReadChunk) {
        Fill(out, count);
        return Refuse("does not fit the request");
    }
    const uint8_t flags = mode == 1   ? cmd::kPreviewMode1Flag
                          : mode == 2 ? cmd::kPreviewMode2Flag
                                      : 0;
    const uint8_t code =
        static_cast<uint8_t>(flags + (sensor == kSlave ? cmd::kPreviewSlave : cmd::kPreviewMaster));
    const uint8_t payload[3] = {static_cast<uint8_t>(address & 0xFF),
                                static_cast<uint8_t>(address >> 8), count};
    return HidCommand(device, code, payload, 3, out, count);
}

Result StartLineSearch(HidDevice& device, int sensor, uint16_t low, uint16_t high, int* startLine) {
    const uint8_t payload[4] = {static_cast<uint8_t>(low & 0xFF), static_cast<uint8_t>(low >> 8),
                                static_cast<uint8_t>(high & 0xFF), static_cast<uint8_t>(high >> 8)};
    uint8_t reply[2];
    const Result ok = HidCommand(device, SensorCode(cmd::kStartLineSearch, sensor == kSlave),
                                 payload, 4, reply, 2);
    *startLine = reply[0] | (reply[1] << 8);  // 0xFFFF after a failure
    return ok;
}

Result StartLineConfig(HidDevice& device, int sensor, uint16_t startLine) {
    const uint8_t payload[2] = {static_cast<uint8_t>(startLine & 0xFF),
                                static_cast<uint8_t>(startLine >> 8)};
    return HidCommand(device, SensorCode(cmd::kStartLineConfig, sensor == kSlave), payload, 2,
                      nullptr, 0);
}

Result ColumnSearch(HidDevice& device, int sensor, int* firstColumn, int* secondColumn) {
    uint8_t reply[4];
    const Result ok =
        HidCommand(device, SensorCode(cmd::kColumnSearch, sensor == kSlave), nullptr, 0, reply, 4);
    *firstColumn = reply[0] | (reply[1] << 8);
    *secondColumn = reply[2] | (reply[3] << 8);
    return ok;
}

Result LineOptimize(HidDevice& device, int sensor, LineRecord* records) {
    std::memset(records, 0, sizeof(LineRecord) * kLineRecords);
    uint8_t d[12];
    Result ok =
        HidCommand(device, SensorCode(cmd::kLineOptimize, sensor == kSlave), nullptr, 0, d, 12);
    if (ok && d[0] != 0x22) {
        ok = Result::Fail(ResultCode::Refused, "line optimisation found no line");
    }
    if (!ok) {
        std::memset(records, 0xFF, sizeof(LineRecord) * kLineRecords);
        return ok;
    }
    for (int i = 0; i < kLineRecords; ++i) {
        records[i].position = i < 7 ? static_cast<uint16_t>(d[1 + i] * 10) : 639;
        const uint8_t packed = d[8 + i / 2];
        records[i].level = static_cast<uint16_t>((i % 2 == 0 ? packed : packed >> 4) & 7);
    }
    return Result::Ok();
}

Result ExposureAdjust(HidDevice& device, int sensor, uint8_t* exposure, int* firstColumn,
                      int* secondColumn) {
    uint8_t d[6];
    if (Result r = HidCommand(device, sensor == kSlave ? cmd::kExposureSlave : cmd::kExposureMaster,
                              nullptr, 0, d, 6);
        !r) {
        exposure[0] = exposure[1] = 0xFF;
        return r;
    }
    exposure[0] = d[1];
    exposure[1] = d[0];
    *firstColumn = d[2] | (d[3] << 8);
    *secondColumn = d[4] | (d[5] << 8);
    return Result::Ok();
}

Result CalibrationInit(HidDevice& device) {
    return HidCommand(device, cmd::kCalInit, nullptr, 0, nullptr, 0);
}

int CalibrationPoint(HidDevice& device, const uint8_t* payload6) {
    uint8_t d[16];
    if (!HidCommand(device, cmd::kCalPoint, payload6, 6, d, 16)) {
        return 3;
    }
    switch (d[1]) {
        case 1:
            return d[4] == 0 ? 1 : 2;
        case 2:
            return d[6] == 0 ? 1 : 2;
        case 0:
            return d[4] == 0 ? 0 : 1;
        default:
            return 3;
    }
}

Result CalibrationParam(HidDevice& device, uint16_t a, uint16_t b) {
    const uint8_t payload[4] = {static_cast<uint8_t>(a & 0xFF), static_cast<uint8_t>(a >> 8),
                                static_cast<uint8_t>(b & 0xFF), static_cast<uint8_t>(b >> 8)};
    return HidCommand(device, cmd::kCalParam, payload, 4, nullptr, 0);
}

Result ModeSwitch(HidDevice& device, uint8_t mode) {
    return HidCommand(device, cmd::kModeSwitch, &mode, 1, nullptr, 0);
}

Result UpdateControl(HidDevice& device, uint8_t code) {
    return HidCommand(device, cmd::kUpdateControl, &code, 1, nullptr, 0);
}

}  // namespace tavlin
