#pragma once

namespace tavlin::leveling {

// Controls of the leveling window.
inline constexpr int kOk = 1;
inline constexpr int kFirstLabel = 1026;  // 1026-1033: hidden labels
inline constexpr int kLastLabel = 1033;
inline constexpr int kMasterSlider = 1034;
inline constexpr int kSlaveSlider = 1035;
inline constexpr int kMasterDown = 1037;
inline constexpr int kMasterUp = 1038;
inline constexpr int kSlaveDown = 1039;
inline constexpr int kSlaveUp = 1040;
inline constexpr int kExposure = 1041;
inline constexpr int kSecondExposure = 1042;
inline constexpr int kFirstLineButton = 1043;  // 1043-1050: hidden line start/end buttons
inline constexpr int kLastLineButton = 1050;
inline constexpr int kMasterPicture = 1051;
inline constexpr int kSlavePicture = 1052;
inline constexpr int kTips = 1053;
inline constexpr int kSlaveStatus = 1054;
inline constexpr int kSaveInfo = 1055;
inline constexpr int kMasterStatus = 1056;

// Buttons of the main window that open the leveling windows.
inline constexpr int kLevelingButton = 1022;
inline constexpr int kClientAdjustButton = 1024;

// The start line sliders' range and their position before the first search.
inline constexpr int kSliderMin = 100;
inline constexpr int kSliderMax = 300;
inline constexpr int kSliderStart = 225;

}  // namespace tavlin::leveling
