#pragma once

namespace tavlin::control {

// Controls of the calibration windows.
inline constexpr int kCalInstruction = 1057;
inline constexpr int kCalCrosshair = 1062;
inline constexpr int kCalExit = 1065;
inline constexpr int kClientCalText = 1058;

// The calibration check, on the calibration windows and on its own window.
inline constexpr int kClientCheckOffer = 1089;
inline constexpr int kCheckPanel = 1090;
inline constexpr int kCheckInstruction = 1091;
inline constexpr int kCheckCrosshair = 1092;
inline constexpr int kCheckResult = 1093;
inline constexpr int kCheckVerdict = 1094;
inline constexpr int kCheckTolerance = 1095;
inline constexpr int kCheckTable = 1096;
inline constexpr int kCheckAccept = 1097;
inline constexpr int kCheckAgain = 1098;
inline constexpr int kCheckCalibrateAgain = 1099;
// The screen size in millimetres, asked for where the system gives none.
inline constexpr int kCheckSizeField = 1100;

}  // namespace tavlin::control
