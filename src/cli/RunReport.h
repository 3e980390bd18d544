#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/Result.h"

namespace tavlin::cli {

// What a run found out, beyond its texts: the data a station files when it asks for --json.
// Each command fills in what it produced; what stays empty is left out of the object.
struct RunReport {
    struct DeviceIds {
        uint16_t vendorId = 0;
        uint16_t productId = 0;
    };
    struct Versions {
        uint32_t master = 0;
        uint32_t slave = 0;
    };
    struct RegisterValue {
        uint32_t address = 0;
        uint32_t value = 0;
    };
    // One sensor's optical parameters as the leveling texts show them.
    struct Sensor {
        int startLine = 0;
        int startColumn = 0;
        int endColumn = 0;
        std::optional<std::pair<unsigned, unsigned>> exposure;  // after an exposure adjustment
    };
    struct Sensors {
        Sensor master;
        Sensor slave;
    };
    struct Target {
        int number = 0;
        int x = 0;
        int y = 0;
        int code = 0;
    };
    struct Image {
        std::string name;
        uint64_t bytes = 0;
        int packets = 0;
        std::string image;   // "HInfo", "LInfo" or "RInfo"
        std::string sensor;  // "master" or "slave"
        std::string sha256;  // of the bytes written, when the package was read before the run
    };
    // update, package verify: who vouched for the package, and its files as checked.
    struct Trust {
        bool isSigned = false;
        std::string keyId;
        std::string comment;
    };
    struct PackageFile {
        std::string path;
        std::string sha256;
        uint64_t size = 0;
    };

    // update, detect: the last update on the unit's port, which did not end.
    struct InterruptedUpdate {
        std::string run;  // its record's run id
        std::string package;
        std::string sha256;   // of the package file
        std::string stage;    // "restart-in", "image" or "restart-out"
        std::string image;    // with "image": "HInfo", "LInfo" or "RInfo"
        int imageNumber = 0;  // from 1
        int imageCount = 0;
        int64_t packet = 0;   // packets of that image sent
        std::string started;  // ISO-8601, UTC
        std::string folder;   // where it ran: the package's image names are relative to it
    };

    // list: one attached device.
    struct Attached {
        std::string port;
        uint16_t vendorId = 0;
        uint16_t productId = 0;
        std::string mode;  // "application" or "update"
        std::string path;
    };

    Result result;             // the run's outcome; its reason explains a failure
    bool interrupted = false;  // a signal ended the run
    std::vector<std::string> messages;
    std::optional<DeviceIds> device;
    std::optional<Versions> versions;
    std::optional<Versions> versionsBefore;  // update: the versions the unit had
    std::optional<RegisterValue> value;
    std::optional<Sensors> sensors;
    std::vector<std::string> pictures;
    std::optional<std::vector<Target>> targets;
    std::optional<std::pair<int, int>> screen;  // width, height
    std::optional<std::vector<Image>> images;
    // The phases of a run that has several (an update's restart, writes, return and verify).
    struct Step {
        std::string name;
        int64_t startedMs = 0;  // milliseconds since 1970 UTC
        int64_t endedMs = 0;
        bool passed = false;
    };
    std::vector<Step> steps;
    std::optional<bool> verified;
    std::optional<Trust> trust;
    // Told when the unit was found in its update environment.
    std::optional<InterruptedUpdate> interruptedUpdate;
    std::vector<PackageFile> packageFiles;
    // With --record: the file, and whether it holds the whole run.
    struct Recording {
        std::string path;
        bool complete = true;
        std::string reason;  // why it ended early
    };
    std::optional<Recording> recording;
    // The run's record in the station database: where, its run id, and whether it was kept.
    struct Record {
        std::string path;
        std::string run;
        bool complete = true;
        std::string reason;  // why it was not kept
    };
    std::optional<Record> record;
    std::optional<bool> logComplete;  // with a log: whether every entry reached its file
    std::optional<std::vector<Attached>> attached;  // list
    std::string port;  // the USB port of the device the run was for, when one was chosen
    std::vector<std::string> deviceRuns;           // --all: each device's own object (JSON text)
    std::optional<std::vector<std::string>> runs;  // results: each run's record (JSON text)
};

}  // namespace tavlin::cli
