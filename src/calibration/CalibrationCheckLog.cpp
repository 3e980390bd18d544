#include "base/Log.h"
#include "calibration/CalibrationCheck.h"

namespace tavlin {
namespace {

const char* InputName(CheckInput input) {
    return input == CheckInput::Mouse ? "mouse" : "touch";
}

}  // namespace

void LogCheckResult(const CalibrationCheck& check) {
    const auto& results = check.results();
    for (size_t i = 0; i < results.size(); ++i) {
        const CheckPointResult& r = results[i];
        if (r.errorMm) {
            WriteLog(
                "Calibration check point %d: target (%d, %d), touch (%.1f, %.1f), error %.1f px "
                "%.2f mm, %s, repeats=%d\n",
                static_cast<int>(i) + 1, r.target.x, r.target.y, r.touchX, r.touchY, r.errorPx,
                *r.errorMm, InputName(r.input), r.repeats);
        } else {
            WriteLog(
                "Calibration check point %d: target (%d, %d), touch (%.1f, %.1f), error %.1f px "
                "(mm unknown), %s, repeats=%d\n",
                static_cast<int>(i) + 1, r.target.x, r.target.y, r.touchX, r.touchY, r.errorPx,
                InputName(r.input), r.repeats);
        }
    }
    if (!check.done()) {
        WriteLog("Calibration check stopped: %d of %d points touched\n",
                 static_cast<int>(results.size()), static_cast<int>(check.points().size()));
        return;
    }
    switch (check.verdict()) {
        case CheckVerdict::Pass:
        case CheckVerdict::Fail:
            WriteLog("Calibration check: %s, tolerance %.2f mm, largest error %.2f mm\n",
                     check.verdict() == CheckVerdict::Pass ? "PASS" : "FAIL", check.toleranceMm(),
                     check.largestError());
            break;
        case CheckVerdict::PixelsOnly:
            WriteLog(
                "Calibration check: no verdict, screen size in mm unknown, largest error %.1f px\n",
                check.largestError());
            break;
    }
}

}  // namespace tavlin
