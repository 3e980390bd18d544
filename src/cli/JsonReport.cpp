#include "cli/JsonReport.h"

#include <cstdio>
#include <nlohmann/json.hpp>

#include "cli/CliSession.h"

namespace tavlin::cli {
namespace {

using nlohmann::json;

// Eight hex digits, as the version line shows them.
std::string Hex8(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%08x", value);
    return text;
}

json SensorObject(const RunReport::Sensor& sensor) {
    json object = {{"start_line", sensor.startLine},
                   {"start_column", sensor.startColumn},
                   {"end_column", sensor.endColumn}};
    if (sensor.exposure) {
        object["exposure"] = {sensor.exposure->first, sensor.exposure->second};
    }
    return object;
}

void AddCommandMembers(const RunReport& r, json* out) {
    json& o = *out;
    if (r.versions) {
        o["versions"] = {{"master", Hex8(r.versions->master)}, {"slave", Hex8(r.versions->slave)}};
    }
    if (r.value) {
        o["value"] = {{"address", r.value->address}, {"value", r.value->value}};
    }
    if (r.sensors) {
        o["sensors"] = {{"master", SensorObject(r.sensors->master)},
                        {"slave", SensorObject(r.sensors->slave)}};
    }
    if (!r.pictures.empty()) {
        o["pictures"] = r.pictures;
    }
    if (r.targets) {
        json targets = json::array();
        for (const RunReport::Target& t : *r.targets) {
            targets.push_back({{"number", t.number}, {"x", t.x}, {"y", t.y}, {"code", t.code}});
        }
        o["targets"] = std::move(targets);
    }
    if (r.screen) {
        o["screen"] = {{"width", r.screen->first}, {"height", r.screen->second}};
    }
    if (r.images) {
        json images = json::array();
        for (const RunReport::Image& image : *r.images) {
            json row = {{"name", image.name},
                        {"bytes", image.bytes},
                        {"packets", image.packets},
                        {"image", image.image},
                        {"sensor", image.sensor}};
            if (!image.sha256.empty()) {
                row["sha256"] = image.sha256;
            }
            images.push_back(std::move(row));
        }
        o["images"] = std::move(images);
    }
    if (r.verified) {
        o["verified"] = *r.verified;
    }
    if (r.trust) {
        o["trust"] = r.trust->isSigned
                         ? json{{"key_id", r.trust->keyId}, {"comment", r.trust->comment}}
                         : json("none");
    }
    if (r.interruptedUpdate) {
        const RunReport::InterruptedUpdate& cut = *r.interruptedUpdate;
        json object = {{"package", cut.package},
                       {"sha256", cut.sha256},
                       {"stage", cut.stage},
                       {"started", cut.started},
                       {"run", cut.run}};
        if (cut.stage == "image") {
            object["image"] = cut.image;
            object["image_number"] = cut.imageNumber;
            object["images"] = cut.imageCount;
            object["packet"] = cut.packet;
        } else {
            object["image"] = nullptr;
        }
        o["interrupted_update"] = std::move(object);
    }
    if (!r.packageFiles.empty()) {
        json files = json::array();
        for (const RunReport::PackageFile& file : r.packageFiles) {
            files.push_back({{"path", file.path}, {"sha256", file.sha256}, {"bytes", file.size}});
        }
        o["package_files"] = std::move(files);
    }
    if (r.logComplete) {
        o["log_complete"] = *r.logComplete;
    }
    if (r.attached) {
        json devices = json::array();
        for (const RunReport::Attached& d : *r.attached) {
            devices.push_back({{"port", d.port},
                               {"vendor_id", d.vendorId},
                               {"product_id", d.productId},
                               {"mode", d.mode},
                               {"path", d.path}});
        }
        o["devices"] = std::move(devices);
    }
    if (r.runs) {
        json runs = json::array();
        for (const std::string& run : *r.runs) {
            runs.push_back(json::parse(run));
        }
        o["runs"] = std::move(runs);
    }
    if (!r.deviceRuns.empty()) {
        json devices = json::array();
        for (const std::string& run : r.deviceRuns) {
            devices.push_back(json::parse(run, nullptr, false));
        }
        o["devices"] = std::move(devices);
    }
    if (!r.port.empty()) {
        o["port"] = r.port;
    }
    if (r.record) {
        o["record"] = {{"path", r.record->path},
                       {"run", r.record->run.empty() ? json(nullptr) : json(r.record->run)},
                       {"complete", r.record->complete}};
        if (!r.record->complete) {
            o["record"]["reason"] = r.record->reason;
        }
    }
    if (r.recording) {
        o["recording"] = {{"path", r.recording->path},
                          {"complete", r.recording->complete},
                          {"reason", r.recording->reason}};
    }
}

}  // namespace

const char* ToolVersion() {
    return TAVLIN_VERSION;
}

const char* ExitWord(int exitStatus) {
    switch (exitStatus) {
        case kExitSuccess:
            return "ok";
        case kExitUsage:
            return "usage";
        case kExitNoDevice:
            return "no-device";
        case kExitNoAccess:
            return "no-access";
        default:
            return "failed";
    }
}

std::string JsonReport(const std::string& command, int exitStatus, const RunReport& report,
                       const std::string& logPath, int64_t elapsedMs) {
    json o = json::object();
    o["command"] = command;
    o["exit"] = exitStatus;
    o["result"] = ExitWord(exitStatus);
    o["interrupted"] = report.interrupted;
    o["reason"] = exitStatus == kExitSuccess ? std::string() : report.result.reason();
    o["messages"] = report.messages;
    o["device"] = report.device ? json{{"vendor_id", report.device->vendorId},
                                       {"product_id", report.device->productId}}
                                : json(nullptr);
    o["log"] = logPath.empty() ? json(nullptr) : json(logPath);
    o["elapsed_ms"] = elapsedMs;
    o["tool_version"] = ToolVersion();
    AddCommandMembers(report, &o);
    return o.dump(-1, ' ', false, json::error_handler_t::replace) + "\n";
}

}  // namespace tavlin::cli
