#pragma once
// The device's side of a firmware update, written as the tool writes it: each image's packets
// (62 bytes, the first and the last flagged) and then its version record, image after image.
#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "device/AddressWord.h"
#include "device/DeviceProtocol.h"
#include "device/HidDevice.h"
#include "sim/FaultPlan.h"
#include "sim/SimFirmware.h"

namespace tavlin::sim::testing {

// Sizes of 4, 3, 5 and 2 packets: 14 in all.
inline const std::array<size_t, kImageCount> kImageSizes = {200, 130, 300, 70};

inline std::vector<uint8_t> ImageBytes(int image) {
    std::vector<uint8_t> bytes(kImageSizes[image]);
    for (size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<uint8_t>(i * 7 + image * 31 + 1);
    }
    return bytes;
}

inline int SensorOfImage(int image) {
    return image % 2;
}
inline CodeTarget TargetOfImage(int image) {
    return image < 2 ? CodeTarget::Packet : CodeTarget::Packet2;
}
// The HInfo images keep their version in the version info record, LInfo and RInfo in the image
// version.
inline uint32_t ImageVersion(int image) {
    return 0x0A0B0C00u + static_cast<uint32_t>(image);
}
inline SimFirmware::VersionInfo VersionRecord(int image) {
    SimFirmware::VersionInfo record{};
    for (size_t i = 0; i < record.size(); ++i) {
        record[i] = static_cast<uint8_t>(0x40 + image + i);
    }
    return record;
}

inline bool WriteImage(HidDevice& device, int image) {
    const uint32_t slave = SensorOfImage(image) == kSlave ? kSlaveBit : 0;
    const uint32_t area = 0x02000000u | slave | (image < 2 ? kAreaCodePacket : kAreaCodePacket2);
    const std::vector<uint8_t> bytes = ImageBytes(image);
    for (size_t at = 0; at < bytes.size(); at += kMaxCodePacket) {
        const size_t n = std::min<size_t>(kMaxCodePacket, bytes.size() - at);
        const uint32_t flags =
            (at == 0 ? kFirstPacketFlag : 0) | (at + n == bytes.size() ? kLastPacketFlag : 0);
        if (!RegisterWrite(device, area | flags, static_cast<int32_t>(n), bytes.data() + at, n)) {
            return false;
        }
    }
    return true;
}

inline bool WriteVersion(HidDevice& device, int image) {
    const uint32_t slave = SensorOfImage(image) == kSlave ? kSlaveBit : 0;
    std::vector<uint8_t> block;
    if (image < 2) {
        const SimFirmware::VersionInfo record = VersionRecord(image);
        block = {0x00, 0x00, 0x01, static_cast<uint8_t>(record.size())};
        block.insert(block.end(), record.begin(), record.end());
        return RegisterWrite(device, 0x02000000u | slave | kAreaVersionInfo,
                             static_cast<int32_t>(record.size()), block.data(), block.size())
            .ok();
    }
    const uint32_t v = ImageVersion(image);
    block = {0x00,
             0x30,
             0x01,
             4,
             static_cast<uint8_t>(v),
             static_cast<uint8_t>(v >> 8),
             static_cast<uint8_t>(v >> 16),
             static_cast<uint8_t>(v >> 24)};
    return RegisterWrite(device, 0x02000000u | slave | kAreaImageVersion, 4, block.data(),
                         block.size())
        .ok();
}

// Writes the images from the first on; returns the image at which a write failed, or
// kImageCount when all went through.
inline int WriteImages(HidDevice& device) {
    for (int image = 0; image < kImageCount; ++image) {
        if (!WriteImage(device, image) || !WriteVersion(device, image)) {
            return image;
        }
    }
    return kImageCount;
}

// Whether the image arrived whole and its version record followed it.
inline bool Written(const SimFirmware& firmware, int image) {
    const int sensor = SensorOfImage(image);
    const auto t = firmware.completedTransfer(sensor, TargetOfImage(image));
    const std::vector<uint8_t> bytes = ImageBytes(image);
    const bool data =
        t.bytes.size() >= bytes.size() && std::equal(bytes.begin(), bytes.end(), t.bytes.begin());
    const bool version = image < 2 ? firmware.versionInfo(sensor) == VersionRecord(image)
                                   : firmware.imageVersion(sensor) == ImageVersion(image);
    return data && version &&
           firmware.imageState(sensor, TargetOfImage(image)) == SimFlash::State::Whole;
}

}  // namespace tavlin::sim::testing
