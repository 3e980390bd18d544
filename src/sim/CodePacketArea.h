#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tavlin::sim {

// One code packet target of one sensor: collects a transfer from its first-flagged packet to its
// last-flagged one. The report carries no packet length, so every packet arrives as the full
// 62 payload bytes; a short last packet is padded with the zeros that follow it on the wire.
// Not thread-safe: SimFirmware guards it.
class CodePacketArea {
  public:
    struct Transfer {
        std::vector<uint8_t> bytes;
        int packets = 0;
    };

    enum class Irregularity { None, FirstWhileOpen, NoFirst };

    // Takes one packet; reports what was irregular about its place in the transfer.
    Irregularity Take(const uint8_t* packet, size_t length, bool first, bool last);

    // The power went: a transfer under way is lost.
    void Abandon();
    // The flash kept this transfer as the last one completed.
    void Restore(Transfer completed);

    bool open() const { return open_; }
    const Transfer& current() const { return current_; }
    // The transfer that ended last with a last-flagged packet.
    const Transfer& completed() const { return completed_; }
    int completedCount() const { return completedCount_; }

  private:
    bool open_ = false;
    Transfer current_;
    Transfer completed_;
    int completedCount_ = 0;
};

}  // namespace tavlin::sim
