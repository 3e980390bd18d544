#pragma once
#include "base/Result.h"
#include "cli/CliArgs.h"
#include "cli/CliHost.h"
#include "cli/Interruption.h"
#include "cli/ProgressBar.h"
#include "cli/RunReport.h"
#include "console/ModeSwitcher.h"
#include "device/DeviceDetector.h"
#include "device/SharedState.h"

namespace tavlin::cli {

// What `tavlin-cli update` uses of the session: the same state, detection and mode switching
// as every other command.
struct UpdateContext {
    SharedState& state;
    CliHost& host;
    ProgressBar& progress;
    DeviceDetector& detector;
    ModeSwitcher& modes;
    Interruption& interruption;
    RunReport* report = nullptr;  // receives the images written, the versions read back, verified
};

// The firmware launcher, window, worker and OK exit, run without a person. Ok only when the
// images were written and the device left its update environment (and, with --verify, came
// back reporting the package's versions). An interruption leaves as the window's exit does in
// the state it finds: while preparing, the setup counts as failed (string 147) and the device
// returns to work mode; while images go out, the worker stops between packets and the device
// leaves its update environment - never reported as a success.
Result RunUpdate(const Invocation& invocation, UpdateContext& context);

}  // namespace tavlin::cli
