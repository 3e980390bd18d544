#include "cli/AllDevices.h"

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <nlohmann/json.hpp>
#include <string_view>

#include "base/FillText.h"
#include "base/LogFolder.h"
#include "base/Result.h"
#include "base/StringTable.h"
#include "cli/AllDevicesTexts.h"
#include "cli/CliDevices.h"
#include "cli/CliSession.h"
#include "cli/JsonReport.h"
#include "cli/ProgressBar.h"
#include "cli/ProgressBoard.h"
#include "cli/StationTexts.h"
#include "platform/ChildProcess.h"
#include "platform/FilePath.h"

namespace tavlin::cli {
namespace {

using nlohmann::json;

// The copies show their progress as lines, which the board draws.
void AskForProgressLines() {
#ifdef _WIN32
    _putenv_s(kProgressLinesVariable, "1");
#else
    setenv(kProgressLinesVariable, "1", 1);
#endif
}

// The last line of a copy's output as its object; null when it is none.
json LastObject(const std::string& out) {
    const size_t end = out.find_last_not_of("\r\n");
    if (end == std::string::npos) {
        return nullptr;
    }
    const size_t begin = out.find_last_of('\n', end);
    const size_t from = begin == std::string::npos ? 0 : begin + 1;
    json object = json::parse(out.substr(from, end + 1 - from), nullptr, false);
    if (!object.is_object() || !object.contains("exit") || !object["exit"].is_number_integer()) {
        return nullptr;
    }
    return object;
}

void SetOutcome(json& object, int exit, const std::string& reason) {
    object["exit"] = exit;
    object["result"] = ExitWord(exit);
    object["reason"] = reason;
}

// One device's outcome as its copy reported it, held against how its process ended: the object
// alone could be a copy's last word before it was killed, or one that went unprinted. A copy
// that ended without its object (it crashed, or could not start) gets one made here, so the
// device is never left out.
json DeviceObject(const std::string& port, const std::string& out, int status,
                  const std::string& signal, const std::string& notStarted) {
    json object = notStarted.empty() ? LastObject(out) : json(nullptr);
    // A failing status is kept as the copy's own word for its failure; 0 or none is not one.
    const int failed = status > 0 ? status : kExitFailed;
    if (!notStarted.empty()) {
        object = json::object();
        SetOutcome(object, kExitFailed, notStarted);
    } else if (!signal.empty()) {
        if (object.is_null()) {
            object = json::object();
        }
        SetOutcome(object, kExitFailed, FillText(Tr(alltext::kChildKilled), {signal}));
        object["signal"] = signal;
    } else if (object.is_null()) {
        object = json::object();
        SetOutcome(object, failed, FillText(Tr(kChildNoReport), {std::to_string(status)}));
    } else if (object["exit"].get<int>() == kExitSuccess && status != kExitSuccess) {
        SetOutcome(object, failed,
                   FillText(Tr(alltext::kChildStatusDisagrees), {std::to_string(status)}));
    }
    object["port"] = port;
    return object;
}

struct DeviceRun {
    std::string port;
    std::unique_ptr<ChildProcess> process;
    std::string notStarted;  // why it could not be started
    int status = -1;
    std::string signal;  // what ended it, when not itself
};

}  // namespace

std::string PortFolderName(const std::string& port) {
    std::string name = port.empty() ? "_" : port;
    for (char& c : name) {
        if (static_cast<unsigned char>(c) < 0x20 ||
            std::string_view("<>:\"/\\|?*").find(c) != std::string_view::npos) {
            c = '_';
        }
    }
    return name;
}

std::string DeviceLogFolder(const std::string& logDir, const std::string& port) {
    const std::filesystem::path base = PathFromUtf8(logDir.empty() ? "." : logDir);
    return Utf8FromPath(base / PathFromUtf8(PortFolderName(port)));
}

Result CheckDeviceLogFolders(const std::string& logDir, const std::vector<std::string>& ports,
                             std::string* message) {
    // The folder itself first: a refusal names the folder at fault, not one inside it.
    if (Result checked = CheckLogFolder(logDir.empty() ? "." : logDir, message); !checked.ok()) {
        return checked;
    }
    for (const std::string& port : ports) {
        if (Result checked = CheckLogFolder(DeviceLogFolder(logDir, port), message);
            !checked.ok()) {
            return checked;
        }
    }
    return Result::Ok();
}

std::vector<std::string> DeviceRunArguments(const std::vector<std::string>& arguments,
                                            const std::string& port, const std::string& logDir,
                                            bool several) {
    std::vector<std::string> out = arguments;
    // A device whose port the system does not tell is run only as the one device there, which
    // its copy keeps to by itself, as it does with a lone device.
    if (several && !port.empty()) {
        out.insert(out.end(), {"--device", port});
    }
    out.insert(out.end(), {"--json", "--log-dir", DeviceLogFolder(logDir, port)});
    return out;
}

int RunOnAllDevices(const AllDevicesRun& run, const std::vector<std::string>& ports,
                    CliOutput& output, Interruption& interruption, RunReport* report) {
    AskForProgressLines();
    ProgressBoard board(output.stream(), ports,
                        ProgressBoard::CanRedraw(output.stream(), ports.size()));
    std::vector<DeviceRun> runs(ports.size());
    for (size_t i = 0; i < ports.size(); ++i) {
        runs[i].port = ports[i];
        if (ports[i].empty() && ports.size() > 1) {
            // Nothing tells it from the others: a copy could take any of them.
            runs[i].notStarted = Tr(kPortUnknown);
            continue;
        }
        std::string error;
        runs[i].process = ChildProcess::Start(
            run.program, DeviceRunArguments(run.arguments, ports[i], run.logDir, ports.size() > 1),
            [&board, i](const std::string& line) { board.Show(i, line); }, &error);
        if (!runs[i].process) {
            runs[i].notStarted = FillText(Tr(kChildNotStarted), {ports[i], error});
        }
    }
    // Each copy stops through its own exit path; this run waits for all of them.
    const Interruption::Hook stopAll = interruption.OnRequest([&runs] {
        for (DeviceRun& device : runs) {
            if (device.process) {
                device.process->Interrupt();
            }
        }
    });
    // They run side by side; waiting for one after another costs no time.
    for (DeviceRun& device : runs) {
        if (device.process) {
            device.status = device.process->Wait();
            device.signal = device.process->EndingSignal();
        }
    }
    board.Finish();

    int failed = 0;
    std::string reasons;
    for (DeviceRun& device : runs) {
        const json object =
            DeviceObject(device.port, device.process ? device.process->StandardOutput() : "",
                         device.status, device.signal, device.notStarted);
        report->deviceRuns.push_back(object.dump(-1, ' ', false, json::error_handler_t::replace));
        if (object["exit"].get<int>() == kExitSuccess) {
            output.Line(FillText(Tr(kDeviceSucceeded), {device.port}));
            continue;
        }
        ++failed;
        const std::string reason = object.contains("reason") && object["reason"].is_string()
                                       ? object["reason"].get<std::string>()
                                       : std::string(ExitWord(object["exit"].get<int>()));
        output.Line(FillText(Tr(kDeviceFailed), {device.port, reason}));
        reasons += (reasons.empty() ? "" : "; ") + device.port + ": " + reason;
    }
    if (failed == 0) {
        output.Line(FillText(Tr(kAllSucceeded), {std::to_string(runs.size())}));
        report->result = Result::Ok();
        return kExitSuccess;
    }
    output.Line(FillText(Tr(kSomeFailed), {std::to_string(runs.size()), std::to_string(failed)}));
    report->result = Result::Fail(ResultCode::Failed, reasons);
    return kExitFailed;
}

}  // namespace tavlin::cli
