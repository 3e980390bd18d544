// The special areas, code packets and preview of SimFirmware, and its inspection accessors.
#include <cstring>
#include <utility>

#include "device/AddressWord.h"
#include "device/DeviceProtocol.h"
#include "sim/ReplyBuilder.h"
#include "sim/SimFirmware.h"

namespace tavlin::sim {
namespace {

namespace c = tavlin::cmd;

constexpr uint8_t kImageVersionArea[3] = {0x00, 0x30, 0x01};
constexpr uint8_t kVersionInfoArea[3] = {0x00, 0x00, 0x01};
constexpr size_t kWindowAreaSize = OpticalScene::kWindowRows * OpticalScene::kColumns;

bool IsArea(const uint8_t* p, const uint8_t (&area)[3]) {
    return std::memcmp(p, area, 3) == 0;
}

void RecordVersion(SimFlash::State* image) {
    if (*image == SimFlash::State::AwaitingVersion) {
        *image = SimFlash::State::Whole;
    }
}

}  // namespace

Report SimFirmware::Areas(uint8_t command, const uint8_t* p, bool* flashChanged) {
    const bool imageVersion =
        command == c::kImageVersionReadMaster || command == c::kImageVersionReadSlave ||
        command == c::kImageVersionReadBoth || command == c::kImageVersionWriteSlave;
    if (!IsArea(p, imageVersion ? kImageVersionArea : kVersionInfoArea)) {
        return Refuse(command, "area bytes do not name the area of the command");
    }
    ReplyBuilder reply(command);
    const auto version = [&reply](uint32_t v) {
        const uint8_t le[4] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8),
                               static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 24)};
        reply.Data(le, 4);
    };
    const uint8_t n = p[3];
    switch (command) {
        case c::kImageVersionReadMaster:
        case c::kImageVersionReadSlave:
            version(sensors_[command == c::kImageVersionReadSlave].imageVersion);
            break;
        case c::kImageVersionReadBoth:  // also the Master's write: n = 0 is the read of both
            if (n == 0) {
                version(sensors_[kSlave].imageVersion);
                version(sensors_[kMaster].imageVersion);
                break;
            }
            [[fallthrough]];
        case c::kImageVersionWriteSlave: {
            if (n > 4) {
                return Refuse(command, "image version longer than 4 bytes");
            }
            Sensor& sensor = sensors_[command == c::kImageVersionWriteSlave];
            uint32_t& v = sensor.imageVersion;
            for (uint8_t i = 0; i < n; ++i) {
                v = (v & ~(0xFFu << (8 * i))) | (uint32_t(p[4 + i]) << (8 * i));
            }
            // The version record completes the image written before it.
            RecordVersion(&sensor.image[1]);
            *flashChanged = true;
            break;
        }
        case c::kVersionInfoReadMaster:
        case c::kVersionInfoReadSlave: {
            const VersionInfo& info = sensors_[command == c::kVersionInfoReadSlave].versionInfo;
            reply.Data(info.data(), info.size());
            break;
        }
        default: {  // version info writes
            if (n > kVersionInfoSize) {
                return Refuse(command, "version info longer than 38 bytes");
            }
            Sensor& sensor = sensors_[command == c::kVersionInfoWriteSlave];
            std::memcpy(sensor.versionInfo.data(), p + 4, n);
            RecordVersion(&sensor.image[0]);
            *flashChanged = true;
            break;
        }
    }
    return reply.report();
}

Report SimFirmware::CodePacket(uint8_t command, const uint8_t* p, bool* flashChanged) {
    const uint8_t base = command & 0x3F;
    const bool slave = base == c::kCodePacketSlave || base == c::kCodePacket2Slave;
    const bool second = base == c::kCodePacket2Master || base == c::kCodePacket2Slave;
    Sensor& sensor = sensors_[slave ? kSlave : kMaster];
    CodePacketArea& area = sensor.code[second ? 1 : 0];
    // A transfer's first packet erases the image; its last one leaves the bytes in the flash.
    SimFlash::State& state = sensor.image[second ? 1 : 0];
    if ((command & kFirstPacketFlag) != 0 || !area.open()) {
        state = SimFlash::State::Erased;
        *flashChanged = true;
    }
    if ((command & kLastPacketFlag) != 0) {
        state = SimFlash::State::AwaitingVersion;
        *flashChanged = true;
    }
    switch (area.Take(p, kMaxCodePacket, command & kFirstPacketFlag, command & kLastPacketFlag)) {
        case CodePacketArea::Irregularity::FirstWhileOpen:
            Note(command, "first packet while a transfer was open");
            break;
        case CodePacketArea::Irregularity::NoFirst:
            Note(command, "packet without a first packet");
            break;
        case CodePacketArea::Irregularity::None:
            break;
    }
    return ReplyBuilder(command).report();
}

Report SimFirmware::Preview(uint8_t command, const uint8_t* p) {
    const uint8_t flags = command & 0xC0;
    if (flags != c::kPreviewMode1Flag && flags != c::kPreviewMode2Flag) {
        return Refuse(command, "preview read names no area");
    }
    const OpticalScene& scene = sensors_[(command & 1) ? kSlave : kMaster].scene;
    const size_t addr = p[0] | (p[1] << 8);
    const uint8_t n = p[2];
    const size_t areaSize =
        flags == c::kPreviewMode1Flag ? kWindowAreaSize : size_t(OpticalScene::kColumns);
    if (n > kMaxReadChunk || addr + n > areaSize) {
        return Refuse(command, "preview read past its area");
    }
    ReplyBuilder reply(command);
    for (size_t i = addr; i < addr + n; ++i) {
        const int column = static_cast<int>(i % OpticalScene::kColumns);
        reply.Byte(flags == c::kPreviewMode1Flag
                       ? scene.WindowPixel(static_cast<int>(i / OpticalScene::kColumns), column)
                       : scene.LinePixel(column));
    }
    return reply.report();
}

uint8_t SimFirmware::fpgaRegister(int sensor, uint16_t addr) const {
    std::lock_guard lock(mutex_);
    return sensors_.at(sensor).fpga.Latched(addr);
}

void SimFirmware::setFpgaRegister(int sensor, uint16_t addr, uint8_t value) {
    std::lock_guard lock(mutex_);
    sensors_.at(sensor).fpga.SetLatched(addr, value);
}

uint8_t SimFirmware::sensorRegister(int sensor, uint8_t reg) const {
    std::lock_guard lock(mutex_);
    return sensors_.at(sensor).i2c[reg];
}

void SimFirmware::setSensorRegister(int sensor, uint8_t reg, uint8_t value) {
    std::lock_guard lock(mutex_);
    sensors_.at(sensor).i2c[reg] = value;
}

uint8_t SimFirmware::mode() const {
    std::lock_guard lock(mutex_);
    return mode_;
}

uint32_t SimFirmware::imageVersion(int sensor) const {
    std::lock_guard lock(mutex_);
    return sensors_.at(sensor).imageVersion;
}

void SimFirmware::setImageVersion(int sensor, uint32_t version) {
    std::lock_guard lock(mutex_);
    sensors_.at(sensor).imageVersion = version;
}

SimFirmware::VersionInfo SimFirmware::versionInfo(int sensor) const {
    std::lock_guard lock(mutex_);
    return sensors_.at(sensor).versionInfo;
}

CodePacketArea::Transfer SimFirmware::completedTransfer(int sensor, CodeTarget target) const {
    std::lock_guard lock(mutex_);
    return sensors_.at(sensor).code[static_cast<int>(target)].completed();
}

int SimFirmware::completedTransferCount(int sensor, CodeTarget target) const {
    std::lock_guard lock(mutex_);
    return sensors_.at(sensor).code[static_cast<int>(target)].completedCount();
}

SceneSettings SimFirmware::scene(int sensor) const {
    std::lock_guard lock(mutex_);
    return sensors_.at(sensor).scene.settings();
}

void SimFirmware::setScene(int sensor, const SceneSettings& settings) {
    std::lock_guard lock(mutex_);
    sensors_.at(sensor).scene.Configure(settings);
}

uint16_t SimFirmware::startLine(int sensor) const {
    std::lock_guard lock(mutex_);
    return sensors_.at(sensor).scene.startLine();
}

void SimFirmware::setStylusAutomatic() {
    std::lock_guard lock(mutex_);
    stylus_.SetAutomatic();
}

void SimFirmware::setStylusManual(bool touching, uint16_t x, uint16_t y) {
    std::lock_guard lock(mutex_);
    stylus_.SetManual(touching, x, y);
}

void SimFirmware::setStylusHand(TouchStylus::Hand hand) {
    std::lock_guard lock(mutex_);
    stylus_.SetHand(std::move(hand));
}

bool SimFirmware::calibrationInitialised() const {
    std::lock_guard lock(mutex_);
    return calibrationInitialised_;
}

std::pair<uint16_t, uint16_t> SimFirmware::screenSize() const {
    std::lock_guard lock(mutex_);
    return {screenA_, screenB_};
}

SimFlash::State SimFirmware::imageState(int sensor, CodeTarget target) const {
    std::lock_guard lock(mutex_);
    return sensors_.at(sensor).image[static_cast<int>(target)];
}

SimFlash SimFirmware::flash() const {
    std::lock_guard lock(mutex_);
    SimFlash flash;
    flash.bootProductId = bootProductId_;
    flash.mode = mode_;
    for (int k = 0; k < kSensorCount; ++k) {
        const Sensor& from = sensors_[k];
        SimFlash::Sensor& to = flash.sensors[k];
        to.imageVersion = from.imageVersion;
        to.versionInfo = from.versionInfo;
        for (int a = 0; a < 2; ++a) {
            const CodePacketArea::Transfer& t = from.code[a].completed();
            to.images[a] = {t.bytes, t.packets, from.image[a]};
        }
    }
    return flash;
}

void SimFirmware::RestoreFlash(const SimFlash& flash) {
    std::lock_guard lock(mutex_);
    bootProductId_ = flash.bootProductId;
    mode_ = flash.mode;
    for (int k = 0; k < kSensorCount; ++k) {
        Sensor& to = sensors_[k];
        const SimFlash::Sensor& from = flash.sensors[k];
        to.imageVersion = from.imageVersion;
        to.versionInfo = from.versionInfo;
        for (int a = 0; a < 2; ++a) {
            to.code[a].Restore({from.images[a].bytes, from.images[a].packets});
            to.image[a] = from.images[a].state;
        }
    }
}

void SimFirmware::PowerCut() {
    std::lock_guard lock(mutex_);
    for (Sensor& sensor : sensors_) {
        for (CodePacketArea& area : sensor.code) {
            area.Abandon();
        }
    }
}

uint16_t SimFlash::PowerOnProductId() const {
    for (const Sensor& sensor : sensors) {
        for (const Image& image : sensor.images) {
            if (image.state != State::Whole) {
                return kProductIdUpdate;
            }
        }
    }
    return bootProductId;
}

std::vector<SimAnomaly> SimFirmware::anomalies() const {
    std::lock_guard lock(mutex_);
    return anomalies_;
}

void SimFirmware::clearAnomalies() {
    std::lock_guard lock(mutex_);
    anomalies_.clear();
}

}  // namespace tavlin::sim
