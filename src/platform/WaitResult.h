#pragma once
#include <cstdint>

namespace tavlin {

// The codes a wait returns. They are printed as numbers in log lines ("ret=%d"), so they keep
// the values of the Windows wait functions, which service engineers read there.
inline constexpr uint32_t WAIT_OBJECT_0 = 0;
inline constexpr uint32_t WAIT_TIMEOUT = 258;
inline constexpr uint32_t WAIT_FAILED = 0xFFFFFFFFu;
inline constexpr uint32_t INFINITE = 0xFFFFFFFFu;

}  // namespace tavlin
