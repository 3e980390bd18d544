#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "records/RunRecord.h"

namespace tavlin {

// What a device run puts into its record, in the record's terms: the same names, units and
// limits whichever front end ran it, so the station's reports read both alike.

// The station database a run keeps its record in: `results` (--results FILE), else
// Tavlin_results.sqlite in `logDir` (else the current folder); empty for "none". The path is
// as given: messages about the option name it as the user wrote it.
std::string StationRecordPath(const std::string& results, const std::string& logDir);
// The image versions as the tool prints them: "M--00000012, S--00000034".
std::string VersionsText(std::uint32_t master, std::uint32_t slave);

// A file the run produced or used: its whole path, and its size and SHA-256 as they are now.
void AddArtefact(RunRecord& record, const char* kind, const std::string& path);
// The session's log, once it has started.
void AddLogArtefact(RunRecord& record);

void AddMeasurement(RunRecord& record, std::string name, double value, const char* unit,
                    std::optional<double> high = std::nullopt, std::string outcome = "");

// A register's value as read.
void AddRegister(RunRecord& record, std::uint32_t address, std::uint32_t value);

// One sensor's leveling values ("master" or "slave"); exposures only after an adjustment.
struct SensorValues {
    int startLine = 0;
    int startColumn = 0;
    int endColumn = 0;
    std::optional<std::pair<unsigned, unsigned>> exposure;
};
void AddSensor(RunRecord& record, const char* name, const SensorValues& sensor);

// A calibration target where the device put it, in screen pixels.
void AddTarget(RunRecord& record, int number, int x, int y);

// A calibration check point: its error in millimetres, the tolerance its high limit, and
// whether the check found it within (it compares at the precision it shows).
void AddCheckPoint(RunRecord& record, int number, double errorMm, double toleranceMm, bool within);

}  // namespace tavlin
