#pragma once
#include <QDialog>

#include "calibration/CalibrationCheck.h"

class QLabel;
class QScreen;

namespace tavlin {

class CalibrationCheckPanel;

// The client calibration window: full screen, one line of text; it sends nothing to the device
// and starts no worker. Below its text it offers the calibration check (Space), which needs
// nothing of the device either. Enter or Esc closes it, and it deletes itself.
class CcalibrationclientDlg : public QDialog {
    Q_OBJECT
  public:
    explicit CcalibrationclientDlg(QWidget* parent = nullptr);
    void Open(QScreen* screen);
    // For the check it offers.
    void SetCheckOptions(const CheckOptions& options);

  public slots:
    void accept() override;
    void reject() override;

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QLabel* text_ = nullptr;
    QLabel* offer_ = nullptr;
    CalibrationCheckPanel* check_ = nullptr;
    bool leaving_ = false;
};

}  // namespace tavlin
