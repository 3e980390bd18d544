#pragma once
#include <string>

#include "calibration/CalibrationCheck.h"

namespace tavlin {

// Where a monitor gives no size, the system makes one up from a DPI: Qt's own 100 (the offscreen
// platform, any platform without a size), the desktop's 96 (X servers, Windows at 100 %), or the
// screen's logical DPI. A millimetre verdict must not rest on such a size, so a size within half
// a millimetre (the systems round to whole ones) of one of those guesses on both axes counts as
// none. A real monitor that happens to match is then asked for its size, which is the safe side.
bool IsDpiGuess(int width, int height, double widthMm, double heightMm, double logicalDpiX,
                double logicalDpiY);

// The screen as the monitor reports it (pixels, millimetres, logical DPI): its millimetres
// with source Monitor, or none where they are missing or a DPI guess.
CheckScreen MonitorCheckScreen(int width, int height, double widthMm, double heightMm,
                               double logicalDpiX, double logicalDpiY);

// A size in millimetres from the operator takes the monitor's place (source Option or Field).
CheckScreen WithGivenSize(CheckScreen screen, double widthMm, double heightMm,
                          ScreenSizeSource source);

// "527x296" or "527.5x296.2": width and height in millimetres, each above 0 and at most
// kMaxScreenSideMm (beyond that it is a pixel count typed by mistake, not a screen).
inline constexpr double kMaxScreenSideMm = 5000.0;
bool ParseScreenSizeMm(const std::string& text, double* widthMm, double* heightMm);

// The log line saying which millimetres the check uses and where they came from.
void LogCheckScreen(const CheckScreen& screen);

}  // namespace tavlin
