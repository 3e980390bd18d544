#include "sim/CodePacketArea.h"

#include <utility>

namespace tavlin::sim {

CodePacketArea::Irregularity CodePacketArea::Take(const uint8_t* packet, size_t length, bool first,
                                                  bool last) {
    Irregularity irregularity = Irregularity::None;
    if (first) {
        if (open_) {
            // The host gave up on a transfer and began again: the broken one is dropped.
            irregularity = Irregularity::FirstWhileOpen;
        }
        current_ = {};
        open_ = true;
    } else if (!open_) {
        // Keep the bytes rather than lose them, so a test can still see what arrived.
        irregularity = Irregularity::NoFirst;
        current_ = {};
        open_ = true;
    }
    current_.bytes.insert(current_.bytes.end(), packet, packet + length);
    ++current_.packets;
    if (last) {
        completed_ = std::move(current_);
        current_ = {};
        open_ = false;
        ++completedCount_;
    }
    return irregularity;
}

void CodePacketArea::Abandon() {
    open_ = false;
    current_ = {};
}

void CodePacketArea::Restore(Transfer completed) {
    Abandon();
    completed_ = std::move(completed);
}

}  // namespace tavlin::sim
