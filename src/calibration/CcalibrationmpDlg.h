#pragma once
#include <QDialog>
#include <functional>
#include <memory>
#include <string>

#include "calibration/CalibrationDataThread.h"
#include "calibration/CalibrationView.h"
#include "device/SharedState.h"

class QLabel;
class QPushButton;
class QScreen;

namespace tavlin {

class CalibrationWindowBridge;
class CrosshairControl;

// The production touch calibration window: full screen without a caption, one instruction line
// at the top and a crosshair that the calibration worker moves from target to target. When the
// worker ends, or the operator leaves (Esc, Enter, the hidden exit button), the worker is
// stopped, the window goes and the device is returned to work mode.
class CcalibrationmpDlg : public QDialog {
    Q_OBJECT
  public:
    // `returnToWorkMode` runs once the window has closed.
    CcalibrationmpDlg(SharedState& state, std::function<void()> returnToWorkMode,
                      QWidget* parent = nullptr, CalibrationDataThread::Timing timing = {});
    ~CcalibrationmpDlg() override;

    // Shows the window on `screen` (the one that holds the main window), lays it out for that
    // screen and starts the worker when a device is there. The object deletes itself once
    // closed.
    void Open(QScreen* screen);

    // UI thread, queued by the worker.
    void SetInstructionText(const std::string& text);
    void DrawTarget(int target, int x, int y, CalibrationView::Crosshair mode);
    std::string InstructionText() const;

  public slots:
    void accept() override;  // Enter
    void reject() override;  // Esc, the exit button, and the worker's close request

  protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void LayOut(const QRect& screenGeometry);
    void StartCalibration();
    void Leave();

    SharedState& state_;
    std::function<void()> returnToWorkMode_;
    std::unique_ptr<CalibrationWindowBridge> bridge_;
    std::unique_ptr<CalibrationDataThread> worker_;
    QLabel* instruction_ = nullptr;
    CrosshairControl* crosshair_ = nullptr;
    QPushButton* exitButton_ = nullptr;
    bool leaving_ = false;
};

}  // namespace tavlin
