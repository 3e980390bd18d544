#include "calibration/CalibrationWindowLayout.h"

namespace tavlin {

ControlRect CalibrationInstructionRect(int screenWidth) {
    return {screenWidth / 6, 0, screenWidth / 2, 20};
}

ControlRect CalibrationExitButtonRect(int screenWidth, int screenHeight) {
    return {screenWidth - 150, screenHeight - 50, 80, 30};
}

ControlRect ClientCalibrationTextRect(int screenWidth) {
    return {screenWidth / 4, 3, screenWidth / 2, 20};
}

ControlRect CrosshairRect(int centreX, int centreY) {
    return {centreX - kCrosshairSize / 2, centreY - kCrosshairSize / 2, kCrosshairSize,
            kCrosshairSize};
}

}  // namespace tavlin
