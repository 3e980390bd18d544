#pragma once
#include <functional>

#include "calibration/CalibrationCheck.h"
#include "calibration/CalibrationCheckPanel.h"
#include "calibration/CalibrationWindow.h"

class QScreen;

namespace tavlin {

// The calibration check on a window of its own (tavlin --check-calibration), for a unit
// calibrated earlier: full screen without a caption, the check starts at once. It sends nothing
// to the device. Esc, Enter and "accept" close it; "calibrate again" closes it and then starts
// the calibration the launcher's way. It deletes itself once closed.
class CcalibrationcheckDlg : public CalibrationWindow {
    Q_OBJECT
  public:
    // Without `calibrateAgain` that button is hidden.
    CcalibrationcheckDlg(const CheckOptions& options, std::function<void()> calibrateAgain,
                         QWidget* parent = nullptr);
    void Open(QScreen* screen);
    // See CalibrationCheckPanel::SetVerdictGate.
    void SetVerdictGate(CalibrationCheckPanel::VerdictGate gate);
};

}  // namespace tavlin
