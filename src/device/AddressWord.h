#pragma once
#include <cstdint>

namespace tavlin {

// The 32-bit operand of register and area requests: bits 0-23 address, bits 24-25 kind,
// bit 28 the Slave sensor (bits 28-31 equal to 3: both sensors, image version read only).
enum class AddressKind : uint32_t { Fpga = 0, Sensor = 1, Area = 2, Invalid = 3 };

inline constexpr uint32_t kSlaveBit = 0x10000000u;
inline constexpr uint32_t kAreaImageVersion = 0x013000;
inline constexpr uint32_t kAreaVersionInfo = 0x010000;
inline constexpr uint32_t kAreaCodePacket = 0x004000;
inline constexpr uint32_t kAreaCodePacket2 = 0x008000;
inline constexpr uint8_t kFirstPacketFlag = 0x80;
inline constexpr uint8_t kLastPacketFlag = 0x40;

inline AddressKind KindOf(uint32_t addr) {
    return static_cast<AddressKind>((addr >> 24) & 3u);
}
inline bool IsSlave(uint32_t addr) {
    return (addr & kSlaveBit) != 0;
}
inline bool IsBothSensors(uint32_t addr) {
    return (addr >> 28) == 3u;
}
inline uint32_t AreaOf(uint32_t addr) {
    return addr & 0x00FFFFFFu;
}
inline uint8_t AddrLow(uint32_t addr) {
    return static_cast<uint8_t>(addr & 0xFF);
}
inline uint8_t AddrHigh(uint32_t addr) {
    return static_cast<uint8_t>((addr >> 8) & 0xFF);
}
inline uint8_t AddrTop(uint32_t addr) {
    return static_cast<uint8_t>((addr >> 16) & 0xFF);
}

}  // namespace tavlin
