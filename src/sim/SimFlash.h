#pragma once
#include <array>
#include <cstdint>
#include <vector>

#include "device/HidTransport.h"
#include "sim/SimTypes.h"

namespace tavlin::sim {

// What the simulated device keeps when its power goes: the images, their versions, the mode and
// which environment it starts in. The rest of its memory (registers, the scene, an image transfer
// under way) is lost.
struct SimFlash {
    // An image counts as written once its version record follows its last packet: one cut on
    // the way (or whose record never came) is not.
    enum class State : uint8_t {
        Whole = 0,
        Erased = 1,           // its first packet came, its last one not (yet)
        AwaitingVersion = 2,  // its last packet came, its version record not (yet)
    };
    struct Image {
        std::vector<uint8_t> bytes;  // the last transfer that arrived whole
        int packets = 0;
        State state = State::Whole;

        bool operator==(const Image&) const = default;
    };
    struct Sensor {
        uint32_t imageVersion = 0;
        std::array<uint8_t, 38> versionInfo{};
        std::array<Image, 2> images;  // code areas 0x004000 and 0x008000

        bool operator==(const Sensor&) const = default;
    };

    // Where the device starts: the update environment once asked to restart there, until asked
    // to restart back out.
    uint16_t bootProductId = kProductIdWork;
    uint8_t mode = 0x22;
    std::array<Sensor, kSensorCount> sensors;

    // The product id the device comes back with after its power returns: an image left
    // unwritten keeps it in its update environment.
    uint16_t PowerOnProductId() const;

    bool operator==(const SimFlash&) const = default;
};

}  // namespace tavlin::sim
