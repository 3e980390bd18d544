#include "console/FpgaScrambler.h"

namespace tavlin {

void FpgaScrambler::Scramble(uint8_t* data, size_t length) {
    for (size_t i = 0; i < length; ++i) {
        data[i] ^= key_;
        key_ = static_cast<uint8_t>((key_ << 1) | (key_ >> 7));
    }
}

}  // namespace tavlin
