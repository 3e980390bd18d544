// The report descriptor a node hands out, read to find the vendor collection's input reports.
#include <cstdint>
#include <cstdlib>

#include "device/HidTransport.h"
#include "device/ReportDescriptor.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto filter = tavlin::InputReportFilter::FromDescriptor(data, size);
    // Whatever the descriptor says, some input report must remain ours.
    bool any = filter.acceptsAll();
    for (int id = 0; id < 256 && !any; ++id) {
        any = filter.Accepts(static_cast<uint8_t>(id));
    }
    if (!any) {
        std::abort();
    }
    return 0;
}
