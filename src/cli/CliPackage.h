#pragma once
#include <memory>

#include "base/Result.h"
#include "cli/CliArgs.h"
#include "cli/CliOutput.h"
#include "cli/RunReport.h"
#include "firmware/LoadedPackage.h"

namespace tavlin::cli {

// package manifest PKG.ini, package verify PKG.ini: no device, no log of a device run.
int RunPackage(const Invocation& invocation, CliOutput& output, RunReport* report);

// update, before the device is opened: reads the package and its images once and checks them
// (signature, hashes, the station's policy). Ok with the package whose bytes the update is to
// write; refused with the reason told on stderr, and nothing asked of any device.
Result CheckUpdatePackage(const Invocation& invocation, CliOutput& output, RunReport* report,
                          std::shared_ptr<const LoadedPackage>* package);

}  // namespace tavlin::cli
