#include "sim/SimFirmware.h"

#include <cstring>

#include "device/DeviceProtocol.h"
#include "sim/ReplyBuilder.h"

namespace tavlin::sim {

namespace c = tavlin::cmd;

SimFirmware::SimFirmware() {
    // The Slave's module sits ten rows lower than the Master's.
    SceneSettings slave;
    slave.lightRow = 253;
    slave.seed = 2;
    sensors_[kSlave].scene = OpticalScene(slave);
    sensors_[kMaster].imageVersion = 0x00010203;
    sensors_[kSlave].imageVersion = 0x00010204;
}

std::optional<Report> SimFirmware::Handle(const uint8_t* outReport64) {
    return Process(outReport64).reply;
}

FirmwareOutcome SimFirmware::Process(const uint8_t* out) {
    std::lock_guard lock(mutex_);
    FirmwareOutcome outcome;
    if (out[0] != kReportId) {
        Note(out[1], "report id is not 0x03");
        return outcome;  // not a report of ours: nothing answers it
    }
    outcome.reply = Dispatch(out[1], out + 2, &outcome);
    return outcome;
}

void SimFirmware::Note(uint8_t command, std::string what) {
    // A host stuck in a loop of bad requests must not grow the list without end.
    if (anomalies_.size() < kAnomalyLimit) {
        anomalies_.push_back({command, std::move(what)});
    }
}

Report SimFirmware::Refuse(uint8_t command, std::string what) {
    Note(command, std::move(what));
    return ReplyBuilder(command).Status(kStatusRefused).report();
}

Report SimFirmware::Dispatch(uint8_t command, const uint8_t* p, FirmwareOutcome* outcome) {
    const uint8_t flags = command & (kFirstPacketFlag | kLastPacketFlag);
    const uint8_t base = command & 0x3F;
    if (flags != 0 || base == c::kCodePacketMaster || base == c::kCodePacketSlave ||
        base == c::kCodePacket2Master || base == c::kCodePacket2Slave) {
        if (base == c::kPreviewMaster || base == c::kPreviewSlave) {
            return Preview(command, p);
        }
        if (base == c::kCodePacketMaster || base == c::kCodePacketSlave ||
            base == c::kCodePacket2Master || base == c::kCodePacket2Slave) {
            return CodePacket(command, p, &outcome->flashChanged);
        }
        return Refuse(command, "unknown command");
    }
    switch (command) {
        case c::kFpgaWrite:
        case c::kFpgaWrite + c::kSlaveOffset:
        case c::kFpgaRead:
        case c::kFpgaRead + c::kSlaveOffset:
        case c::kFpgaSingleRead:
        case c::kFpgaSingleRead + c::kSlaveOffset:
        case c::kI2cWrite:
        case c::kI2cWrite + c::kSlaveOffset:
        case c::kI2cRead:
        case c::kI2cRead + c::kSlaveOffset:
            return Registers(command, p);
        case c::kStartLineSearch:
        case c::kStartLineSearch + c::kSlaveOffset:
        case c::kStartLineConfig:
        case c::kStartLineConfig + c::kSlaveOffset:
        case c::kColumnSearch:
        case c::kColumnSearch + c::kSlaveOffset:
        case c::kLineOptimize:
        case c::kLineOptimize + c::kSlaveOffset:
        case c::kExposureMaster:
        case c::kExposureSlave:
            return Leveling(command, p);
        case c::kImageVersionReadMaster:
        case c::kImageVersionReadSlave:
        case c::kImageVersionReadBoth:
        case c::kImageVersionWriteSlave:
        case c::kVersionInfoReadMaster:
        case c::kVersionInfoReadSlave:
        case c::kVersionInfoWriteMaster:
        case c::kVersionInfoWriteSlave:
            return Areas(command, p, &outcome->flashChanged);
        case c::kCalInit:
        case c::kCalPoint:
        case c::kCalParam:
            return Calibration(command, p);
        case c::kModeSwitch:
            if (p[0] != 0x22 && p[0] != 0xFF && p[0] != 0xEE) {
                return Refuse(command, "unknown mode byte");
            }
            mode_ = p[0];
            outcome->flashChanged = true;
            return ReplyBuilder(command).report();
        case c::kUpdateControl:
            if (p[0] != 0x42 && p[0] != 0x55) {
                return Refuse(command, "unknown update control code");
            }
            outcome->reenumerateAs = p[0] == 0x42 ? kProductIdUpdate : kProductIdWork;
            bootProductId_ = *outcome->reenumerateAs;
            outcome->flashChanged = true;
            return ReplyBuilder(command).report();
        default:
            return Refuse(command, "unknown command");
    }
}

Report SimFirmware::Registers(uint8_t command, const uint8_t* p) {
    const bool slave = command >= c::kFpgaWrite + c::kSlaveOffset;
    Sensor& s = sensors_[slave ? kSlave : kMaster];
    const uint8_t base = slave ? static_cast<uint8_t>(command - c::kSlaveOffset) : command;
    const auto addr = static_cast<uint16_t>(p[0] | (p[1] << 8));
    const uint8_t n = p[2];
    ReplyBuilder reply(command);
    switch (base) {
        case c::kFpgaWrite:
            if (n == 0 || n > kMaxWriteChunk) {
                return Refuse(command, "FPGA write length out of 1..59");
            }
            s.fpga.Write(addr, p + 3, n);
            break;
        case c::kFpgaRead: {
            if (n == 0 || n > kMaxReadChunk) {
                return Refuse(command, "FPGA read length out of 1..61");
            }
            uint8_t data[kMaxReadChunk];
            s.fpga.Read(addr, data, n);
            reply.Data(data, n);
            break;
        }
        case c::kFpgaSingleRead:
            reply.Byte(s.fpga.Latched(addr));
            break;
        case c::kI2cWrite:
            s.i2c[p[0]] = p[1];
            break;
        case c::kI2cRead:
            reply.Byte(s.i2c[p[0]]);
            break;
        default:
            break;
    }
    return reply.report();
}

Report SimFirmware::Leveling(uint8_t command, const uint8_t* p) {
    const bool slave =
        command == c::kExposureSlave ||
        (command != c::kExposureMaster && command >= c::kStartLineSearch + c::kSlaveOffset);
    OpticalScene& scene = sensors_[slave ? kSlave : kMaster].scene;
    uint8_t base = slave ? static_cast<uint8_t>(command - c::kSlaveOffset) : command;
    if (command == c::kExposureMaster || command == c::kExposureSlave) {
        base = c::kExposureMaster;
    }
    ReplyBuilder reply(command);
    switch (base) {
        case c::kStartLineSearch:
            if ((p[0] | (p[1] << 8)) > (p[2] | (p[3] << 8))) {
                Note(command, "start line search range is reversed");
            }
            reply.U16(scene.SearchStartLine());
            break;
        case c::kStartLineConfig:
            if (!scene.ConfigureStartLine(static_cast<uint16_t>(p[0] | (p[1] << 8)))) {
                return Refuse(command, "start line out of 1..640");
            }
            break;
        case c::kColumnSearch:
            if (!scene.BandInWindow()) {
                return ReplyBuilder(command).Status(kStatusRefused).report();  // nothing lit
            }
            reply.U16(scene.settings().firstColumn).U16(scene.settings().lastColumn);
            break;
        case c::kLineOptimize: {
            const auto d = scene.StitchLine();
            reply.Data(d.data(), d.size());
            break;
        }
        case c::kExposureMaster: {
            if (!scene.BandInWindow()) {
                return ReplyBuilder(command).Status(kStatusRefused).report();
            }
            const SceneSettings& s = scene.settings();
            // Settling the exposure trims the dim ends of the lit region a little.
            reply.Byte(s.exposureSecond).Byte(s.exposureFirst);
            reply.U16(static_cast<uint16_t>(s.firstColumn + 2))
                .U16(static_cast<uint16_t>(s.lastColumn - 2));
            break;
        }
        default:
            break;
    }
    return reply.report();
}

Report SimFirmware::Calibration(uint8_t command, const uint8_t* p) {
    ReplyBuilder reply(command);
    if (command == c::kCalInit) {
        calibrationInitialised_ = true;
        stylus_.Reset();
    } else if (command == c::kCalParam) {
        screenA_ = static_cast<uint16_t>(p[0] | (p[1] << 8));
        screenB_ = static_cast<uint16_t>(p[2] | (p[3] << 8));
    } else {
        const TouchRequest request{p[0], p[1], static_cast<uint16_t>(p[2] | (p[3] << 8)),
                                   static_cast<uint16_t>(p[4] | (p[5] << 8))};
        const auto d = stylus_.Sample(request);
        reply.Data(d.data(), d.size());
    }
    return reply.report();
}

}  // namespace tavlin::sim
