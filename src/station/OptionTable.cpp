#include "station/OptionTable.h"

#include <algorithm>

#include "calibration/CheckScreenSize.h"
#include "calibration/CheckSizeTexts.h"
#include "station/CheckTolerance.h"
#include "station/OptionTexts.h"

namespace tavlin::station {
namespace {

bool IsTolerance(const std::string& value) {
    return ParseCheckToleranceMm(value).has_value();
}

bool IsScreenSize(const std::string& value) {
    double width = 0;
    double height = 0;
    return ParseScreenSizeMm(value, &width, &height);
}

using namespace options;

// clang-format off
constexpr OptionRow kTable[] = {
    // id, name, short name, value's name, front ends, window's help, CLI's paragraph, CLI's missing value,
    // value check, its refusal, handed to --all's copies
    {OptionId::Help, "--help", "-h", nullptr, kBothFrontEnds, kHelp, nullptr, nullptr, nullptr, nullptr, false},
    {OptionId::Simulate, "--simulate", {}, nullptr, kBothFrontEnds, kSimulate, kCliSimulate, nullptr, nullptr, nullptr, true},
    {OptionId::SimFaults, "--sim-faults", {}, kPlan, kBothFrontEnds, kSimFaults, nullptr, nullptr, nullptr, nullptr, true},
    {OptionId::SimDevices, "--sim-devices", {}, kCount, kBothFrontEnds, kSimDevices, kCliSimDevices, nullptr, nullptr, nullptr, true},
    {OptionId::SimState, "--sim-state", {}, kFile, kBothFrontEnds, kSimState, kCliSimState, nullptr, nullptr, nullptr, true},
    {OptionId::Device, "--device", {}, kPort, kBothFrontEnds, kDevice, kCliDevice, kDeviceTakesPort, nullptr, nullptr, false},
    {OptionId::All, "--all", {}, nullptr, kCli, nullptr, kCliAll, nullptr, nullptr, nullptr, false},
    {OptionId::Json, "--json", {}, nullptr, kCli, nullptr, kCliJson, nullptr, nullptr, nullptr, false},
    {OptionId::LogDir, "--log-dir", {}, kFolder, kBothFrontEnds, kLogDir, kCliLogDir, kLogDirTakesFolder, nullptr, nullptr, false},
    {OptionId::Record, "--record", {}, kFile, kBothFrontEnds, kRecord, kCliRecord, nullptr, nullptr, nullptr, true},
    {OptionId::Replay, "--replay", {}, kFile, kBothFrontEnds, kReplay, kCliReplay, nullptr, nullptr, nullptr, true},
    {OptionId::ReplayPace, "--replay-pace", {}, kPace, kBothFrontEnds, kReplayPace, nullptr, nullptr, nullptr, nullptr, true},
    {OptionId::Version, "--version", {}, nullptr, kBothFrontEnds, kVersion, kCliVersion, nullptr, nullptr, nullptr, false},
    {OptionId::Results, "--results", {}, kFile, kBothFrontEnds, kResults, kCliResults, nullptr, nullptr, nullptr, true},
    {OptionId::ResultsServer, "--results-server", {}, kValue, kBothFrontEnds, kResultsServer, kCliResultsServer, nullptr, nullptr, nullptr, true},
    {OptionId::Operator, "--operator", {}, kValue, kBothFrontEnds, kOperator, kCliOperator, nullptr, nullptr, nullptr, true},
    {OptionId::Lot, "--lot", {}, kValue, kBothFrontEnds, kLot, kCliLot, nullptr, nullptr, nullptr, true},
    {OptionId::RequireRecord, "--require-record", {}, nullptr, kCli, nullptr, kCliRequireRecord, nullptr, nullptr, nullptr, true},
    {OptionId::TrustedKey, "--trusted-key", {}, kFile, kBothFrontEnds, kTrustedKey, kCliTrustedKey, nullptr, nullptr, nullptr, true},
    {OptionId::RequireSigned, "--require-signed", {}, nullptr, kBothFrontEnds, kRequireSigned, kCliRequireSigned, nullptr, nullptr, nullptr, true},
    {OptionId::Engineering, "--engineering", {}, nullptr, kWindow, kEngineering, nullptr, nullptr, nullptr, nullptr, false},
    {OptionId::CheckCalibration, "--check-calibration", {}, nullptr, kWindow, kCheckCalibration, nullptr, nullptr, nullptr, nullptr, false},
    {OptionId::CheckTolerance, "--check-tolerance", {}, kMm, kWindow, kCheckTolerance, nullptr, nullptr, IsTolerance, kBadTolerance, false},
    {OptionId::ScreenSize, "--screen-size", {}, checksizetext::kWxH, kWindow, checksizetext::kScreenSizeHelp, nullptr, nullptr, IsScreenSize, checksizetext::kBadScreenSize, false},
};
// clang-format on

}  // namespace

std::span<const OptionRow> OptionTable() {
    return kTable;
}

bool Repeats(OptionId id) {
    return id == OptionId::TrustedKey;
}

const OptionRow* FindOption(std::string_view name, unsigned frontEnd) {
    const auto found = std::find_if(std::begin(kTable), std::end(kTable), [&](const OptionRow& o) {
        return (o.name == name || (!o.shortName.empty() && o.shortName == name)) &&
               (o.frontEnds & frontEnd) != 0;
    });
    return found == std::end(kTable) ? nullptr : found;
}

const OptionRow& Option(OptionId id) {
    return *std::find_if(std::begin(kTable), std::end(kTable),
                         [id](const OptionRow& o) { return o.id == id; });
}

}  // namespace tavlin::station
