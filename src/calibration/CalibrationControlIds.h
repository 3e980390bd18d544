#pragma once

namespace tavlin::control {

// Controls of the calibration windows.
inline constexpr int kCalInstruction = 1057;
inline constexpr int kCalCrosshair = 1062;
inline constexpr int kCalExit = 1065;
inline constexpr int kClientCalText = 1058;

}  // namespace tavlin::control
