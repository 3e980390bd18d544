#pragma once
#include <string>
#include <vector>

#include "calibration/CalibrationDataThread.h"
#include "cli/CliArgs.h"
#include "cli/CliOutput.h"
#include "cli/Interruption.h"
#include "cli/RunReport.h"
#include "console/ConsoleView.h"
#include "console/ModeSwitcher.h"
#include "device/SharedState.h"

namespace tavlin::cli {

// "1920x1080": two decimal numbers of 1 to 32767 (the device takes 16-bit positions).
bool ParseScreenSize(const std::string& text, int* width, int* height);

// layout WxH | calibrate [--screen WxH]: the arguments after the command name.
bool ParseCalibrationCommand(const std::string& name, const std::vector<std::string>& args,
                             Invocation* out, std::string* error);

// The fifteen targets of a width x height screen in visiting order, with their positions and
// codes as the calibration sends them.
std::vector<RunReport::Target> LayoutTargets(int width, int height);

// Prints the targets in visiting order, "N x y code" one a line; `report` (when given) receives
// them. Needs no device and no log.
int RunLayout(const Invocation& invocation, CliOutput& out, RunReport* report = nullptr);

// The calibration launcher, the window's set-up and the calibration worker, headless: every
// instruction text is printed, and "target N (x, y)" each time the crosshair moves to a new
// target. Ok only once the calibration completed and the device took the work mode back. An
// interruption closes it as the window's cancel does, the return to work mode included. Once
// the device took the work mode back the main window's status text says so (string 134).
// `report` (when given) receives the screen and, once the calibration began, the targets.
Result RunCalibrate(const Invocation& invocation, SharedState& state, ConsoleView& host,
                    ModeSwitcher& modes, CliOutput& out, Interruption& interruption,
                    RunReport* report = nullptr, CalibrationDataThread::Timing timing = {});

}  // namespace tavlin::cli
