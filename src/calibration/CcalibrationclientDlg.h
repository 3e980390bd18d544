#pragma once
#include "calibration/CalibrationCheck.h"
#include "calibration/CalibrationWindow.h"

class QLabel;
class QScreen;

namespace tavlin {

// The client calibration window: full screen, one line of text; it sends nothing to the device
// and starts no worker. Below its text it offers the calibration check (Space), which needs
// nothing of the device either. Enter or Esc closes it, and it deletes itself.
class CcalibrationclientDlg : public CalibrationWindow {
    Q_OBJECT
  public:
    explicit CcalibrationclientDlg(QWidget* parent = nullptr);
    void Open(QScreen* screen);
    // For the check it offers.
    void SetCheckOptions(const CheckOptions& options);

  protected:
    bool SpacePressed() override;

  private:
    QLabel* text_ = nullptr;
    QLabel* offer_ = nullptr;
};

}  // namespace tavlin
