#include "calibration/CalibrationCheckLayout.h"

#include <algorithm>

namespace tavlin {
namespace {

constexpr int kGap = 8;
constexpr int kButtonHeight = 36;
constexpr int kButtonMaxWidth = 260;

int BottomStripTop(int screenHeight) {
    return screenHeight * 3 / 4 + 30;
}

}  // namespace

ControlRect CheckVerdictRect(int screenWidth, int screenHeight) {
    return {screenWidth / 4, kGap, screenWidth / 2, screenHeight / 9};
}

ControlRect CheckToleranceRect(int screenWidth, int screenHeight) {
    const int top = kGap + screenHeight / 9;
    return {screenWidth / 6, top, screenWidth * 2 / 3,
            std::max(0, screenHeight / 4 - kCrosshairSize / 2 - 4 - top)};
}

ControlRect CheckTableRect(int screenWidth, int screenHeight) {
    const int top = BottomStripTop(screenHeight);
    return {screenWidth / 4 + 30, top, screenWidth / 2 - 60,
            std::max(0, screenHeight - kGap - top)};
}

ControlRect CheckButtonRect(int screenWidth, int screenHeight, int index) {
    const int left = screenWidth * 3 / 4 + 30;
    const int width = std::clamp(screenWidth - 16 - left, 0, kButtonMaxWidth);
    return {left, BottomStripTop(screenHeight) + index * (kButtonHeight + kGap), width,
            kButtonHeight};
}

int CheckVerdictFontPixels(int screenHeight) {
    return std::max(32, screenHeight / 14);
}

}  // namespace tavlin
