#pragma once
#include <cstdint>
#include <string>

namespace tavlin {

// The system clock in milliseconds since 1970-01-01 UTC, as records keep their times.
std::int64_t NowUnixMs();

// "2026-12-11T09:30:05.123Z".
std::string IsoUtcFromUnixMs(std::int64_t ms);

}  // namespace tavlin
