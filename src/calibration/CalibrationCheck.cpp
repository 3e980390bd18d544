#include "calibration/CalibrationCheck.h"

#include <algorithm>
#include <cmath>

#include "calibration/CalibrationLayout.h"

namespace tavlin {
namespace {

// Fractions of the screen tried for the quarter points, the plain quarter first.
constexpr double kFractions[] = {0.25, 0.2, 0.3, 0.15, 0.35};

struct Density {
    double x;  // pixels per millimetre
    double y;
};

Density DensityOf(const CheckScreen& s) {
    if (!s.HasPhysicalSize()) {
        return {kNominalPixelsPerMm, kNominalPixelsPerMm};
    }
    return {s.width / s.widthMm, s.height / s.heightMm};
}

// The distance in millimetres (nominal ones where the size is unknown) from p to the nearest
// calibration target.
double DistanceToTargets(const CheckPoint& p, const CalibrationLayout& layout, Density d) {
    double nearest = INFINITY;
    for (const CalTarget& t : layout.targets) {
        nearest = std::min(nearest, std::hypot((p.x - t.x) / d.x, (p.y - t.y) / d.y));
    }
    return nearest;
}

}  // namespace

std::vector<CheckPoint> CheckPointsFor(const CheckScreen& screen) {
    const int w = screen.width;
    const int h = screen.height;
    const Density d = DensityOf(screen);
    const int mx = static_cast<int>(std::ceil(kCheckMarginMm * d.x));
    const int my = static_cast<int>(std::ceil(kCheckMarginMm * d.y));
    const int cx = w / 2;
    const int cy = h / 2;
    // Each quarter point needs a pixel of its own between its margin and the centre.
    if (w <= 0 || h <= 0 || cx - 1 < mx || w - 1 - mx < cx + 1 || cy - 1 < my ||
        h - 1 - my < cy + 1) {
        return {};
    }
    const CalibrationLayout layout = ComputeCalibrationLayout(w, h);
    std::vector<CheckPoint> points{{cx, cy}};
    // Top left, top right, bottom right, bottom left.
    const bool rightSide[] = {false, true, true, false};
    const bool lowerSide[] = {false, false, true, true};
    for (int q = 0; q < 4; ++q) {
        CheckPoint best;
        double bestDistance = -1;
        for (double fy : kFractions) {
            for (double fx : kFractions) {
                const int x = rightSide[q]
                                  ? std::clamp(w - static_cast<int>(fx * w), cx + 1, w - 1 - mx)
                                  : std::clamp(static_cast<int>(fx * w), mx, cx - 1);
                const int y = lowerSide[q]
                                  ? std::clamp(h - static_cast<int>(fy * h), cy + 1, h - 1 - my)
                                  : std::clamp(static_cast<int>(fy * h), my, cy - 1);
                const CheckPoint p{x, y};
                const double distance = DistanceToTargets(p, layout, d);
                if (distance > bestDistance) {
                    best = p;
                    bestDistance = distance;
                }
                if (distance >= kCheckMarginMm) {
                    break;  // far enough: the earliest such fraction wins
                }
            }
            if (bestDistance >= kCheckMarginMm) {
                break;
            }
        }
        points.push_back(best);
    }
    return points;
}

CalibrationCheck::CalibrationCheck(const CheckScreen& screen, double toleranceMm)
    : screen_(screen), toleranceMm_(toleranceMm), points_(CheckPointsFor(screen)) {}

std::optional<double> CalibrationCheck::ErrorMm(const CheckScreen& screen, double dx, double dy) {
    if (!screen.HasPhysicalSize()) {
        return std::nullopt;
    }
    return std::hypot(dx * screen.widthMm / screen.width, dy * screen.heightMm / screen.height);
}

bool CalibrationCheck::Within(double errorMm, double toleranceMm) {
    return std::round(errorMm * 100) <= std::round(toleranceMm * 100);
}

double CalibrationCheck::SlipDistanceMm(double dx, double dy) const {
    const Density d = DensityOf(screen_);
    return std::hypot(dx / d.x, dy / d.y);
}

CalibrationCheck::Taken CalibrationCheck::Touch(double x, double y, CheckInput input) {
    if (!feasible() || done() || !std::isfinite(x) || !std::isfinite(y)) {
        return Taken::Ignored;
    }
    const CheckPoint& target = points_[results_.size()];
    const double dx = x - target.x;
    const double dy = y - target.y;
    if (SlipDistanceMm(dx, dy) > kSlipFactor * toleranceMm_ && repeats_ < kMaxRepeats) {
        ++repeats_;
        return Taken::Slip;
    }
    CheckPointResult r;
    r.target = target;
    r.touchX = x;
    r.touchY = y;
    r.input = input;
    r.errorPx = std::hypot(dx, dy);
    r.errorMm = ErrorMm(screen_, dx, dy);
    r.repeats = repeats_;
    r.within = r.errorMm.has_value() && Within(*r.errorMm, toleranceMm_);
    results_.push_back(r);
    repeats_ = 0;
    return Taken::Accepted;
}

CheckVerdict CalibrationCheck::verdict() const {
    if (!screen_.HasPhysicalSize()) {
        return CheckVerdict::PixelsOnly;
    }
    const bool all = std::all_of(results_.begin(), results_.end(),
                                 [](const CheckPointResult& r) { return r.within; });
    return done() && all ? CheckVerdict::Pass : CheckVerdict::Fail;
}

double CalibrationCheck::largestError() const {
    double largest = 0;
    for (const CheckPointResult& r : results_) {
        largest = std::max(largest, r.errorMm.value_or(r.errorPx));
    }
    return largest;
}

}  // namespace tavlin
