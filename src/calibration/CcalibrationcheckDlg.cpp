#include "calibration/CcalibrationcheckDlg.h"

#include <QScreen>
#include <QWindow>

namespace tavlin {

CcalibrationcheckDlg::CcalibrationcheckDlg(const CheckOptions& options,
                                           std::function<void()> calibrateAgain, QWidget* parent)
    : CalibrationWindow(parent) {
    MakeCheckPanel()->SetOptions(options);
    SetCalibrateAgain(std::move(calibrateAgain));
}

void CcalibrationcheckDlg::SetVerdictGate(CalibrationCheckPanel::VerdictGate gate) {
    checkPanel()->SetVerdictGate(std::move(gate));
}

void CcalibrationcheckDlg::Open(QScreen* screen) {
    if (screen != nullptr) {
        create();
        windowHandle()->setScreen(screen);
        setGeometry(screen->geometry());
    }
    showFullScreen();
    checkPanel()->Start(CheckScreenOf(screen));
}

}  // namespace tavlin
