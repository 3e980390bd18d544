#include "calibration/CcalibrationcheckDlg.h"

#include <QScreen>
#include <QWindow>

#include "calibration/CalibrationCheckPanel.h"

namespace tavlin {

CcalibrationcheckDlg::CcalibrationcheckDlg(const CheckOptions& options,
                                           std::function<void()> calibrateAgain, QWidget* parent)
    : CalibrationWindow(parent) {
    MakeCheckPanel()->SetOptions(options);
    SetCalibrateAgain(std::move(calibrateAgain));
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
