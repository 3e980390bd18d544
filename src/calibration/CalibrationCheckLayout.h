#pragma once
#include "calibration/CalibrationWindowLayout.h"

namespace tavlin {

// Where the check's result screen puts its parts on a W x H screen. The check points lie at
// about a quarter and three quarters of the height, so the figures keep to the strips above
// and below them: the verdict and the tolerance at the top, the table in the middle of the
// bottom strip (between the lower points' columns), the buttons to its right.
ControlRect CheckVerdictRect(int screenWidth, int screenHeight);
ControlRect CheckToleranceRect(int screenWidth, int screenHeight);
ControlRect CheckTableRect(int screenWidth, int screenHeight);
// Button 0 accept, 1 check again, 2 calibrate again, one above the other.
ControlRect CheckButtonRect(int screenWidth, int screenHeight, int index);
// The verdict's letters, in pixels.
int CheckVerdictFontPixels(int screenHeight);

}  // namespace tavlin
