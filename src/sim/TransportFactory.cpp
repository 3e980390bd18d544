#include "sim/TransportFactory.h"

#include <cstring>
#include <string_view>

#include "device/SystemTransport.h"
#include "sim/FaultPlanParser.h"
#include "sim/SimTransport.h"

namespace tavlin::sim {
namespace {

constexpr std::string_view kSimulate = "--simulate";
constexpr std::string_view kSimFaults = "--sim-faults";

}  // namespace

TransportOptions ConsumeTransportOptions(int* argc, char** argv) {
    TransportOptions options;
    int kept = argc != nullptr && *argc > 0 ? 1 : 0;  // argv[0], the program
    for (int i = kept; i < *argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == kSimulate) {
            options.simulate = true;
        } else if (arg.substr(0, kSimFaults.size() + 1) == std::string(kSimFaults) + "=") {
            options.simFaults = std::string(arg.substr(kSimFaults.size() + 1));
        } else if (arg == kSimFaults && i + 1 < *argc) {
            options.simFaults = argv[++i];
        } else {
            argv[kept++] = argv[i];
        }
    }
    if (argc != nullptr) {
        *argc = kept;
        argv[kept] = nullptr;
    }
    return options;
}

CreatedTransport CreateTransport(const TransportOptions& options, std::string* error) {
    CreatedTransport created;
    if (!options.simulate) {
        if (!options.simFaults.empty()) {
            if (error != nullptr) {
                *error = "--sim-faults needs --simulate";
            }
            return created;
        }
        created.transport = CreateSystemTransport();
        return created;
    }
    const auto faults = ParseFaultPlan(options.simFaults, error);
    if (!faults) {
        return created;
    }
    auto sim = std::make_unique<SimTransport>();
    sim->faults().Set(*faults);
    created.sim = sim.get();
    created.transport = std::move(sim);
    return created;
}

}  // namespace tavlin::sim
