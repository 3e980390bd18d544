#pragma once
#include <QWidget>
#include <functional>
#include <memory>

#include "calibration/CalibrationCheck.h"

class QLabel;
class QLineEdit;
class QScreen;

namespace tavlin {

class CalibrationCheckResultView;
class CrosshairControl;

// The screen a window is on, as the check sees it: pixels from its geometry, millimetres from
// the size the system reports (none where it reports none, or only one made up from a DPI).
CheckScreen CheckScreenOf(const QScreen* screen);

// The calibration check on a full-screen window: it covers its window, shows the check points
// one after another as crosshairs, takes the operator's touches as any application receives
// them (the first contact's position when it lifts) and mouse clicks (marked as such), and then
// shows the result. The window it sits on decides what its buttons do.
//
// Its millimetres come from --screen-size (SetOptions) before the monitor's. Where neither
// gives a real size the panel asks for it in a field first: a verdict in millimetres must not
// rest on a size the system made up. Enter with a size starts the check with it; Enter alone
// starts a check in pixels only (no verdict).
class CalibrationCheckPanel : public QWidget {
    Q_OBJECT
  public:
    explicit CalibrationCheckPanel(QWidget* parent);
    ~CalibrationCheckPanel() override;

    // Covers the parent and starts a check on `screen`, or asks for its size first.
    void Start(const CheckScreen& screen);
    // The command line's tolerance and screen size, for the checks started from now on.
    void SetOptions(const CheckOptions& options) { options_ = options; }
    // Waiting for the size to be typed.
    bool AskingForSize() const;
    // The window is closing: a check left part way says so in the log.
    void Stop();
    // A check is under way (points still to touch).
    bool Touching() const;
    bool ShowingResult() const;
    const CalibrationCheck* check() const { return check_.get(); }
    void SetCanCalibrateAgain(bool can);
    // Called with a finished check instead of showing its result at once: the result shows
    // when the gate calls `show` (the window keeps the check's record first). `show` may be
    // called after the panel is gone; it then does nothing.
    using VerdictGate =
        std::function<void(const CalibrationCheck& check, std::function<void()> show)>;
    void SetVerdictGate(VerdictGate gate) { gate_ = std::move(gate); }
    // Runs as each check starts (the window keeps its record from then on).
    void SetStartHook(std::function<void()> hook) { startHook_ = std::move(hook); }

  signals:
    void accepted();
    void calibrateAgain();

  protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void StartCheck(const CheckScreen& screen);
    void LayOut();
    void SizeEntered();
    void Take(QPointF at, CheckInput input);
    void ShowPoint(const char* text);
    void ShowResult();

    CheckOptions options_;
    CheckScreen asked_;  // the screen whose size the field asks for
    bool asking_ = false;
    std::unique_ptr<CalibrationCheck> check_;
    QLabel* instruction_ = nullptr;
    QLineEdit* sizeField_ = nullptr;
    CrosshairControl* crosshair_ = nullptr;
    CalibrationCheckResultView* result_ = nullptr;
    int contact_ = -1;  // the id of the touch being followed, -1 for none
    VerdictGate gate_;
    std::function<void()> startHook_;
};

}  // namespace tavlin
