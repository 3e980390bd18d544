#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tavlin::sim {

// The key FPGA code is scrambled with on its way to the device.
inline constexpr uint8_t kFpgaInitialKey = 0x3B;

// The rotating-key scrambling of FPGA code. XOR is its own inverse, so the same walk undoes it.
// The key runs on across calls through *key, as it runs on across the download's packets.
void ApplyFpgaKey(uint8_t* data, size_t length, uint8_t* key);

// The code as it was before the download scrambled it (the key starts afresh at 0x3B).
std::vector<uint8_t> UnscrambleFpgaCode(const std::vector<uint8_t>& received);

}  // namespace tavlin::sim
