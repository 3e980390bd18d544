#include "calibration/CalibrationWindowLayout.h"

namespace tavlin {

namespace {
// Where the text lines end: a few pixels above the top centre target's crosshair.
int TextBottom(int screenHeight) {
    return screenHeight / 8 - kCrosshairSize / 2 - 4;
}
}  // namespace

ControlRect CalibrationInstructionRect(int screenWidth, int screenHeight) {
    return {screenWidth / 6, 0, screenWidth / 2, TextBottom(screenHeight)};
}

ControlRect CalibrationExitButtonRect(int screenWidth, int screenHeight) {
    return {screenWidth - 150, screenHeight - 50, 80, 30};
}

ControlRect ClientCalibrationTextRect(int screenWidth, int screenHeight) {
    return {screenWidth / 4, 3, screenWidth / 2, TextBottom(screenHeight) - 3};
}

ControlRect ClientCheckOfferRect(int screenWidth, int screenHeight) {
    return {screenWidth / 4, screenHeight / 8, screenWidth / 2, screenHeight / 8};
}

ControlRect CrosshairRect(int centreX, int centreY) {
    return {centreX - kCrosshairSize / 2, centreY - kCrosshairSize / 2, kCrosshairSize,
            kCrosshairSize};
}

}  // namespace tavlin
