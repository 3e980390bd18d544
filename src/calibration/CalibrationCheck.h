#pragma once
#include <optional>
#include <string>
#include <vector>

namespace tavlin {

// Where a check's millimetres came from.
enum class ScreenSizeSource {
    Unknown,  // nowhere: the check can give pixels only
    Monitor,  // the size the system reports, and not one it made up from a DPI
    Option,   // --screen-size
    Field,    // typed into the check window
};

// The screen a check runs on: its size in pixels and, where known, in millimetres (0 when not).
struct CheckScreen {
    int width = 0;
    int height = 0;
    double widthMm = 0;
    double heightMm = 0;
    ScreenSizeSource sizeSource = ScreenSizeSource::Unknown;
    bool HasPhysicalSize() const { return widthMm > 0 && heightMm > 0 && width > 0 && height > 0; }
};

struct CheckPoint {
    int x = 0;
    int y = 0;
    bool operator==(const CheckPoint&) const = default;
};

inline constexpr int kCheckPointCount = 5;
inline constexpr double kDefaultCheckToleranceMm = 2.0;

// What the command line tells the calibration check, the same in every window that offers it.
struct CheckOptions {
    double toleranceMm = kDefaultCheckToleranceMm;  // --check-tolerance
    // The screen's size in millimetres (--screen-size); it takes the monitor's place. 0 x 0: none.
    double screenWidthMm = 0;
    double screenHeightMm = 0;
};

// Check points keep this far from the screen's edges, and from the calibration targets.
inline constexpr double kCheckMarginMm = 10.0;
// A touch this many tolerances away from its point was meant for something else.
inline constexpr double kSlipFactor = 10.0;
// A point is shown again at most this often after a slip.
inline constexpr int kMaxRepeats = 2;
// Where the size in millimetres is unknown, the margins and the slip distance are taken at the
// desktop's nominal 96 pixels per inch; the errors themselves stay in pixels.
inline constexpr double kNominalPixelsPerMm = 96.0 / 25.4;

enum class CheckInput { Touch, Mouse };
enum class CheckVerdict { Pass, Fail, PixelsOnly };

// Where the five check points lie: the centre, then one in each quarter of the screen (top left,
// top right, bottom right, bottom left). The quarter points lie at least kCheckMarginMm from
// the edges and, where the screen leaves room, as far from the fifteen calibration targets as
// that allows: a calibration is exact at its own targets, so only points between them show
// how good it is. Empty when the margins leave no room on the screen.
std::vector<CheckPoint> CheckPointsFor(const CheckScreen& screen);

// The result at one point.
struct CheckPointResult {
    CheckPoint target;
    double touchX = 0;
    double touchY = 0;
    CheckInput input = CheckInput::Touch;
    double errorPx = 0;
    std::optional<double> errorMm;  // none where the screen's size in millimetres is unknown
    int repeats = 0;                // how often the point was shown again after a slip
    bool within = false;            // within the tolerance (never where errorMm is unknown)
};

// A check run: the points one after another, the touches taken, the slips repeated, the
// verdict. Plain C++; the windows feed it touches and draw what it says.
class CalibrationCheck {
  public:
    enum class Taken { Accepted, Slip, Ignored };

    CalibrationCheck(const CheckScreen& screen, double toleranceMm);

    // False when the screen leaves no room for the points (then there is nothing to touch).
    bool feasible() const { return !points_.empty(); }
    const CheckScreen& screen() const { return screen_; }
    double toleranceMm() const { return toleranceMm_; }
    const std::vector<CheckPoint>& points() const { return points_; }
    // The point to touch now (0-based); points().size() once every point has its touch.
    int current() const { return static_cast<int>(results_.size()); }
    bool done() const { return feasible() && current() == static_cast<int>(points_.size()); }
    // How often the current point has been shown again.
    int repeats() const { return repeats_; }

    // A touch (or click) at (x, y) for the current point. A touch farther than kSlipFactor
    // tolerances from it is a slip and the point is shown again, at most kMaxRepeats times;
    // after that the touch counts as it is. Ignored once done.
    Taken Touch(double x, double y, CheckInput input);

    const std::vector<CheckPointResult>& results() const { return results_; }
    // Pass only when every point is within the tolerance; PixelsOnly where the size in
    // millimetres is unknown (a pixel error says nothing about the tolerance). Meaningful once
    // done().
    CheckVerdict verdict() const;
    // The largest error of the results so far, in millimetres (or pixels when unknown).
    double largestError() const;

    // The error in millimetres of an offset in pixels on `screen`; none where unknown.
    static std::optional<double> ErrorMm(const CheckScreen& screen, double dx, double dy);
    // Within the tolerance, compared at the precision the result shows (0.01 mm), bound
    // included: a touch exactly at the tolerance passes, as the table shows it equal to it.
    static bool Within(double errorMm, double toleranceMm);

  private:
    // The distance in millimetres (nominal ones where the size is unknown) of an offset.
    double SlipDistanceMm(double dx, double dy) const;

    CheckScreen screen_;
    double toleranceMm_;
    std::vector<CheckPoint> points_;
    std::vector<CheckPointResult> results_;
    int repeats_ = 0;
};

// The log lines of a finished or interrupted check: one per point taken, then the verdict
// (or how far the check got when it was left).
void LogCheckResult(const CalibrationCheck& check);

}  // namespace tavlin
