#include "sim/FpgaScrambling.h"

namespace tavlin::sim {

void ApplyFpgaKey(uint8_t* data, size_t length, uint8_t* key) {
    for (size_t i = 0; i < length; ++i) {
        data[i] ^= *key;
        *key = static_cast<uint8_t>((*key << 1) | (*key >> 7));
    }
}

std::vector<uint8_t> UnscrambleFpgaCode(const std::vector<uint8_t>& received) {
    std::vector<uint8_t> code = received;
    uint8_t key = kFpgaInitialKey;
    ApplyFpgaKey(code.data(), code.size(), &key);
    return code;
}

}  // namespace tavlin::sim
