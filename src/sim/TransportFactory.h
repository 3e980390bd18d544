#pragma once
#include <memory>
#include <string>

#include "device/HidTransport.h"

namespace tavlin::sim {

class SimTransport;

struct TransportOptions {
    bool simulate = false;
    std::string simFaults;  // the --sim-faults value (see FaultPlanParser.h)
};

// Takes --simulate and --sim-faults=VALUE (or --sim-faults VALUE) out of the command line,
// leaving the other arguments in order for the program's own parsing; argv[argc] stays null.
TransportOptions ConsumeTransportOptions(int* argc, char** argv);

struct CreatedTransport {
    std::unique_ptr<HidTransport> transport;  // null when the options were refused
    SimTransport* sim = nullptr;              // the same object when simulated: presence events
    explicit operator bool() const { return transport != nullptr; }
};

// The real devices (see SystemTransport.h), or the simulated device (attached, product id 0x0055)
// with its fault plan. Fails with a message for a fault plan that does not parse, or for faults
// asked without --simulate.
CreatedTransport CreateTransport(const TransportOptions& options, std::string* error);

}  // namespace tavlin::sim
