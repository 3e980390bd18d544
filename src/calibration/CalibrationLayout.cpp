#include "calibration/CalibrationLayout.h"

#include <algorithm>
#include <cmath>

namespace tavlin {
namespace {

constexpr double kPi = 3.14159265;
constexpr int kMaxScreen = 32767;

// Truncation toward zero into 16 bits; values beyond the range are clamped rather than left to
// an undefined conversion.
int16_t ToInt16(double value) {
    if (std::isnan(value)) {
        return -1;
    }
    const double truncated = std::trunc(value);
    return static_cast<int16_t>(std::clamp(truncated, -32768.0, 32767.0));
}

int16_t Wrap16(int value) {
    return static_cast<int16_t>(static_cast<uint16_t>(value & 0xFFFF));
}

struct TargetRow {
    bool right;
    int point;
    int kind;
};

// The visiting order: which point each target takes, and its kind.
constexpr std::array<TargetRow, kCalTargetCount> kTargetRows{{
    {true, 5, 0},
    {false, 6, 2},
    {false, 5, 1},
    {false, 7, 1},
    {true, 7, 0},
    {true, 3, 0},
    {false, 3, 1},
    {true, 4, 0},
    {false, 4, 1},
    {false, 1, 1},
    {true, 1, 0},
    {false, 0, 1},
    {false, 2, 1},
    {true, 2, 0},
    {true, 0, 0},
}};

}  // namespace

LayoutPoint LineIntersection(LayoutPoint p, double alphaDegrees, LayoutPoint q,
                             double betaDegrees) {
    const double ta = std::tan(alphaDegrees * kPi / 180);
    const double tb = std::tan(betaDegrees * kPi / 180);
    const double d = ta - tb;
    if (d == 0) {
        return {-1, -1};
    }
    const double e = ta * p.x + p.y;
    const double s = tb * q.x + q.y;
    return {ToInt16((e - s) / d), ToInt16((ta * s - tb * e) / d)};
}

CalibrationLayout ComputeCalibrationLayout(int width, int height) {
    const int w = std::clamp(width, 0, kMaxScreen);
    const int h = std::clamp(height, 0, kMaxScreen);
    const int a = w / 65;
    const int b = h / 65;
    const LayoutPoint origin{0, 0};
    CalibrationLayout layout;
    auto& L = layout.left;
    L[0] = {Wrap16(a), Wrap16(64 * b)};
    L[1] = LineIntersection(L[0], 44, origin, -50);
    L[2] = LineIntersection(L[0], 0, origin, -50);
    L[3] = LineIntersection(L[2], 45, origin, -25);
    L[5] = {Wrap16(64 * a), Wrap16(2 * b)};
    L[4] = LineIntersection(L[5], 46, origin, -25);
    L[6] = {Wrap16(w / 2), Wrap16(h / 8)};
    L[7] = {Wrap16(w / 50), Wrap16(h / 4)};
    for (int k = 0; k < kLayoutPointCount; ++k) {
        layout.right[k] = {Wrap16(w - L[k].x), L[k].y};
    }
    for (int t = 0; t < kCalTargetCount; ++t) {
        const TargetRow& row = kTargetRows[t];
        const LayoutPoint p = row.right ? layout.right[row.point] : L[row.point];
        layout.targets[t] = {p.x, p.y, row.kind, row.point};
    }
    return layout;
}

uint8_t TargetCode(const CalTarget& target) {
    return static_cast<uint8_t>(((target.pointIndex & 7) * 4) | target.kind);
}

LayoutPoint TargetPosition(const CalTarget& target, int layoutWidth, int layoutHeight,
                           int currentWidth, int currentHeight) {
    int x = target.x;
    int y = target.y;
    if (layoutWidth > 0 && currentWidth > 0) {
        x = x * currentWidth / layoutWidth;
    }
    if (layoutHeight > 0 && currentHeight > 0) {
        y = y * currentHeight / layoutHeight;
    }
    if (currentWidth > 0) {
        x = std::clamp(x, 0, std::min(currentWidth, kMaxScreen) - 1);
    }
    if (currentHeight > 0) {
        y = std::clamp(y, 0, std::min(currentHeight, kMaxScreen) - 1);
    }
    return {static_cast<int16_t>(x), static_cast<int16_t>(y)};
}

}  // namespace tavlin
