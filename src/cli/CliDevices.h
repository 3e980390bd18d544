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

}  // namespace tavlin::cli
