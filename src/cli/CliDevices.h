#pragma once
#include <memory>
#include <string>
#include <vector>

#include "cli/CliOutput.h"
#include "cli/CliSession.h"
#include "cli/RunReport.h"
#include "device/DeviceChoice.h"

namespace tavlin::cli {

// A text in the user's language with its %s and %d filled in, in order.
std::string Say(const char* builtIn, const std::vector<std::string>& values);

// list: one line per attached device of ours (port, product id, what it runs, path); exit 0
// when there is one at least, else the no-device text and exit 3.
int RunList(HidTransport& transport, CliOutput& output, RunReport* report);

// Which device a run works on. With a port asked for, only that port's, refused (exit 3) when
// devices are attached but none on that port, naming their ports; without one, the one device
// attached (pinned to its port, so its restart is followed there and nowhere else), or none when
// several are attached - then the refusal (exit 2) names their ports. No device attached: no
// choice yet, the run's own detection tells. Without `listing` (a replay, whose recording holds
// no such look) nothing is looked at: only the port asked for is kept to.
struct DeviceChoice {
    std::unique_ptr<PortFilterTransport> transport;  // null: every device (none was attached)
    std::string refusal;
    int refusalStatus = kExitUsage;
};
DeviceChoice ChooseDevice(HidTransport& session, HidTransport* listing, const std::string& port);

}  // namespace tavlin::cli
