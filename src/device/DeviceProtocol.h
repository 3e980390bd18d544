#pragma once
#include <cstddef>
#include <cstdint>

#include "device/AddressWord.h"
#include "device/HidDevice.h"

namespace tavlin {

// Command codes, Master / Slave.
namespace cmd {
inline constexpr uint8_t kSlaveOffset = 0x13;  // register and leveling commands
inline constexpr uint8_t kFpgaWrite = 0x04;
inline constexpr uint8_t kFpgaRead = 0x05;
inline constexpr uint8_t kFpgaSingleRead = 0x06;
inline constexpr uint8_t kI2cWrite = 0x07;
inline constexpr uint8_t kI2cRead = 0x08;
inline constexpr uint8_t kCalInit = 0x0B;
inline constexpr uint8_t kModeSwitch = 0x0E;
inline constexpr uint8_t kStartLineSearch = 0x11;
inline constexpr uint8_t kStartLineConfig = 0x12;
inline constexpr uint8_t kColumnSearch = 0x13;
inline constexpr uint8_t kLineOptimize = 0x14;
inline constexpr uint8_t kCalPoint = 0x1E;
inline constexpr uint8_t kCalParam = 0x28;
inline constexpr uint8_t kExposureMaster = 0x2A;
inline constexpr uint8_t kExposureSlave = 0x2B;
inline constexpr uint8_t kImageVersionReadMaster = 0x2C;
inline constexpr uint8_t kImageVersionReadSlave = 0x32;
inline constexpr uint8_t kImageVersionReadBoth = 0x2D;
inline constexpr uint8_t kImageVersionWriteMaster = 0x2D;
inline constexpr uint8_t kImageVersionWriteSlave = 0x33;
inline constexpr uint8_t kVersionInfoReadMaster = 0x30;
inline constexpr uint8_t kVersionInfoReadSlave = 0x36;
inline constexpr uint8_t kVersionInfoWriteMaster = 0x31;
inline constexpr uint8_t kVersionInfoWriteSlave = 0x37;
inline constexpr uint8_t kCodePacketMaster = 0x2F;
inline constexpr uint8_t kCodePacketSlave = 0x1F;
inline constexpr uint8_t kCodePacket2Master = 0x2E;
inline constexpr uint8_t kCodePacket2Slave = 0x34;
inline constexpr uint8_t kUpdateControl = 0x38;
inline constexpr uint8_t kPreviewMaster = 0x00;
inline constexpr uint8_t kPreviewSlave = 0x01;
inline constexpr uint8_t kPreviewMode1Flag = 0x80;
inline constexpr uint8_t kPreviewMode2Flag = 0x40;
}  // namespace cmd

inline constexpr int kMaxReadChunk = 61;
inline constexpr int kMaxWriteChunk = 59;
inline constexpr int kMaxCodePacket = 62;
inline constexpr int kMaxAreaData = 58;  // area, n and n bytes fit into 62
inline constexpr size_t kVersionInfoSize = 38;

enum Sensor : int { kMaster = 0, kSlave = 1 };
// The image version read of both sensors in one exchange (g_SensorSel 3).
inline constexpr int kBothSensors = 3;

#pragma pack(push, 1)
// One piece of a stitched line.
struct LineRecord {
    uint16_t position;  // the column where the piece ends
    uint16_t level;     // preview row 0..7 the piece lies on
    uint8_t reserved[8];
};
#pragma pack(pop)
static_assert(sizeof(LineRecord) == 12);
inline constexpr int kLineRecords = 8;

// Register and area operations. `outSize` / `dataSize` are the sizes of the caller's buffers:
// an operation that would run past them is refused before anything is sent. Refused or failed
// reads leave 0xFF in the output.
Result RegisterRead(HidDevice& device, uint32_t addr, int32_t count, uint8_t* out, size_t outSize);
Result RegisterWrite(HidDevice& device, uint32_t addr, int32_t count, const uint8_t* data,
                     size_t dataSize);
Result SingleRegisterRead(HidDevice& device, uint32_t addr, uint8_t* out);

// Leveling.
Result PreviewRead(HidDevice& device, uint16_t address, uint8_t mode, uint8_t count, int sensor,
                   uint8_t* out);
Result StartLineSearch(HidDevice& device, int sensor, uint16_t low, uint16_t high, int* startLine);
Result StartLineConfig(HidDevice& device, int sensor, uint16_t startLine);
Result ColumnSearch(HidDevice& device, int sensor, int* firstColumn, int* secondColumn);
Result LineOptimize(HidDevice& device, int sensor, LineRecord* records);
Result ExposureAdjust(HidDevice& device, int sensor, uint8_t* exposure, int* firstColumn,
                      int* secondColumn);

// Calibration. CalibrationPoint returns r: 0, 1, 2, or 3 when there is no valid answer.
Result CalibrationInit(HidDevice& device);
int CalibrationPoint(HidDevice& device, const uint8_t* payload6);
Result CalibrationParam(HidDevice& device, uint16_t a, uint16_t b);

// Mode and update control.
Result ModeSwitch(HidDevice& device, uint8_t mode);
Result UpdateControl(HidDevice& device, uint8_t code);

}  // namespace tavlin
