#include "station/Station.h"

#include <algorithm>

#include "base/FillText.h"
#include "base/LogFolder.h"
#include "base/StringTable.h"
#include "device/AttachedDevices.h"
#include "station/DeviceChoiceTexts.h"
#include "trace/ReplayTransport.h"

namespace tavlin::station {
namespace {

Result Refuse(ResultCode code, std::string text, std::string* message) {
    *message = text;
    return Result::Fail(code, std::move(text));
}

}  // namespace

Result PrepareRunLog(const std::string& logDir, std::string* refusal) {
    return logDir.empty() ? CheckLogFile(refusal) : UseLogFolder(logDir, refusal);
}

Result ChooseDevice(HidTransport* listing, const std::string& port, SeveralDevices policy,
                    DeviceChoice* out, std::string* message) {
    *out = DeviceChoice{};
    if (listing != nullptr) {
        const std::vector<AttachedDevice> devices = ListAttachedDevices(*listing);
        const bool there = std::any_of(devices.begin(), devices.end(),
                                       [&port](const AttachedDevice& d) { return d.port == port; });
        if (!port.empty() && !there && !devices.empty() && policy == SeveralDevices::Refuse) {
            return Refuse(ResultCode::NoDevice,
                          FillText(Tr(choicetext::kNoDeviceOnPort), {port, PortList(devices)}),
                          message);
        }
        if (port.empty() && devices.size() > 1) {
            if (policy == SeveralDevices::Refuse) {
                return Refuse(ResultCode::BadInput,
                              FillText(Tr(choicetext::kSeveralDevices), {PortList(devices)}),
                              message);
            }
            out->startNote = "Devices on ports " + PortList(devices) + "; taking the first\n";
        } else if (port.empty() && devices.size() == 1) {
            out->port = devices[0].port;
        }
    }
    if (!port.empty()) {
        out->keptPort = out->port = port;
        out->startNote = "Device on port " + port + " only\n";
    }
    return Result::Ok();
}

Result OpenStation(const TransportOptions& options, const std::string& port, SeveralDevices policy,
                   Station* out, std::string* message) {
    std::string error;
    out->transport = CreateTransport(options, &error);
    if (!out->transport) {
        return Refuse(ResultCode::BadInput, error, message);
    }
    std::string asked = port;
    HidTransport* listing = nullptr;
    if (out->transport.replay != nullptr) {
        asked = asked.empty() ? out->transport.replay->RecordedPort() : asked;
    } else {
        listing = out->transport.base ? out->transport.base.get() : out->transport.transport.get();
    }
    if (Result chosen = ChooseDevice(listing, asked, policy, &out->device, message); !chosen) {
        return chosen;
    }
    if (!out->device.port.empty()) {
        RecordPort(out->transport, out->device.port);
    }
    return Result::Ok();
}

}  // namespace tavlin::station
