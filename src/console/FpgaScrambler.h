#pragma once
#include <cstddef>
#include <cstdint>

namespace tavlin {

// The scrambling the device undoes when it stores downloaded FPGA code: each byte is XORed with
// a one-byte key, and the key is rotated left by one bit after every byte. The key runs on across
// chunk boundaries, so one scrambler serves a whole download and a new download needs a new one.
class FpgaScrambler {
  public:
    static constexpr uint8_t kInitialKey = 0x3B;

    void Scramble(uint8_t* data, size_t length);
    uint8_t key() const { return key_; }

  private:
    uint8_t key_ = kInitialKey;
};

}  // namespace tavlin
