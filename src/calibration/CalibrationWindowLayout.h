#pragma once

namespace tavlin {

struct ControlRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const ControlRect&) const = default;
};

// The crosshair control is 40 x 40 and centred on its target.
inline constexpr int kCrosshairSize = 40;

// Where the calibration windows put their controls on a W x H screen (divisions truncate). The
// text lines keep their place and width but reach down to just above the highest target (the
// top centre one, at an eighth of the height): a text wraps to two or three lines in the longer
// languages, and ends with an empty line.
ControlRect CalibrationInstructionRect(int screenWidth, int screenHeight);  // control 1057
ControlRect CalibrationExitButtonRect(int screenWidth, int screenHeight);   // button 1065
ControlRect ClientCalibrationTextRect(int screenWidth, int screenHeight);   // control 1058
// The check's offer, below the client window's text line (the window draws no targets).
ControlRect ClientCheckOfferRect(int screenWidth, int screenHeight);  // control 1089
ControlRect CrosshairRect(int centreX, int centreY);

}  // namespace tavlin
