#include "records/RecordContent.h"

#include <cstdio>

#include "base/Log.h"
#include "platform/FilePath.h"
#include "records/ArtefactFile.h"
#include "records/RecordStore.h"

namespace tavlin {
namespace {

std::string Hex8(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%08x", value);
    return text;
}

}  // namespace

std::string StationRecordPath(const std::string& results, const std::string& logDir) {
    if (RecordsOff(results)) {
        return {};
    }
    if (!results.empty()) {
        return results;
    }
    if (logDir.empty()) {
        return RecordStore::kDefaultFileName;
    }
    return Utf8FromPath(PathFromUtf8(logDir) / RecordStore::kDefaultFileName);
}

std::string VersionsText(std::uint32_t master, std::uint32_t slave) {
    return "M--" + Hex8(master) + ", S--" + Hex8(slave);
}

void AddArtefact(RunRecord& record, const char* kind, const std::string& path) {
    record.artefacts.push_back(ArtefactOfFile(kind, path));
}

void AddLogArtefact(RunRecord& record) {
    if (LogStarted()) {
        AddArtefact(record, "log", LogFilePath());
    }
}

void AddMeasurement(RunRecord& record, std::string name, double value, const char* unit,
                    std::optional<double> high, std::string outcome) {
    record.measurements.push_back(
        {std::move(name), value, unit, std::nullopt, high, std::move(outcome)});
}

void AddRegister(RunRecord& record, std::uint32_t address, std::uint32_t value) {
    AddMeasurement(record, "register 0x" + Hex8(address), value, "");
}

void AddSensor(RunRecord& record, const char* name, const SensorValues& sensor) {
    const std::string prefix = std::string(name) + ".";
    AddMeasurement(record, prefix + "start_line", sensor.startLine, "line");
    AddMeasurement(record, prefix + "start_column", sensor.startColumn, "column");
    AddMeasurement(record, prefix + "end_column", sensor.endColumn, "column");
    if (sensor.exposure) {
        AddMeasurement(record, prefix + "exposure_1", sensor.exposure->first, "");
        AddMeasurement(record, prefix + "exposure_2", sensor.exposure->second, "");
    }
}

void AddTarget(RunRecord& record, int number, int x, int y) {
    const std::string name = "target " + std::to_string(number);
    AddMeasurement(record, name + ".x", x, "px");
    AddMeasurement(record, name + ".y", y, "px");
}

void AddCheckPoint(RunRecord& record, int number, double errorMm, double toleranceMm, bool within) {
    AddMeasurement(record, "point " + std::to_string(number) + ".error", errorMm, "mm", toleranceMm,
                   within ? "passed" : "failed");
}

}  // namespace tavlin
