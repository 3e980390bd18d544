#include "calibration/CalibrationWindowBridge.h"

#include "calibration/CcalibrationmpDlg.h"

namespace tavlin {

CalibrationWindowBridge::CalibrationWindowBridge(CcalibrationmpDlg* dialog) : calls_(dialog) {}

void CalibrationWindowBridge::Queue(std::function<void(CcalibrationmpDlg&)> fn) {
    calls_.Post(std::move(fn));
}

void CalibrationWindowBridge::SetInstructionText(const std::string& text) {
    Queue([text](CcalibrationmpDlg& d) { d.SetInstructionText(text); });
}

void CalibrationWindowBridge::DrawTarget(int target, int x, int y, Crosshair mode) {
    Queue([target, x, y, mode](CcalibrationmpDlg& d) { d.DrawTarget(target, x, y, mode); });
}

void CalibrationWindowBridge::RequestClose() {
    Queue([](CcalibrationmpDlg& d) { d.WorkerEnded(); });
}

ScreenSize CalibrationWindowBridge::CurrentScreenSize() const {
    return {width_.load(), height_.load()};
}

void CalibrationWindowBridge::SetCurrentScreenSize(int width, int height) {
    width_ = width;
    height_ = height;
}

}  // namespace tavlin
