#pragma once
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <vector>

#include "sim/LinkSchedule.h"

namespace tavlin::sim {

class SimConnection;

// One appearance of a device on the simulated bus, from its attach to its detach. A device
// that comes back is a new instance: connections opened on the old one stay gone.
struct SimDeviceInstance {
    SimDeviceInstance(uint64_t serial, uint16_t vendorId, uint16_t productId)
        : serial(serial), vendorId(vendorId), productId(productId) {}

    const uint64_t serial;
    const uint16_t vendorId;
    const uint16_t productId;

    // Guards `gone`, `link` and the input queues of the instance's connections; `changed` wakes
    // readers when a reply arrives or the instance goes.
    std::mutex mutex;
    std::condition_variable changed;
    bool gone = false;
    // The open connections of this instance, each registered for its lifetime.
    std::vector<SimConnection*> connections;
    // When reports cross the instance's link.
    LinkSchedule link;

    bool isGone() {
        std::lock_guard lock(mutex);
        return gone;
    }
    void MarkGone() {
        {
            std::lock_guard lock(mutex);
            gone = true;
        }
        changed.notify_all();
    }
};

}  // namespace tavlin::sim
