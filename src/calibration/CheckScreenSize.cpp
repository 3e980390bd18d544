#include "calibration/CheckScreenSize.h"

#include <charconv>
#include <cmath>

#include "base/Log.h"

namespace tavlin {
namespace {

constexpr double kMmPerInch = 25.4;
// Qt's size for a screen it knows nothing of.
constexpr double kQtDefaultDpi = 100.0;
constexpr double kDesktopDpi = 96.0;
// The systems give whole millimetres.
constexpr double kRounding = 0.5 + 1e-6;

bool Guessed(int pixels, double mm, double dpi) {
    return std::fabs(mm - pixels * kMmPerInch / dpi) <= kRounding;
}

bool ParseSide(std::string_view text, double* mm) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !(value > 0) ||
        value > kMaxScreenSideMm) {
        return false;
    }
    *mm = value;
    return true;
}

}  // namespace

bool IsDpiGuess(int width, int height, double widthMm, double heightMm, double logicalDpiX,
                double logicalDpiY) {
    const double dpis[][2] = {
        {kQtDefaultDpi, kQtDefaultDpi}, {kDesktopDpi, kDesktopDpi}, {logicalDpiX, logicalDpiY}};
    for (const auto& dpi : dpis) {
        if (Guessed(width, widthMm, dpi[0]) && Guessed(height, heightMm, dpi[1])) {
            return true;
        }
    }
    return false;
}

CheckScreen MonitorCheckScreen(int width, int height, double widthMm, double heightMm,
                               double logicalDpiX, double logicalDpiY) {
    CheckScreen screen{width, height, 0, 0, ScreenSizeSource::Unknown};
    if (widthMm > 0 && heightMm > 0 &&
        !IsDpiGuess(width, height, widthMm, heightMm, logicalDpiX, logicalDpiY)) {
        screen.widthMm = widthMm;
        screen.heightMm = heightMm;
        screen.sizeSource = ScreenSizeSource::Monitor;
    }
    return screen;
}

CheckScreen WithGivenSize(CheckScreen screen, double widthMm, double heightMm,
                          ScreenSizeSource source) {
    screen.widthMm = widthMm;
    screen.heightMm = heightMm;
    screen.sizeSource = source;
    return screen;
}

bool ParseScreenSizeMm(const std::string& text, double* widthMm, double* heightMm) {
    const size_t x = text.find('x');
    double w = 0;
    double h = 0;
    if (x == std::string::npos || !ParseSide(std::string_view(text).substr(0, x), &w) ||
        !ParseSide(std::string_view(text).substr(x + 1), &h)) {
        return false;
    }
    *widthMm = w;
    *heightMm = h;
    return true;
}

void LogCheckScreen(const CheckScreen& screen) {
    const char* from = nullptr;
    switch (screen.sizeSource) {
        case ScreenSizeSource::Monitor:
            from = "the monitor";
            break;
        case ScreenSizeSource::Option:
            from = "--screen-size";
            break;
        case ScreenSizeSource::Field:
            from = "the size field";
            break;
        case ScreenSizeSource::Unknown:
            break;
    }
    if (from == nullptr || !screen.HasPhysicalSize()) {
        WriteLog(
            "Calibration check screen: %dx%d px, size in mm unknown (the monitor gives none, "
            "or only a guess from a DPI)\n",
            screen.width, screen.height);
        return;
    }
    WriteLog("Calibration check screen: %dx%d px, %.1f x %.1f mm from %s\n", screen.width,
             screen.height, screen.widthMm, screen.heightMm, from);
}

}  // namespace tavlin
