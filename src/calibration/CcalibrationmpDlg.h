#pragma once
#include <functional>
#include <memory>
#include <string>

#include "calibration/CalibrationCheck.h"
#include "calibration/CalibrationDataThread.h"
#include "calibration/CalibrationView.h"
#include "calibration/CalibrationWindow.h"
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
// stopped, the window goes and the device is returned to work mode. A calibration that
// completed returns the device to work mode at once and, once the device has taken it, offers
// the calibration check on the same window (Space) before the operator leaves.
class CcalibrationmpDlg : public CalibrationWindow {
    Q_OBJECT
  public:
    // Returns the device to work mode; true when the device took it.
    using ReturnToWorkMode = std::function<bool()>;

    // `returnToWorkMode` runs once the calibration has completed, or else once the window has
    // closed.
    CcalibrationmpDlg(SharedState& state, ReturnToWorkMode returnToWorkMode,
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
    // The worker has ended (queued by it): a completed calibration offers the check, any other
    // end closes the window.
    void WorkerEnded();

    // The check's options, and what its "calibrate again" does (the launcher's way; without
    // it the button is hidden). The window closes first.
    void SetCheckOptions(const CheckOptions& options, std::function<void()> calibrateAgain);
    // Runs once as the calibration ends (completed, failed, left, or the window destroyed
    // first) with its outcome; what the window says of a completed one (the offer of the check)
    // shows only when the gate calls `show`, on the UI thread, once the calibration is
    // recorded. `show` may be called after the window is gone; it then does nothing.
    using EndGate = std::function<void(const Result& outcome, std::function<void()> show)>;
    void SetEndGate(EndGate gate) { endGate_ = std::move(gate); }

    // Space while the check is offered.
    void StartCheck();
    bool CheckOffered() const { return checkOffered_; }

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool SpacePressed() override;
    void StopWork() override;
    void Left() override;

  private:
    void LayOut(const QRect& screenGeometry);
    void StartCalibration();
    void Report(const Result& outcome, std::function<void()> show);

    SharedState& state_;
    ReturnToWorkMode returnToWorkMode_;
    std::unique_ptr<CalibrationWindowBridge> bridge_;
    std::unique_ptr<CalibrationDataThread> worker_;
    QLabel* instruction_ = nullptr;
    CrosshairControl* crosshair_ = nullptr;
    QPushButton* exitButton_ = nullptr;
    bool backInWorkMode_ = false;  // the return to work mode was made already
    bool checkOffered_ = false;
    bool started_ = false;   // the worker was started
    bool reported_ = false;  // the end gate had its call
    EndGate endGate_;
};

}  // namespace tavlin
