#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "device/HidTransport.h"

namespace tavlin::sim {

using Report = std::array<uint8_t, kReportSize>;

inline constexpr uint8_t kStatusAccepted = 0x22;
// What the device answers to a command it does not know or cannot carry out.
inline constexpr uint8_t kStatusRefused = 0xEE;

inline constexpr int kSensorCount = 2;

// Something the device was asked that a sound host never asks: kept so tests can see it.
struct SimAnomaly {
    uint8_t command = 0;
    std::string what;
};

}  // namespace tavlin::sim
