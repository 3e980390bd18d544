#pragma once
#include <QDialog>
#include <functional>

namespace tavlin {

class CalibrationCheck;
class CalibrationCheckPanel;

// What the calibration windows share: full screen without a caption, the calibration check on a
// panel of their own, and one way out. Enter, Esc, the check's "accept" and every other way out
// leave the window once: what it runs stops, the check too, and the window hides and deletes
// itself. Space starts the check where the window offers it.
class CalibrationWindow : public QDialog {
    Q_OBJECT
  public:
    explicit CalibrationWindow(QWidget* parent);

    // The check this window offers keeps a record: `started` runs as each check starts, and a
    // finished check's result shows only when `gate` calls its `show` (see
    // CalibrationCheckPanel::SetVerdictGate).
    void SetCheckRecordHooks(
        std::function<void()> started,
        std::function<void(const CalibrationCheck& check, std::function<void()> show)> gate);

  public slots:
    void accept() override;  // Enter
    void reject() override;  // Esc, the check's "accept", and the window's own ways out

  protected:
    // The check panel, made where it belongs among the window's controls (it covers those made
    // before it). Its "calibrate again" leaves the window and then runs what SetCalibrateAgain
    // gave; without that, its button is hidden.
    CalibrationCheckPanel* MakeCheckPanel();
    void SetCalibrateAgain(std::function<void()> calibrateAgain);
    CalibrationCheckPanel* checkPanel() const { return check_; }
    bool leaving() const { return leaving_; }

    // Space: true when the window took it to start the check it offers.
    virtual bool SpacePressed() { return false; }
    // On the way out, once: before the check stops and the window hides, and after it hid.
    virtual void StopWork() {}
    virtual void Left() {}

    void keyPressEvent(QKeyEvent* event) override;

  private:
    void Leave();

    CalibrationCheckPanel* check_ = nullptr;
    std::function<void()> calibrateAgain_;
    bool leaving_ = false;
};

}  // namespace tavlin
