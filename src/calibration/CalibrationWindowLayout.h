#pragma once

namespace tavlin {

struct ControlRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const ControlRect&) const = default;
};

// Where the calibration windows put their controls on a W x H screen (divisions truncate).
ControlRect CalibrationInstructionRect(int screenWidth);                   // control 1057
ControlRect CalibrationExitButtonRect(int screenWidth, int screenHeight);  // button 1065
ControlRect ClientCalibrationTextRect(int screenWidth);                    // control 1058

// The crosshair control is 40 x 40 and centred on its target.
inline constexpr int kCrosshairSize = 40;
ControlRect CrosshairRect(int centreX, int centreY);

}  // namespace tavlin
