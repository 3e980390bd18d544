#pragma once
#include "cli/CliOutput.h"
#include "cli/RunOptions.h"
#include "cli/RunReport.h"

namespace tavlin::cli {

// results upload: every run waiting in the station database's outbox to the line's server.
// Exit 0 when nothing is left waiting (nothing waiting included), 1 otherwise, with a message.
int RunResultsUpload(const RunOptions& options, CliOutput& output, RunReport* report);

// After a device run has told its result: the outbox to the line's server, for a few seconds at
// most. It never changes the run's outcome; a failure is a warning on stderr and in the log.
void UploadAfterRun(const RunOptions& options);

}  // namespace tavlin::cli
