#include "calibration/CalibrationWindow.h"

#include <QKeyEvent>

#include "base/StringTable.h"
#include "calibration/CalibrationCheckPanel.h"
#include "calibration/CalibrationTexts.h"
#include "ui/DialogKeys.h"

namespace tavlin {

CalibrationWindow::CalibrationWindow(QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::FramelessWindowHint) {
    setWindowTitle(QString::fromStdString(Tr(caltext::kWindowCaption)));
}

CalibrationCheckPanel* CalibrationWindow::MakeCheckPanel() {
    check_ = new CalibrationCheckPanel(this);
    connect(check_, &CalibrationCheckPanel::accepted, this, &CalibrationWindow::reject);
    connect(check_, &CalibrationCheckPanel::calibrateAgain, this, [this] {
        const auto calibrateAgain = calibrateAgain_;
        Leave();
        if (calibrateAgain) {
            calibrateAgain();
        }
    });
    return check_;
}

void CalibrationWindow::SetCheckRecordHooks(
    std::function<void()> started,
    std::function<void(const CalibrationCheck& check, std::function<void()> show)> gate) {
    check_->SetStartHook(std::move(started));
    check_->SetVerdictGate(std::move(gate));
}

void CalibrationWindow::SetCalibrateAgain(std::function<void()> calibrateAgain) {
    calibrateAgain_ = std::move(calibrateAgain);
    check_->SetCanCalibrateAgain(static_cast<bool>(calibrateAgain_));
}

void CalibrationWindow::accept() {
    Leave();
}

void CalibrationWindow::reject() {
    Leave();
}

void CalibrationWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && SpacePressed()) {
        return;
    }
    if (!HandleDialogKey(*this, *event)) {
        QDialog::keyPressEvent(event);
    }
}

void CalibrationWindow::Leave() {
    if (leaving_) {
        return;  // a second way out (the worker's close request after the operator left)
    }
    leaving_ = true;
    StopWork();
    check_->Stop();
    hide();
    deleteLater();
    Left();
}

}  // namespace tavlin
