#pragma once
#include <string>

namespace tavlin {

struct ScreenSize {
    int width = 0;
    int height = 0;
};

// What the calibration worker needs of its window. The worker calls these from its own thread,
// so every call must return at once: the window queues the work to its UI thread, the
// command-line front end prints.
class CalibrationView {
  public:
    enum class Crosshair { Cross, Blank };

    virtual ~CalibrationView() = default;

    // The instruction line (control 1057).
    virtual void SetInstructionText(const std::string& text) = 0;
    // The finishing phase's percentage (0 to 100), called once or more per value. The window
    // shows it as the instruction text with the percentage; a terminal can redraw one line.
    virtual void ShowFinishing(int percent);
    // Moves the 40 x 40 crosshair control so that its centre is (x, y) and draws the cross
    // there or blanks it; `target` is the target's number, 0 to 14.
    virtual void DrawTarget(int target, int x, int y, Crosshair mode) = 0;
    // The worker has ended: the window closes through its cancel path, or, after a completed
    // run, returns the device to work mode and offers the calibration check.
    virtual void RequestClose() = 0;
    // The size of the screen the window is on now. Any thread.
    virtual ScreenSize CurrentScreenSize() const = 0;
};

}  // namespace tavlin
