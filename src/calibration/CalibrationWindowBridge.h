#pragma once
#include <atomic>
#include <functional>

#include "calibration/CalibrationView.h"
#include "ui/QueuedCalls.h"

namespace tavlin {

class CcalibrationmpDlg;

// The calibration window as its worker sees it. Every call comes from the worker's thread and
// returns at once: the work is queued to the window's thread and dropped if the window is gone
// by then, so the worker never waits for the UI (nor the UI, closing, for a worker call).
class CalibrationWindowBridge : public CalibrationView {
  public:
    explicit CalibrationWindowBridge(CcalibrationmpDlg* dialog);

    void SetInstructionText(const std::string& text) override;
    void DrawTarget(int target, int x, int y, Crosshair mode) override;
    void RequestClose() override;
    ScreenSize CurrentScreenSize() const override;

    // UI thread: the size of the screen the window is on now.
    void SetCurrentScreenSize(int width, int height);
    // The window's thread: from now on every call is dropped.
    void Detach() { calls_.Detach(); }

  private:
    void Queue(std::function<void(CcalibrationmpDlg&)> fn);

    QueuedCalls<CcalibrationmpDlg> calls_;
    std::atomic<int> width_{0};
    std::atomic<int> height_{0};
};

}  // namespace tavlin
