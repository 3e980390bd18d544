#pragma once
#include <memory>
#include <string>
#include <vector>

#include "cli/CliOutput.h"
#include "cli/RunReport.h"
#include "device/DeviceChoice.h"

namespace tavlin::cli {

// A text in the user's language with its %s and %d filled in, in order.
std::string Say(const char* builtIn, const std::vector<std::string>& values);

// list: one line per attached device of ours (port, product id, what it runs, path); exit 0
// when there is one at least, else the no-device text and exit 3.
int RunList(HidTransport& transport, CliOutput& output, RunReport* report);

// Which device a run works on. With a port asked for, only that port's; without one, the one
// device attached (pinned to its port, so its restart is followed there and nowhere else), or
// none when several are attached - then *refusal names their ports. No device attached: no
// choice yet, the run's own detection tells.
struct DeviceChoice {
    std::unique_ptr<PortFilterTransport> transport;  // null: every device (none was attached)
    std::string refusal;
};
DeviceChoice ChooseDevice(HidTransport& session, HidTransport& listing, const std::string& port);

}  // namespace tavlin::cli
