#include "calibration/CalibrationWindowBridge.h"

#include <QMetaObject>

#include "calibration/CcalibrationmpDlg.h"

namespace tavlin {

CalibrationWindowBridge::CalibrationWindowBridge(CcalibrationmpDlg* dialog) : dialog_(dialog) {}

void CalibrationWindowBridge::Queue(std::function<void(CcalibrationmpDlg&)> fn) {
    CcalibrationmpDlg* dialog = dialog_.data();
    if (dialog == nullptr) {
        return;
    }
    // The dialog is the context object: if it is destroyed before the call runs, Qt drops it.
    QMetaObject::invokeMethod(
        dialog, [dialog, fn = std::move(fn)] { fn(*dialog); }, Qt::QueuedConnection);
}

void CalibrationWindowBridge::SetInstructionText(const std::string& text) {
    Queue([text](CcalibrationmpDlg& d) { d.SetInstructionText(text); });
}

void CalibrationWindowBridge::DrawTarget(int target, int x, int y, Crosshair mode) {
    Queue([target, x, y, mode](CcalibrationmpDlg& d) { d.DrawTarget(target, x, y, mode); });
}

void CalibrationWindowBridge::RequestClose() {
    Queue([](CcalibrationmpDlg& d) { d.reject(); });
}

ScreenSize CalibrationWindowBridge::CurrentScreenSize() const {
    return {width_.load(), height_.load()};
}

void CalibrationWindowBridge::SetCurrentScreenSize(int width, int height) {
    width_ = width;
    height_ = height;
}

}  // namespace tavlin
