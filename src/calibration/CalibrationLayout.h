#pragma once
#include <array>
#include <cstdint>

namespace tavlin {

// A layout point in screen pixels: origin top left, y growing downwards, 16-bit as the device
// takes them.
struct LayoutPoint {
    int16_t x = 0;
    int16_t y = 0;
    bool operator==(const LayoutPoint&) const = default;
};

// One calibration target: its place for the screen the layout was computed for, its kind
// (0 right point, 1 left point, 2 the top middle point) and the index k of its point.
struct CalTarget {
    int16_t x = 0;
    int16_t y = 0;
    int32_t kind = 0;
    int32_t pointIndex = 0;
};

inline constexpr int kCalTargetCount = 15;
inline constexpr int kLayoutPointCount = 8;

struct CalibrationLayout {
    std::array<LayoutPoint, kLayoutPointCount> left{};
    std::array<LayoutPoint, kLayoutPointCount> right{};
    std::array<CalTarget, kCalTargetCount> targets{};  // in the order they are visited
};

// Where the line through p rising at alpha degrees meets the line through q rising at beta
// degrees; (-1, -1) for parallel lines. The device's own tools use 3.14159265 for pi, and the
// factory's calibration references were taken with it, so it stays.
LayoutPoint LineIntersection(LayoutPoint p, double alphaDegrees, LayoutPoint q, double betaDegrees);

// The sixteen layout points and the fifteen targets of a width x height screen. A size outside
// 0..32767 is clamped into it (the points are 16-bit).
CalibrationLayout ComputeCalibrationLayout(int width, int height);

// The byte sent with every touch sample: (point index AND 7) x 4 OR kind.
uint8_t TargetCode(const CalTarget& target);

// A target's place on the current screen: scaled from the screen the layout was made for, then
// kept on the current screen (a point the line geometry puts off a very narrow or very tall
// screen would otherwise ask the operator to touch outside it). A zero recorded size leaves the
// point unscaled instead of dividing by it.
LayoutPoint TargetPosition(const CalTarget& target, int layoutWidth, int layoutHeight,
                           int currentWidth, int currentHeight);

}  // namespace tavlin
