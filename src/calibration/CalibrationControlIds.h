#pragma once

namespace tavlin::control {

// Controls of the calibration windows.
inline constexpr int kCalInstruction = 1057;
inline constexpr int kCalCrosshair = 1062;
inline constexpr int kCalExit = 1065;
inline constexpr int kClientCalText = 1058;
// The main window's launchers.
inline constexpr int kCalibrationLauncher = 1023;
inline constexpr int kClientCalibrationLauncher = 1025;

}  // namespace tavlin::control
