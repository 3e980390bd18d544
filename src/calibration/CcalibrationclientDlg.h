#pragma once
#include <QDialog>

class QLabel;
class QScreen;

namespace tavlin {

// The client calibration window: full screen, one line of text; it sends nothing to the device
// and starts no worker. Enter or Esc closes it, and it deletes itself.
class CcalibrationclientDlg : public QDialog {
    Q_OBJECT
  public:
    explicit CcalibrationclientDlg(QWidget* parent = nullptr);
    void Open(QScreen* screen);

  public slots:
    void accept() override;
    void reject() override;

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QLabel* text_ = nullptr;
};

}  // namespace tavlin
