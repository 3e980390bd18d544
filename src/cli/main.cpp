// tavlin-cli: the headless front end for production lines and service scripts.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/CliArgs.h"
#include "cli/CliCalibrate.h"
#include "cli/CliLanguage.h"
#include "cli/CliSession.h"
#include "cli/QuitSignalWatch.h"
#include "device/HidDevice.h"
#include "sim/TransportFactory.h"

int main(int argc, char** argv) {
    const auto transportOptions = tavlin::sim::ConsumeTransportOptions(&argc, argv);
    tavlin::cli::CliLanguage language(argc, argv);
    std::vector<std::string> args(argv + 1, argv + argc);

    tavlin::cli::Invocation invocation;
    std::string error;
    if (!tavlin::cli::ParseInvocation(args, &invocation, &error)) {
        std::fprintf(stderr, "tavlin-cli: %s (see --help)\n", error.c_str());
        return tavlin::cli::kExitUsage;
    }
    if (invocation.command == tavlin::cli::Command::Help) {
        std::fputs(tavlin::cli::UsageText(), stdout);
        return tavlin::cli::kExitSuccess;
    }

    if (invocation.command == tavlin::cli::Command::Layout) {
        return tavlin::cli::RunLayout(invocation, stdout);  // no device, no log
    }

    auto transport = tavlin::sim::CreateTransport(transportOptions, &error);
    if (!transport) {
        std::fprintf(stderr, "tavlin-cli: %s\n", error.c_str());
        return tavlin::cli::kExitUsage;
    }
    // From before the log starts to after it ends: a signal in between takes the exit path.
    tavlin::cli::Interruption interruption;
    const tavlin::cli::QuitSignalWatch quitSignals(interruption);
    return tavlin::cli::RunSession(invocation, *transport.transport, transport.sim, stdout,
                                   tavlin::kTransferTimeoutMs, &interruption);
}
