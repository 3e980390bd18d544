#include "records/RecordExport.h"

#include <charconv>
#include <cmath>
#include <nlohmann/json.hpp>

#include "records/RecordTime.h"

namespace tavlin {

namespace {

template <typename T>
nlohmann::json OrNull(const std::optional<T>& value) {
    return value ? nlohmann::json(*value) : nlohmann::json(nullptr);
}

nlohmann::json NumberOrNull(double value) {
    return std::isfinite(value) ? nlohmann::json(value) : nlohmann::json(nullptr);
}

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        return text;
    }
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') {
            quoted += '"';
        }
        quoted += c;
    }
    return quoted + '"';
}

// The shortest text that reads back as the same double.
std::string CsvNumber(double value) {
    if (!std::isfinite(value)) {
        return {};
    }
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    return std::string(text, end);
}

std::string CsvNumber(const std::optional<double>& value) {
    return value ? CsvNumber(*value) : std::string();
}

}  // namespace

nlohmann::json RunToJson(const RunRecord& run) {
    nlohmann::json object = {
        {"uuid", run.uuid},
        {"station", {{"host", run.station.host}, {"toolVersion", run.station.toolVersion}}},
        {"command", run.command},
        {"arguments", run.arguments},
        {"started", IsoUtcFromUnixMs(run.startedMs)},
        {"startedMs", run.startedMs},
        {"ended", run.endedMs ? nlohmann::json(IsoUtcFromUnixMs(*run.endedMs)) : nullptr},
        {"endedMs", OrNull(run.endedMs)},
        {"outcome", RunOutcomeName(run.outcome)},
        {"exitStatus", OrNull(run.exitStatus)},
        {"reason", run.reason},
        {"operator", run.operatorName},
        {"lot", run.lot},
        {"processId", run.processId},
        {"unit",
         {{"port", run.unit.port},
          {"productId", OrNull(run.unit.productId)},
          {"mode", OrNull(run.unit.mode)},
          {"versionsBefore", run.unit.versionsBefore},
          {"versionsAfter", run.unit.versionsAfter}}},
    };
    nlohmann::json& steps = object["steps"] = nlohmann::json::array();
    for (const StepRecord& s : run.steps) {
        steps.push_back({{"name", s.name},
                         {"started", IsoUtcFromUnixMs(s.startedMs)},
                         {"startedMs", s.startedMs},
                         {"endedMs", s.endedMs},
                         {"outcome", s.outcome}});
    }
    nlohmann::json& measurements = object["measurements"] = nlohmann::json::array();
    for (const MeasurementRecord& m : run.measurements) {
        measurements.push_back({{"name", m.name},
                                {"value", NumberOrNull(m.value)},
                                {"unit", m.unit},
                                {"low", OrNull(m.low)},
                                {"high", OrNull(m.high)},
                                {"outcome", m.outcome}});
    }
    nlohmann::json& artefacts = object["artefacts"] = nlohmann::json::array();
    for (const ArtefactRecord& a : run.artefacts) {
        artefacts.push_back(
            {{"kind", a.kind}, {"path", a.path}, {"sha256", a.sha256}, {"size", a.size}});
    }
    nlohmann::json& images = object["images"] = nlohmann::json::array();
    for (const ImageRecord& i : run.images) {
        images.push_back({{"section", i.section},
                          {"sensor", i.sensor},
                          {"size", i.size},
                          {"sha256", i.sha256},
                          {"versionWritten", i.versionWritten},
                          {"verifyResult", i.verifyResult}});
    }
    return object;
}

std::string RunsToJsonText(const std::vector<RunRecord>& runs) {
    nlohmann::json array = nlohmann::json::array();
    for (const RunRecord& run : runs) {
        array.push_back(RunToJson(run));
    }
    // Names and paths come from devices and people: text that is not UTF-8 is kept readable
    // rather than ending the export.
    return array.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

std::string RunsToCsv(const std::vector<RunRecord>& runs) {
    std::string csv = "run_uuid,started,port,run_outcome,name,value,unit,low,high,outcome\r\n";
    for (const RunRecord& run : runs) {
        const std::string prefix = CsvField(run.uuid) + "," + IsoUtcFromUnixMs(run.startedMs) +
                                   "," + CsvField(run.unit.port) + "," +
                                   RunOutcomeName(run.outcome) + ",";
        for (const MeasurementRecord& m : run.measurements) {
            csv += prefix + CsvField(m.name) + "," + CsvNumber(m.value) + "," + CsvField(m.unit) +
                   "," + CsvNumber(m.low) + "," + CsvNumber(m.high) + "," + CsvField(m.outcome) +
                   "\r\n";
        }
    }
    return csv;
}

}  // namespace tavlin
