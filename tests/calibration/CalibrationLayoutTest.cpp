// Where the fifteen calibration targets lie, and the codes sent with them.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "calibration/CalibrationLayout.h"
#include "calibration/CalibrationWindowLayout.h"

namespace tavlin {
namespace {

std::vector<LayoutPoint> Targets(const CalibrationLayout& layout) {
    std::vector<LayoutPoint> out;
    for (const CalTarget& t : layout.targets) {
        out.push_back({t.x, t.y});
    }
    return out;
}

TEST(CalibrationLayout, FullHdLeftPoints) {
    const CalibrationLayout layout = ComputeCalibrationLayout(1920, 1080);
    const std::vector<LayoutPoint> expected{{29, 1024},  {487, 581}, {859, 1024}, {1284, 598},
                                            {1301, 606}, {1856, 32}, {960, 135},  {38, 270}};
    EXPECT_EQ(std::vector<LayoutPoint>(layout.left.begin(), layout.left.end()), expected);
}

TEST(CalibrationLayout, FullHdRightPointsMirrorTheLeft) {
    const CalibrationLayout layout = ComputeCalibrationLayout(1920, 1080);
    for (int k = 0; k < kLayoutPointCount; ++k) {
        EXPECT_EQ(layout.right[k].x, 1920 - layout.left[k].x) << k;
        EXPECT_EQ(layout.right[k].y, layout.left[k].y) << k;
    }
}

TEST(CalibrationLayout, FullHdTargetsInVisitingOrder) {
    const CalibrationLayout layout = ComputeCalibrationLayout(1920, 1080);
    const std::vector<LayoutPoint> expected{{64, 32},    {960, 135},   {1856, 32},  {38, 270},
                                            {1882, 270}, {636, 598},   {1284, 598}, {619, 606},
                                            {1301, 606}, {487, 581},   {1433, 581}, {29, 1024},
                                            {859, 1024}, {1061, 1024}, {1891, 1024}};
    EXPECT_EQ(Targets(layout), expected);
}

TEST(CalibrationLayout, FullHdTargetCodes) {
    const CalibrationLayout layout = ComputeCalibrationLayout(1920, 1080);
    const std::vector<int> expected{20, 26, 21, 29, 28, 12, 13, 16, 17, 5, 4, 1, 9, 8, 0};
    std::vector<int> codes;
    for (const CalTarget& t : layout.targets) {
        codes.push_back(TargetCode(t));
    }
    EXPECT_EQ(codes, expected);
    EXPECT_EQ(layout.targets[3].pointIndex, 7);
    EXPECT_EQ(layout.targets[1].pointIndex, 6);
    EXPECT_EQ(layout.targets[1].kind, 2);
}

TEST(CalibrationLayout, ParallelLinesMeetNowhere) {
    EXPECT_EQ(LineIntersection({10, 20}, 30, {0, 0}, 30), (LayoutPoint{-1, -1}));
    EXPECT_EQ(LineIntersection({0, 0}, 0, {5, 5}, 0), (LayoutPoint{-1, -1}));
}

TEST(CalibrationLayout, IntersectionTruncatesTowardZero) {
    // The horizontal through (0, 100) meets the line through the origin rising at 50 degrees
    // at x = -83.9: truncated toward zero, not floored.
    EXPECT_EQ(LineIntersection({0, 100}, 0, {0, 0}, 50), (LayoutPoint{-83, 100}));
}

TEST(CalibrationLayout, OtherScreensKeepTheirFormulas) {
    const CalibrationLayout hd = ComputeCalibrationLayout(1280, 720);  // a = 19, b = 11
    EXPECT_EQ(hd.left[0], (LayoutPoint{19, 704}));
    EXPECT_EQ(hd.left[5], (LayoutPoint{1216, 22}));
    EXPECT_EQ(hd.left[6], (LayoutPoint{640, 90}));
    EXPECT_EQ(hd.left[7], (LayoutPoint{25, 180}));
    EXPECT_EQ(hd.targets[0].x, 1280 - 1216);
    const CalibrationLayout uhd = ComputeCalibrationLayout(3840, 2160);  // a = 59, b = 33
    EXPECT_EQ(uhd.left[0], (LayoutPoint{59, 2112}));
    EXPECT_EQ(uhd.targets[14].x, 3840 - 59);
}

// Every target of a layout lies on its own screen, also where the formulas degenerate.
void ExpectOnScreen(int w, int h) {
    const CalibrationLayout layout = ComputeCalibrationLayout(w, h);
    for (int t = 0; t < kCalTargetCount; ++t) {
        const LayoutPoint p = TargetPosition(layout.targets[t], w, h, w, h);
        EXPECT_GE(p.x, 0) << w << "x" << h << " target " << t;
        EXPECT_LT(p.x, w) << w << "x" << h << " target " << t;
        EXPECT_GE(p.y, 0) << w << "x" << h << " target " << t;
        EXPECT_LT(p.y, h) << w << "x" << h << " target " << t;
    }
}

TEST(CalibrationLayout, TinyAndOddScreensKeepTargetsOnScreen) {
    ExpectOnScreen(64, 64);    // a = b = 0
    ExpectOnScreen(40, 1000);  // W < 65 with a tall screen
    ExpectOnScreen(1080, 1920);
    ExpectOnScreen(1, 1);
}

TEST(CalibrationLayout, TargetsFollowAScreenChange) {
    const CalibrationLayout layout = ComputeCalibrationLayout(1920, 1080);
    const CalTarget& last = layout.targets[14];  // (1891, 1024)
    EXPECT_EQ(TargetPosition(last, 1920, 1080, 1920, 1080), (LayoutPoint{1891, 1024}));
    EXPECT_EQ(TargetPosition(last, 1920, 1080, 960, 540), (LayoutPoint{945, 512}));
}

TEST(CalibrationLayout, NoDivisionByAZeroRecordedSize) {
    const CalTarget target{100, 50, 1, 3};
    EXPECT_EQ(TargetPosition(target, 0, 0, 800, 600), (LayoutPoint{100, 50}));
    EXPECT_EQ(TargetPosition(target, 0, 0, 80, 40), (LayoutPoint{79, 39}));
}

TEST(CalibrationLayout, OversizedScreenIsClampedTo16Bits) {
    const CalibrationLayout layout = ComputeCalibrationLayout(100000, 100000);
    EXPECT_EQ(layout.left[6], (LayoutPoint{16383, 4095}));
}

bool Overlap(const ControlRect& a, const ControlRect& b) {
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height &&
           b.y < a.y + a.height;
}

// The text lines grew to hold two or three lines: no target's crosshair may fall under them.
TEST(CalibrationWindowLayout, TextLinesLeaveEveryTargetFree) {
    for (auto [W, H] : {std::pair{1920, 1080},
                        {1151, 864},
                        {1024, 768},
                        {1366, 768},
                        {1280, 1024},
                        {2560, 1440}}) {
        const ControlRect instruction = CalibrationInstructionRect(W, H);
        EXPECT_EQ(instruction.x, W / 6);
        EXPECT_EQ(instruction.width, W / 2);
        EXPECT_GE(instruction.height, 3 * 24) << "three lines of the 20 px font at " << H;
        for (const CalTarget& t : ComputeCalibrationLayout(W, H).targets) {
            const ControlRect cross = CrosshairRect(t.x, t.y);
            EXPECT_FALSE(Overlap(instruction, cross))
                << t.x << "," << t.y << " at " << W << "x" << H;
        }
        const ControlRect client = ClientCalibrationTextRect(W, H);
        EXPECT_EQ(client, (ControlRect{W / 4, 3, W / 2, instruction.height - 3}));
    }
}

}  // namespace
}  // namespace tavlin
