#pragma once
#include "device/SharedState.h"

namespace tavlin {

class CommandThread;
class FpgaDownload;
class ScriptRunner;

// Leaving the program. The front end calls StopWorkers, then closes the device and runs
// ShutdownCleanup (the window's Exit/Cancel and OK paths order these as they need).
//
// Stops, in this order, the script runner, the FPGA download and the command thread, each only
// if it runs and each waited for until it has ended; a worker that ended just before is joined
// without a wait that could miss its end. Null pointers are workers this front end does not own.
void StopWorkers(SharedState& state, ScriptRunner* script, FpgaDownload* fpga,
                 CommandThread* commandThread);

// Releases the preview buffers, clears the burst-file-used and versions-shown flags and writes
// the log's end line.
void ShutdownCleanup(SharedState& state);

}  // namespace tavlin
