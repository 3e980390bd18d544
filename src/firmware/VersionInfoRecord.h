#pragma once
#include <array>
#include <cstdint>

#include "device/DeviceProtocol.h"

namespace tavlin {

using VersionInfoRecord = std::array<uint8_t, kVersionInfoSize>;

// The record written with each HInfo image: the package's version at offset 10.
VersionInfoRecord ImageVersionInfoRecord(uint32_t version);
// The fixed record of the engineering button "更新FPGA版本信息".
VersionInfoRecord FixedVersionInfoRecord();

// Parameter blocks of the area requests, as the command thread takes them.
inline constexpr uint8_t kVersionInfoArea[3] = {0x00, 0x00, 0x01};
inline constexpr uint8_t kImageVersionArea[3] = {0x00, 0x30, 0x01};

}  // namespace tavlin
