#pragma once
#include <optional>
#include <string>
#include <vector>

#include "cli/CliArgs.h"
#include "cli/RunEnd.h"
#include "cli/RunOptions.h"
#include "cli/RunReport.h"

namespace tavlin::cli {

// What the station knows of the port's last update, for update and detect.
struct PortUpdateHistory {
    std::optional<RunReport::InterruptedUpdate> unfinished;
    std::vector<RunReport::PackageFile> files;  // its package's files as written then
    std::string unreadable;                     // why the records could not be read
};

// Reads it for `port`; a database that cannot be read is told on stderr and in the log, and
// leaves the run as it was.
PortUpdateHistory ReadPortUpdateHistory(const RunOptions& options, const std::string& port,
                                        CliOutput& output);

// update --resume: takes the package of the port's unfinished update into *onDevice, read and
// checked as any package is (its signature included), and refuses it when its files differ
// from those written then, when there is nothing to resume, or when its image names would be
// read in another folder. Starts the run's log. The run's exit status when it is refused.
std::optional<int> PrepareResume(RunEnd& end, const std::string& port,
                                 const PortUpdateHistory& history, Invocation* onDevice,
                                 RunReport* report);

}  // namespace tavlin::cli
