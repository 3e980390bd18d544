#pragma once
#include <string>
#include <vector>

#include "cli/CliOutput.h"
#include "cli/CliSession.h"
#include "cli/RunReport.h"
#include "device/AttachedDevices.h"

namespace tavlin::cli {

// list: one line per attached device of ours (port, product id, what it runs, path); exit 0
// when there is one at least, else the no-device text and exit 3.
int RunList(HidTransport& transport, CliOutput& output, RunReport* report);

// Which device a run works on. With a port asked for, only that port's, kept to it: its
// restart is followed there and nowhere else; refused (exit 3) when devices are attached but none
// on that port, naming their ports. Without one, the one device attached, not kept to its port: a
// lone device is followed wherever its restart brings it back (a hub may give it another port;
// the system may tell no port at all). With several attached, none - then the refusal (exit 2)
// names their ports. No device attached: no choice yet, the run's own detection tells. Without
// `listing` (a replay, whose recording holds no such look) nothing is looked at: only the port
// asked for is kept to.
struct DeviceChoice {
    std::string keptPort;  // the run's HidDevice keeps to it (Invocation::keptPort); empty: any
    std::string port;      // where the chosen device is (asked for, or the lone one's at the start)
    std::string refusal;
    int refusalStatus = kExitUsage;
};
DeviceChoice ChooseDevice(HidTransport* listing, const std::string& port);

}  // namespace tavlin::cli
