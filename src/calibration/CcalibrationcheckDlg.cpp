#include "calibration/CcalibrationcheckDlg.h"

#include <QKeyEvent>
#include <QScreen>
#include <QWindow>

#include "base/StringTable.h"
#include "calibration/CalibrationCheckPanel.h"
#include "calibration/CalibrationTexts.h"
#include "ui/DialogKeys.h"

namespace tavlin {

CcalibrationcheckDlg::CcalibrationcheckDlg(const CheckOptions& options,
                                           std::function<void()> calibrateAgain, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::FramelessWindowHint),
      calibrateAgain_(std::move(calibrateAgain)) {
    setWindowTitle(QString::fromStdString(Tr(caltext::kWindowCaption)));
    check_ = new CalibrationCheckPanel(this);
    check_->SetOptions(options);
    check_->SetCanCalibrateAgain(static_cast<bool>(calibrateAgain_));
    connect(check_, &CalibrationCheckPanel::accepted, this, &CcalibrationcheckDlg::reject);
    connect(check_, &CalibrationCheckPanel::calibrateAgain, this, [this] {
        const auto calibrateAgain = calibrateAgain_;
        reject();
        if (calibrateAgain) {
            calibrateAgain();
        }
    });
}

void CcalibrationcheckDlg::Open(QScreen* screen) {
    if (screen != nullptr) {
        create();
        windowHandle()->setScreen(screen);
        setGeometry(screen->geometry());
    }
    showFullScreen();
    check_->Start(CheckScreenOf(screen));
}

void CcalibrationcheckDlg::keyPressEvent(QKeyEvent* event) {
    if (!HandleDialogKey(*this, *event)) {
        QDialog::keyPressEvent(event);
    }
}

void CcalibrationcheckDlg::accept() {
    reject();
}

void CcalibrationcheckDlg::reject() {
    if (leaving_) {
        return;
    }
    leaving_ = true;
    check_->Stop();
    hide();
    deleteLater();
}

}  // namespace tavlin
