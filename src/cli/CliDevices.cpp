#include "cli/CliDevices.h"

#include <algorithm>
#include <cstdio>

#include "base/FillText.h"
#include "base/StringTable.h"
#include "cli/CliSession.h"
#include "cli/StationTexts.h"
#include "cli/UsageTexts.h"

namespace tavlin::cli {

int RunList(HidTransport& transport, CliOutput& output, RunReport* report) {
    const std::vector<AttachedDevice> devices = ListAttachedDevices(transport);
    report->attached.emplace();
    for (const AttachedDevice& device : devices) {
        char productId[8];
        std::snprintf(productId, sizeof productId, "0x%04X", device.productId);
        const char* mode = device.inUpdateEnvironment() ? kModeUpdate : kModeApplication;
        output.Line((device.port.empty() ? "?" : device.port) + "  " + productId + "  " + Tr(mode) +
                    "  " + device.path);
        report->attached->push_back({device.port, device.vendorId, device.productId,
                                     device.inUpdateEnvironment() ? "update" : "application",
                                     device.path});
    }
    if (devices.empty()) {
        output.Line(LoadString(IDS_NO_DEVICE));
        report->result = Result::Fail(ResultCode::NoDevice, "no device of ours is attached");
        return kExitNoDevice;
    }
    return kExitSuccess;
}

}  // namespace tavlin::cli
