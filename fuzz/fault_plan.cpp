// The --sim-faults syntax: any text parses or is refused with a message naming the bad item.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "sim/FaultPlanParser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::string error;
    const auto plan = tavlin::sim::ParseFaultPlan(text, &error);
    if (!plan && error.empty()) {
        std::abort();  // refused without saying why
    }
    return 0;
}
