#pragma once
#include "cli/CliArgs.h"
#include "cli/CliOutput.h"
#include "cli/RunOptions.h"
#include "cli/RunReport.h"

namespace tavlin::cli {

// results: the station database's last runs, newest first, one line each (start, port, command,
// outcome, exit status, run id); with --json their records go into the object as "runs".
// results export: every matching run into a JSON file (one object per run, with its unit, steps,
// measurements, artefacts and images) or a CSV file (one row per measurement).
// Exit 1 where there is no database to read or the file cannot be written.
int RunResults(const Invocation& invocation, const RunOptions& options, CliOutput& output,
               RunReport* report);

}  // namespace tavlin::cli
