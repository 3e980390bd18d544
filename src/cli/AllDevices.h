#pragma once
#include <cstdio>
#include <string>
#include <vector>

#include "base/Result.h"
#include "cli/CliOutput.h"
#include "cli/Interruption.h"
#include "cli/RunReport.h"

namespace tavlin::cli {

// `--all`: the command on every attached device at once, one copy of this program per device
// with its `--device` and its own log folder. The copies stay independent: one device's fault
// never stops another's run. An interruption reaches every copy through its own exit path.
struct AllDevicesRun {
    std::string program;  // this program
    // The options every copy takes (RunOptions::handedToCopies), then the command.
    std::vector<std::string> arguments;
    std::string logDir;  // each copy logs into logDir/PORT ("" = here)
};

// The arguments of one device's copy: `arguments`, then the copy's own --device, --json and
// --log-dir. The copy is kept to its device's port only
// when `several` devices are attached: a lone one is followed wherever its restart brings it.
std::vector<std::string> DeviceRunArguments(const std::vector<std::string>& arguments,
                                            const std::string& port, const std::string& logDir,
                                            bool several);
// A port as one folder's name: the characters Windows refuses in a file name become '_'.
std::string PortFolderName(const std::string& port);
// The log folder of one device's copy: logDir/PORT ("" = here).
std::string DeviceLogFolder(const std::string& logDir, const std::string& port);

// Before any copy starts: logDir and every device's folder in it can be had and written. A copy
// would refuse its folder only once started, and the run would then pass for one where every
// device failed. On refusal *message is the text for the person who asked, naming the folder.
Result CheckDeviceLogFolders(const std::string& logDir, const std::vector<std::string>& ports,
                             std::string* message);

// Runs them all and waits for every one. Each device's object (as its copy wrote it, with its
// "port") goes into report->deviceRuns; a summary for people into `output`. 0 only when every
// device succeeded, else 1. A copy succeeded only when both its object and its process say so:
// one that ended without its object, by a signal, or with a status its object does not tell
// failed, whatever it printed.
int RunOnAllDevices(const AllDevicesRun& run, const std::vector<std::string>& ports,
                    CliOutput& output, Interruption& interruption, RunReport* report);

}  // namespace tavlin::cli
