#pragma once
#include "base/Result.h"
#include "cli/CliArgs.h"
#include "cli/CliOutput.h"
#include "cli/Interruption.h"
#include "cli/RunReport.h"
#include "console/ConsoleView.h"
#include "console/ModeSwitcher.h"
#include "device/SharedState.h"

namespace tavlin::cli {

// `tavlin-cli level`: the leveling button's preamble, the leveling window's set-up, the preview
// worker's search and the asked-for number of preview cycles, the exposure adjustment when
// asked for, the pictures as PNG files when asked for, and the window's close (OK with 0xEE
// after an exposure attempt, Cancel with 0x22 otherwise). The status texts are printed in the
// order the window would show them. Ok when the search worked, the cycles ran, and the exposure
// (when asked for), the pictures and the close worked too; else the first failure. An
// interruption closes the window as its Cancel does (preview stopped, work mode 0x22).
// `level --png DIR`: makes sure DIR is a folder, creating it (and its parents) if need be, so a
// folder that cannot be had, or a build that cannot write pictures, stops the run before any
// device work. Ok for every other command.
Result PreparePictureFolder(const Invocation& invocation);

// `report` (when given) receives both sensors' optical parameters once the search has found
// them, the exposure values after an adjustment, and the paths of the pictures written.
Result RunLevel(const Invocation& invocation, SharedState& state, ConsoleView& mainWindow,
                ModeSwitcher& modes, CliOutput& out, Interruption& interruption,
                RunReport* report = nullptr);

}  // namespace tavlin::cli
