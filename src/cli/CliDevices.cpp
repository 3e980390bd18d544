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

DeviceChoice ChooseDevice(HidTransport* listing, const std::string& port) {
    DeviceChoice choice;
    if (listing == nullptr) {
        choice.keptPort = port;
        choice.port = port;
        return choice;
    }
    const std::vector<AttachedDevice> devices = ListAttachedDevices(*listing);
    if (!port.empty()) {
        const bool there = std::any_of(devices.begin(), devices.end(),
                                       [&port](const AttachedDevice& d) { return d.port == port; });
        if (!there && !devices.empty()) {
            choice.refusal = FillText(Tr(usage::kNoDeviceOnPort), {port, PortList(devices)});
            choice.refusalStatus = kExitNoDevice;
            return choice;
        }
        choice.keptPort = port;
        choice.port = port;
        return choice;
    }
    if (devices.size() > 1) {
        choice.refusal = FillText(Tr(kSeveralDevices), {PortList(devices)});
    } else if (devices.size() == 1) {
        choice.port = devices[0].port;
    }
    return choice;
}

}  // namespace tavlin::cli
