#pragma once
#include <cstddef>
#include <cstdint>
#include <deque>
#include <unordered_map>
#include <vector>

namespace tavlin::sim {

// The FPGA registers of one sensor. Each of the 64K addresses latches the last byte written to
// it; multi-byte transfers go through a byte stream behind the address (the FPGA's burst port),
// so a long write followed by a long read at the same address returns the bytes in order.
// Not thread-safe: SimFirmware guards it.
class FpgaRegisterFile {
  public:
    static constexpr size_t kAddressCount = 0x10000;
    // A stream holds at most this many bytes; older ones are dropped first, as a FIFO overflows.
    static constexpr size_t kStreamLimit = 0x10000;

    FpgaRegisterFile() : latch_(kAddressCount, 0) {}

    uint8_t Latched(uint16_t addr) const { return latch_[addr]; }
    void SetLatched(uint16_t addr, uint8_t value) { latch_[addr] = value; }

    // A one-byte write only sets the latch; a longer one also feeds the stream.
    void Write(uint16_t addr, const uint8_t* data, size_t length);
    // A one-byte read returns the latch. A longer one takes bytes from the stream; once the
    // stream runs dry the latch is repeated, as the port keeps presenting its last value.
    void Read(uint16_t addr, uint8_t* out, size_t length);
    size_t StreamSize(uint16_t addr) const;

  private:
    std::vector<uint8_t> latch_;
    std::unordered_map<uint16_t, std::deque<uint8_t>> streams_;
};

}  // namespace tavlin::sim
