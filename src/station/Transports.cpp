#include "station/Transports.h"

#include <cstdlib>
#include <cstring>
#include <string_view>

#include "base/FillText.h"
#include "base/Log.h"
#include "base/StringTable.h"
#include "device/SystemTransport.h"
#include "sim/FaultPlanParser.h"
#include "sim/SimStateFile.h"
#include "sim/SimStation.h"
#include "sim/SimTransport.h"
#include "station/GivenOptions.h"
#include "station/OptionValueTexts.h"
#include "trace/RecordingTransport.h"
#include "trace/ReplayTexts.h"
#include "trace/ReplayTransport.h"
#include "trace/TraceFormat.h"
#include "trace/TraceReader.h"
#include "trace/TraceTexts.h"
#include "trace/TraceWriter.h"

namespace tavlin::station {

using sim::ParseFaultPlan;

namespace {

// More than a hub's worth of devices, fewer than would swamp one PC.
constexpr unsigned long kMaxSimDevices = 64;

bool Fail(std::string* error, std::string message) {
    if (error != nullptr) {
        *error = std::move(message);
    }
    return false;
}

// 1 to 64 in decimal digits only: no sign, no blanks.
std::optional<size_t> SimDeviceCount(const std::string& text) {
    if (text.empty() || text.size() > 2 ||
        text.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    const unsigned long n = std::stoul(text);
    if (n < 1 || n > kMaxSimDevices) {
        return std::nullopt;
    }
    return n;
}

bool CreateReplay(const TransportOptions& options, CreatedTransport* created, std::string* error) {
    // Checked whole before anything runs, then read again as the replay goes: a damaged line
    // deep in a long recording is refused now, and the replay holds only a window of it.
    TraceProblem problem;
    std::unique_ptr<TraceReader> reader;
    if (CheckTrace(options.replay, &problem)) {
        reader = TraceReader::Open(options.replay, &problem);
    }
    if (!reader) {
        switch (problem.kind) {
            case TraceProblem::Kind::Unreadable:
                return Fail(error, FillText(Tr(trace::kCannotRead), {options.replay}));
            case TraceProblem::Kind::NotAFile:
                return Fail(error, FillText(Tr(trace::kNotAFile), {options.replay}));
            case TraceProblem::Kind::UnknownFormat:
                return Fail(error, FillText(Tr(trace::kUnknownFormat), {options.replay}));
            case TraceProblem::Kind::BadLine:
                break;
        }
        return Fail(error,
                    FillText(Tr(trace::kBadLine), {options.replay, std::to_string(problem.line)}));
    }
    auto replay =
        std::make_unique<ReplayTransport>(std::move(reader), options.replayPace == "recorded");
    created->replay = replay.get();
    created->transport = std::move(replay);
    return true;
}

// A station of several simulated devices, each with its share of the fault plan.
bool CreateStation(const TransportOptions& options, size_t count, CreatedTransport* created,
                   std::string* error) {
    auto station = std::make_unique<sim::SimStation>(count);
    const std::vector<std::string> ports = station->ports();
    const auto plans = sim::SplitFaultsByDevice(options.simFaults, ports, error);
    if (!plans) {
        return false;
    }
    for (size_t k = 0; k < count; ++k) {
        const auto faults = ParseFaultPlan(plans->at(ports[k]), error);
        if (!faults) {
            return false;
        }
        station->device(k).faults().Set(*faults);
    }
    created->sim = &station->device(0);
    created->base = std::move(station);
    return true;
}

// The simulated device as the state file left it (a new one when there is no file yet), kept in
// that file from now on.
std::unique_ptr<SimTransport> KeptDevice(const std::string& path, std::string* error) {
    using Kind = sim::SimStateProblem::Kind;
    sim::SimStateProblem problem;
    const std::optional<sim::SimFlash> flash = sim::ReadSimState(path, &problem);
    SimTransport::Options options;
    std::unique_ptr<SimTransport> device;
    if (flash || problem.kind == Kind::Absent) {
        options.productId = flash ? flash->PowerOnProductId() : kProductIdWork;
        device = std::make_unique<SimTransport>(options);
        if (flash) {
            device->firmware().RestoreFlash(*flash);
        }
        if (device->KeepFlashIn(path, &problem)) {
            return device;
        }
    }
    const char* text = optiontext::kSimStateUnreadable;
    switch (problem.kind) {
        case Kind::Foreign:
        case Kind::NotAFile:
            text = optiontext::kSimStateForeign;
            break;
        case Kind::Damaged:
            text = optiontext::kSimStateDamaged;
            break;
        case Kind::Newer:
            text = optiontext::kSimStateNewer;
            break;
        case Kind::Unwritable:
            text = optiontext::kSimStateUnwritable;
            break;
        default:
            break;
    }
    WriteLog("Simulated device state file \"%s\" refused: %s\n", path.c_str(),
             problem.detail.c_str());
    Fail(error, FillText(Tr(text), {path, problem.detail}));
    return nullptr;
}

bool CreateDevice(const TransportOptions& options, CreatedTransport* created, std::string* error) {
    if (!options.simulate) {
        created->base = CreateSystemTransport();
        return true;
    }
    const size_t count = options.simDevices.empty() ? 1 : *SimDeviceCount(options.simDevices);
    if (count > 1 || options.simFaults.find("device=") != std::string::npos) {
        return CreateStation(options, count, created, error);
    }
    const auto faults = ParseFaultPlan(options.simFaults, error);
    if (!faults) {
        return false;
    }
    auto sim = options.simState.empty() ? std::make_unique<SimTransport>()
                                        : KeptDevice(options.simState, error);
    if (!sim) {
        return false;
    }
    sim->faults().Set(*faults);
    created->sim = sim.get();
    created->base = std::move(sim);
    return true;
}

}  // namespace

TransportOptions TransportOptionsFrom(const GivenOptions& given) {
    TransportOptions options;
    options.simulate = given.has(OptionId::Simulate);
    options.simFaults = given.value(OptionId::SimFaults);
    options.simDevices = given.value(OptionId::SimDevices);
    options.simState = given.value(OptionId::SimState);
    options.record = given.value(OptionId::Record);
    options.replay = given.value(OptionId::Replay);
    options.replayPace = given.value(OptionId::ReplayPace);
    return options;
}

bool CheckTransportOptions(const TransportOptions& options, std::string* error) {
    if (!options.replayPace.empty() && options.replayPace != "recorded" &&
        options.replayPace != "immediate") {
        return Fail(error, Tr(trace::kPaceValue));
    }
    if (!options.replayPace.empty() && options.replay.empty()) {
        return Fail(error, Tr(optiontext::kPaceWithoutReplay));
    }
    if (!options.replay.empty() &&
        (options.simulate || !options.simFaults.empty() || !options.simDevices.empty() ||
         !options.simState.empty() || !options.record.empty())) {
        return Fail(error, Tr(trace::kReplayAlone));
    }
    if (!options.simulate && !options.simFaults.empty()) {
        return Fail(error, Tr(optiontext::kSimFaultsNeedSimulate));
    }
    if (!options.simulate && !options.simDevices.empty()) {
        return Fail(error, Tr(optiontext::kSimDevicesNeedSimulate));
    }
    if (!options.simDevices.empty() && !SimDeviceCount(options.simDevices)) {
        return Fail(error, FillText(Tr(optiontext::kSimDevicesCount),
                                    {std::to_string(static_cast<int>(kMaxSimDevices))}));
    }
    if (!options.simulate && !options.simState.empty()) {
        return Fail(error, Tr(optiontext::kSimStateNeedSimulate));
    }
    if (!options.simState.empty() &&
        ((!options.simDevices.empty() && *SimDeviceCount(options.simDevices) > 1) ||
         options.simFaults.find("device=") != std::string::npos)) {
        return Fail(error, Tr(optiontext::kSimStateOneDevice));
    }
    return true;
}

CreatedTransport::CreatedTransport() = default;
CreatedTransport::CreatedTransport(CreatedTransport&&) noexcept = default;
CreatedTransport& CreatedTransport::operator=(CreatedTransport&&) noexcept = default;
CreatedTransport::~CreatedTransport() = default;

CreatedTransport CreateTransport(const TransportOptions& options, std::string* error) {
    CreatedTransport created;
    if (!CheckTransportOptions(options, error)) {
        return created;
    }
    if (!options.replay.empty()) {
        if (!CreateReplay(options, &created, error)) {
            created.transport.reset();
        }
        return created;
    }
    if (!CreateDevice(options, &created, error)) {
        return CreatedTransport();
    }
    if (options.record.empty()) {
        created.transport = std::move(created.base);
        return created;
    }
    bool notAFile = false;
    created.recording =
        TraceWriter::Create(options.record, TAVLIN_VERSION, TraceWriter::kMaxQueued, &notAFile);
    if (!created.recording) {
        Fail(error,
             FillText(Tr(notAFile ? trace::kNotAFile : trace::kCannotCreate), {options.record}));
        return CreatedTransport();
    }
    created.transport = std::make_unique<RecordingTransport>(*created.base, *created.recording);
    return created;
}

std::string ShortfallText(size_t left) {
    return FillText(Tr(trace::kOutputsLeft), {std::to_string(static_cast<int>(left))});
}

std::string RanOutText(int line) {
    return FillText(Tr(replay::kRanOut), {std::to_string(line)});
}

std::string IncompleteText(const std::string& path, const std::string& reason) {
    return FillText(Tr(trace::kIncomplete), {path}) + " (" + reason + ")";
}

std::string ReplayShortfall(const CreatedTransport& created) {
    if (created.replay == nullptr) {
        return {};
    }
    const size_t left = created.replay->OutputsLeft();
    return left == 0 ? std::string() : ShortfallText(left);
}

std::string ReplayRanOut(const CreatedTransport& created) {
    const int line = created.replay == nullptr ? 0 : created.replay->RanOutLine();
    return line == 0 ? std::string() : RanOutText(line);
}

void RecordPort(CreatedTransport& created, const std::string& port) {
    if (created.recording && !port.empty()) {
        TraceEvent event;
        event.kind = TraceEvent::Kind::Port;
        event.info.port = port;
        created.recording->Add(std::move(event));
    }
}

std::optional<RecordingEnd> EndRecording(CreatedTransport& created, const std::string& path,
                                         const std::string& cutReason) {
    if (!created.recording) {
        return std::nullopt;
    }
    if (!cutReason.empty()) {
        created.recording->MarkIncomplete(cutReason);
    }
    created.recording->Close();
    const TraceWriter::Status status = created.recording->status();
    RecordingEnd end{status.complete, status.reason, {}};
    if (!status.complete) {
        end.message = IncompleteText(path, status.reason);
    }
    return end;
}

}  // namespace tavlin::station
