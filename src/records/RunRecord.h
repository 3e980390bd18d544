#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tavlin {

// --results none: the run keeps no record. (Here, so a build without SQLite reads it alike.)
inline bool RecordsOff(const std::string& results) {
    return results == "none";
}

// One run of the tool against one unit, as the station keeps it: the same object is written to
// the database, read back from it and exported, so every output says the same thing.
// Times are milliseconds since 1970-01-01 UTC (the database stores them so; the exports add
// ISO-8601 text). Numbers stay numbers: limits are doubles, absent ones are empty.

// How a run ended, stored as its lower-case name.
enum class RunOutcome { Running, Passed, Failed, Interrupted, Stopped };
const char* RunOutcomeName(RunOutcome outcome);
std::optional<RunOutcome> RunOutcomeFromName(const std::string& name);

struct StationInfo {
    std::string host;  // empty: this computer's name
    std::string toolVersion;
};

struct UnitInfo {
    std::string port;  // the USB port path the unit is on
    std::optional<std::int64_t> productId;
    std::optional<std::int64_t> mode;
    std::string versionsBefore;  // as the tool prints them
    std::string versionsAfter;
};

struct StepRecord {
    std::string name;
    std::int64_t startedMs = 0;
    std::int64_t endedMs = 0;
    std::string outcome;  // "passed", "failed", "skipped", …
};

struct MeasurementRecord {
    std::string name;
    double value = 0;
    std::string unit;
    std::optional<double> low;
    std::optional<double> high;
    std::string outcome;
};

// A file the run produced (log, recording, picture). sha256 is the caller's lower-case hex text.
struct ArtefactRecord {
    std::string kind;
    std::string path;
    std::string sha256;
    std::int64_t size = 0;
};

// An image written to the device by a firmware update.
struct ImageRecord {
    std::string section;
    std::int64_t sensor = 0;
    std::int64_t size = 0;
    std::string sha256;
    std::string versionWritten;
    std::string verifyResult;  // "passed", "failed", "skipped"
};

// Where a firmware update stands while it runs, kept so that the next run on the unit's port
// knows what a unit cut off in the middle was getting, and can finish it.
struct UpdateProgress {
    std::string package;        // the package file, its absolute path
    std::string folder;         // the folder the update ran in: image names are relative to it
    std::string packageSha256;  // of the package file as read for the update
    std::vector<ArtefactRecord> files;  // the package file and its images, as written
    std::string stage;                  // "restart-in", "image" or "restart-out"
    std::string image;                  // with "image": "HInfo", "LInfo" or "RInfo"
    int imageNumber = 0;                // from 1, in the order the update writes them
    int imageCount = 0;
    std::int64_t packet = 0;  // packets of that image sent

    bool operator==(const UpdateProgress&) const = default;
};

// An update on a port that did not end passed, with where it stood.
struct UnfinishedUpdate {
    std::string runUuid;
    RunOutcome outcome = RunOutcome::Failed;
    std::int64_t startedMs = 0;
    UpdateProgress progress;
};

struct RunRecord {
    std::string uuid;  // given by RecordStore::BeginRun
    StationInfo station;
    std::string command;                 // "update", "calibrate", …
    std::vector<std::string> arguments;  // the command line, one entry per argument
    std::int64_t startedMs = 0;          // 0: BeginRun takes the clock's
    std::optional<std::int64_t> endedMs;
    RunOutcome outcome = RunOutcome::Running;
    std::optional<int> exitStatus;
    std::string reason;
    std::string operatorName;
    std::string lot;
    // The writing process, so another can tell a run that was killed from one still going.
    // 0 and empty: BeginRun takes this process's.
    std::int64_t processId = 0;
    std::string processStart;

    UnitInfo unit;
    std::vector<StepRecord> steps;
    std::vector<MeasurementRecord> measurements;
    std::vector<ArtefactRecord> artefacts;
    std::vector<ImageRecord> images;
};

}  // namespace tavlin
