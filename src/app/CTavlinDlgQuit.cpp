// Ending the program from outside (a session logout, a station's supervisor, Ctrl+C in the
// terminal that started it): the same way out as the operator's, tool windows first.
#include "app/CTavlinDlg.h"
#include "calibration/CcalibrationcheckDlg.h"
#include "calibration/CcalibrationmpDlg.h"
#include "firmware/CfirmwareUpdateDlg.h"
#include "leveling/CsensorsetmpDlg.h"

namespace tavlin {

void CTavlinDlg::QuitFromSignal() {
    // The firmware window runs modally: its exec() returns once this slot is done, and this
    // window's own exec() after it.
    for (auto* firmware : findChildren<CfirmwareUpdateDlg*>()) {
        firmware->Quit();
    }
    for (auto* leveling : findChildren<CsensorsetmpDlg*>()) {
        leveling->reject();
    }
    for (auto* calibration : findChildren<CcalibrationmpDlg*>()) {
        calibration->reject();
    }
    for (auto* check : findChildren<CcalibrationcheckDlg*>()) {
        check->reject();  // a check left part way says so in the log
    }
    reject();
}

}  // namespace tavlin
