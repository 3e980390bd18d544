// The calibration check's core: where its points lie, the error of a touch, slips, the verdict
// and its log lines.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/Log.h"
#include "calibration/CalibrationCheck.h"
#include "calibration/CalibrationLayout.h"
#include "calibration/CheckScreenSize.h"

namespace tavlin {
namespace {

// 1000 x 800 pixels on 250 x 200 mm: a quarter of a millimetre per pixel, both ways.
const CheckScreen kQuarterMm{1000, 800, 250.0, 200.0};

struct ScreenRow {
    const char* name;
    CheckScreen screen;
};

class CheckPointsOnScreens : public ::testing::TestWithParam<ScreenRow> {};

TEST_P(CheckPointsOnScreens, CentreFirstThenFourAwayFromEdgesAndTargets) {
    const CheckScreen& s = GetParam().screen;
    const std::vector<CheckPoint> points = CheckPointsFor(s);
    ASSERT_EQ(points.size(), static_cast<size_t>(kCheckPointCount));
    EXPECT_EQ(points[0], (CheckPoint{s.width / 2, s.height / 2}));
    const double pxPerMmX = s.HasPhysicalSize() ? s.width / s.widthMm : kNominalPixelsPerMm;
    const double pxPerMmY = s.HasPhysicalSize() ? s.height / s.heightMm : kNominalPixelsPerMm;
    const CalibrationLayout layout = ComputeCalibrationLayout(s.width, s.height);
    for (const CheckPoint& p : points) {
        EXPECT_GE(p.x / pxPerMmX, kCheckMarginMm) << p.x << "," << p.y;
        EXPECT_GE((s.width - 1 - p.x) / pxPerMmX, kCheckMarginMm) << p.x << "," << p.y;
        EXPECT_GE(p.y / pxPerMmY, kCheckMarginMm) << p.x << "," << p.y;
        EXPECT_GE((s.height - 1 - p.y) / pxPerMmY, kCheckMarginMm) << p.x << "," << p.y;
        for (const CalTarget& t : layout.targets) {
            EXPECT_GE(std::hypot((p.x - t.x) / pxPerMmX, (p.y - t.y) / pxPerMmY), kCheckMarginMm)
                << p.x << "," << p.y << " near target " << t.x << "," << t.y;
        }
    }
    // One in each quarter, in the order top left, top right, bottom right, bottom left.
    EXPECT_TRUE(points[1].x < points[0].x && points[1].y < points[0].y);
    EXPECT_TRUE(points[2].x > points[0].x && points[2].y < points[0].y);
    EXPECT_TRUE(points[3].x > points[0].x && points[3].y > points[0].y);
    EXPECT_TRUE(points[4].x < points[0].x && points[4].y > points[0].y);
}

INSTANTIATE_TEST_SUITE_P(Screens, CheckPointsOnScreens,
                         ::testing::Values(ScreenRow{"FullHd", {1920, 1080, 527.0, 296.0}},
                                           ScreenRow{"Sxga", {1151, 864, 292.4, 219.5}},
                                           ScreenRow{"SevenInch", {800, 480, 154.0, 86.0}},
                                           ScreenRow{"Uhd", {3840, 2160, 1210.0, 680.0}},
                                           ScreenRow{"Portrait", {1080, 1920, 296.0, 527.0}},
                                           ScreenRow{"UltraWide", {2560, 1080, 673.0, 284.0}},
                                           ScreenRow{"NoPhysicalSize", {1920, 1080, 0.0, 0.0}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CalibrationCheck, FullHdPointsAreTheQuarters) {
    const std::vector<CheckPoint> expected{
        {960, 540}, {480, 270}, {1440, 270}, {1440, 810}, {480, 810}};
    EXPECT_EQ(CheckPointsFor({1920, 1080, 527.0, 296.0}), expected);
}

// 20 mm across leaves no pixel between the two 10 mm margins: no points, nothing taken.
TEST(CalibrationCheck, TinyScreenLeavesNoRoom) {
    for (const CheckScreen s : {CheckScreen{80, 80, 20.0, 20.0}, CheckScreen{400, 80, 100.0, 20.0},
                                CheckScreen{60, 60, 0.0, 0.0}, CheckScreen{0, 0, 0.0, 0.0}}) {
        CalibrationCheck check(s, kDefaultCheckToleranceMm);
        EXPECT_FALSE(check.feasible()) << s.width << "x" << s.height;
        EXPECT_FALSE(check.done());
        EXPECT_EQ(check.Touch(s.width / 2.0, s.height / 2.0, CheckInput::Touch),
                  CalibrationCheck::Taken::Ignored);
        EXPECT_TRUE(check.results().empty());
    }
    // Just enough room: 24 mm leaves the quarter points a pixel each beside the centre.
    EXPECT_TRUE(CalibrationCheck({96, 96, 24.0, 24.0}, 2.0).feasible());
}

// The bound is inclusive at the precision the result shows (0.01 mm).
TEST(CalibrationCheck, TouchExactlyAtTheTolerancePasses) {
    struct Row {
        double dx;
        double dy;
        bool within;
    };
    for (const Row row : {Row{8.0, 0.0, true}, Row{4.8, 6.4, true},  // 3-4-5: 1.2, 1.6 -> 2.0
                          Row{0.0, -8.0, true}, Row{8.04, 0.0, false}, Row{8.016, 0.0, true}}) {
        CalibrationCheck check(kQuarterMm, 2.0);
        const CheckPoint centre = check.points()[0];
        ASSERT_EQ(check.Touch(centre.x + row.dx, centre.y + row.dy, CheckInput::Touch),
                  CalibrationCheck::Taken::Accepted);
        const CheckPointResult& r = check.results()[0];
        EXPECT_EQ(r.within, row.within) << row.dx << "," << row.dy << ": " << *r.errorMm;
        EXPECT_NEAR(r.errorPx, std::hypot(row.dx, row.dy), 1e-9);
    }
}

TEST(CalibrationCheck, PassWhenEveryPointIsWithinFailWhenOneIsNot) {
    for (const double offsetMm : {1.5, 3.0}) {
        CalibrationCheck check(kQuarterMm, 2.0);
        for (int i = 0; i < kCheckPointCount; ++i) {
            const CheckPoint p = check.points()[check.current()];
            const double dx = i == 2 ? offsetMm * 4 : 0.5;  // point 3 is off by offsetMm
            EXPECT_EQ(check.Touch(p.x + dx, p.y, i == 4 ? CheckInput::Mouse : CheckInput::Touch),
                      CalibrationCheck::Taken::Accepted);
        }
        ASSERT_TRUE(check.done());
        EXPECT_EQ(check.verdict(), offsetMm <= 2.0 ? CheckVerdict::Pass : CheckVerdict::Fail);
        EXPECT_NEAR(*check.results()[2].errorMm, offsetMm, 1e-9);
        EXPECT_NEAR(check.largestError(), offsetMm, 1e-9);
        EXPECT_EQ(check.results()[4].input, CheckInput::Mouse);
        EXPECT_EQ(check.Touch(0, 0, CheckInput::Touch), CalibrationCheck::Taken::Ignored);
    }
}

// Millimetres follow each axis's own density.
TEST(CalibrationCheck, ErrorUsesEachAxisDensity) {
    const CheckScreen s{1000, 1000, 250.0, 500.0};
    EXPECT_NEAR(*CalibrationCheck::ErrorMm(s, 4, 0), 1.0, 1e-12);
    EXPECT_NEAR(*CalibrationCheck::ErrorMm(s, 0, 4), 2.0, 1e-12);
    EXPECT_NEAR(*CalibrationCheck::ErrorMm(s, 4, 2), std::sqrt(2.0), 1e-12);
}

TEST(CalibrationCheck, WithoutAPhysicalSizeErrorsArePixelsOnlyAndThereIsNoVerdict) {
    CalibrationCheck check({1920, 1080, 0.0, 0.0}, 2.0);
    for (int i = 0; i < kCheckPointCount; ++i) {
        const CheckPoint p = check.points()[check.current()];
        check.Touch(p.x + 3, p.y + 4, CheckInput::Touch);
    }
    ASSERT_TRUE(check.done());
    for (const CheckPointResult& r : check.results()) {
        EXPECT_FALSE(r.errorMm.has_value());
        EXPECT_FALSE(r.within);
        EXPECT_DOUBLE_EQ(r.errorPx, 5.0);
    }
    EXPECT_EQ(check.verdict(), CheckVerdict::PixelsOnly);
    EXPECT_DOUBLE_EQ(check.largestError(), 5.0);
}

// Farther than ten tolerances: shown again at most twice, then the touch counts as it is.
TEST(CalibrationCheck, SlipRepeatsThePointAtMostTwice) {
    CalibrationCheck check(kQuarterMm, 2.0);
    const CheckPoint p = check.points()[0];
    EXPECT_EQ(check.Touch(p.x + 84, p.y, CheckInput::Touch),
              CalibrationCheck::Taken::Slip);  // 21 mm
    EXPECT_EQ(check.repeats(), 1);
    EXPECT_EQ(check.current(), 0);
    EXPECT_EQ(check.Touch(p.x, p.y - 200, CheckInput::Touch), CalibrationCheck::Taken::Slip);
    EXPECT_EQ(check.repeats(), 2);
    EXPECT_EQ(check.Touch(p.x + 100, p.y, CheckInput::Touch), CalibrationCheck::Taken::Accepted);
    ASSERT_EQ(check.current(), 1);
    EXPECT_EQ(check.repeats(), 0);
    EXPECT_EQ(check.results()[0].repeats, 2);
    EXPECT_FALSE(check.results()[0].within);
    // At ten tolerances exactly it is a touch (a bad one), not a slip.
    const CheckPoint q = check.points()[1];
    EXPECT_EQ(check.Touch(q.x + 80, q.y, CheckInput::Touch), CalibrationCheck::Taken::Accepted);
    EXPECT_EQ(check.results()[1].repeats, 0);
}

TEST(CalibrationCheck, LogLines) {
    const auto path = std::filesystem::temp_directory_path() / "calibration_check_log.txt";
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
    SetLogFilePath(path.string());
    CalibrationCheck check(kQuarterMm, 2.0);
    for (int i = 0; i < kCheckPointCount; ++i) {
        const CheckPoint p = check.points()[check.current()];
        check.Touch(p.x + (i == 1 ? 12 : 2), p.y, i == 0 ? CheckInput::Mouse : CheckInput::Touch);
    }
    LogCheckResult(check);
    CalibrationCheck pixels({1920, 1080, 0.0, 0.0}, 2.0);
    pixels.Touch(963, 544, CheckInput::Touch);
    LogCheckResult(pixels);
    std::stringstream all;
    {
        std::ifstream in(path);  // closed before the file goes: Windows refuses an open one
        all << in.rdbuf();
    }
    const std::string log = all.str();
    SetLogFilePath({});
    std::filesystem::remove(path, ignored);
    for (const char* line :
         {") Calibration check point 1: target (500, 400), touch (502.0, 400.0), error 2.0 px "
          "0.50 mm, mouse, repeats=0\n",
          ") Calibration check point 2: target (250, 200), touch (262.0, 200.0), error 12.0 px "
          "3.00 mm, touch, repeats=0\n",
          ") Calibration check: FAIL, tolerance 2.00 mm, largest error 3.00 mm\n",
          ") Calibration check point 1: target (960, 540), touch (963.0, 544.0), error 5.0 px "
          "(mm unknown), touch, repeats=0\n",
          ") Calibration check stopped: 1 of 5 points touched\n"}) {
        EXPECT_NE(log.find(line), std::string::npos) << line << "\nin:\n" << log;
    }
}

std::string ReadLog(const std::filesystem::path& path) {
    std::stringstream all;
    std::ifstream in(path);
    all << in.rdbuf();
    return all.str();
}

// A size the system made up from a DPI is none: a millimetre verdict must not rest on it.
TEST(CheckScreenSize, AMonitorSizeThatIsADpiGuessCountsAsNone) {
    struct Row {
        const char* name;
        int width, height;
        double widthMm, heightMm, dpiX, dpiY;
        bool kept;
    };
    const Row rows[] = {
        {"Qt's 100 DPI (offscreen)", 1920, 1080, 487.68, 274.32, 96, 96, false},
        {"96 DPI in whole mm (X server, Windows)", 1920, 1080, 508, 286, 96, 96, false},
        {"96 DPI rounded down by 0.42 mm", 1366, 768, 361, 203, 120, 120, false},
        {"96 DPI exact", 1366, 768, 1366 * 25.4 / 96, 768 * 25.4 / 96, 120, 120, false},
        {"the logical DPI, per axis", 1920, 1080, 406, 183, 120, 150, false},
        {"a real 23-inch monitor", 1920, 1080, 527, 296, 96, 96, true},
        {"only the width matches a guess", 1920, 1080, 508, 300, 96, 96, true},
        {"only the height matches a guess", 1920, 1080, 520, 286, 96, 96, true},
        {"just beyond whole-mm rounding", 1920, 1080, 508.6, 285.75, 96, 96, true},
        {"no size", 1920, 1080, 0, 0, 96, 96, false},
        {"no height", 1920, 1080, 527, 0, 96, 96, false},
    };
    for (const Row& r : rows) {
        const CheckScreen s =
            MonitorCheckScreen(r.width, r.height, r.widthMm, r.heightMm, r.dpiX, r.dpiY);
        EXPECT_EQ(s.width, r.width) << r.name;
        EXPECT_EQ(s.height, r.height) << r.name;
        EXPECT_EQ(s.HasPhysicalSize(), r.kept) << r.name;
        EXPECT_EQ(s.sizeSource, r.kept ? ScreenSizeSource::Monitor : ScreenSizeSource::Unknown)
            << r.name;
        EXPECT_EQ(s.widthMm, r.kept ? r.widthMm : 0.0) << r.name;
        EXPECT_EQ(s.heightMm, r.kept ? r.heightMm : 0.0) << r.name;
    }
}

TEST(CheckScreenSize, SizesInMillimetres) {
    struct Row {
        const char* text;
        bool ok;
        double widthMm, heightMm;
    };
    const Row rows[] = {
        {"527x296", true, 527, 296},
        {"527.5x296.25", true, 527.5, 296.25},
        {"5000x5000", true, 5000, 5000},
        {"5000.1x296", false, 0, 0},
        {"527x5001", false, 0, 0},
        {"0x296", false, 0, 0},
        {"527x0", false, 0, 0},
        {"-527x296", false, 0, 0},
        {"527", false, 0, 0},
        {"x296", false, 0, 0},
        {"527x", false, 0, 0},
        {"527x296mm", false, 0, 0},
        {"527mmx296", false, 0, 0},
        {"", false, 0, 0},
    };
    for (const Row& r : rows) {
        double w = -1;
        double h = -1;
        EXPECT_EQ(ParseScreenSizeMm(r.text, &w, &h), r.ok) << r.text;
        EXPECT_EQ(w, r.ok ? r.widthMm : -1) << r.text;
        EXPECT_EQ(h, r.ok ? r.heightMm : -1) << r.text;
    }
}

// The log says where the millimetres came from, or that there are none.
TEST(CheckScreenSize, TheLogNamesWhereTheMillimetresCameFrom) {
    const auto path = std::filesystem::temp_directory_path() / "check_screen_log.txt";
    const CheckScreen none{1920, 1080, 0, 0};
    const CheckScreen monitor = MonitorCheckScreen(1920, 1080, 527, 296, 96, 96);
    const struct {
        CheckScreen screen;
        const char* line;
    } rows[] = {
        {monitor, ") Calibration check screen: 1920x1080 px, 527.0 x 296.0 mm from the monitor\n"},
        {WithGivenSize(none, 600, 340.5, ScreenSizeSource::Option),
         ") Calibration check screen: 1920x1080 px, 600.0 x 340.5 mm from --screen-size\n"},
        {WithGivenSize(monitor, 521, 293, ScreenSizeSource::Field),
         ") Calibration check screen: 1920x1080 px, 521.0 x 293.0 mm from the size field\n"},
        {none,
         ") Calibration check screen: 1920x1080 px, size in mm unknown (the monitor gives none, "
         "or only a guess from a DPI)\n"},
    };
    for (const auto& row : rows) {
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
        SetLogFilePath(path.string());
        LogCheckScreen(row.screen);
        const std::string log = ReadLog(path);
        SetLogFilePath({});
        std::filesystem::remove(path, ignored);
        EXPECT_NE(log.find(row.line), std::string::npos) << row.line << "\nin:\n" << log;
    }
}

}  // namespace
}  // namespace tavlin
