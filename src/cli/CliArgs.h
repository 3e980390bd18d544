#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "cli/RunReport.h"

namespace tavlin {
struct LoadedPackage;
class UpdateJournal;
}  // namespace tavlin

namespace tavlin::cli {

enum class Command {
    List,
    Detect,
    ModeWork,
    ModeCalibration,
    Versions,
    Read,
    Write,
    Script,
    Fpga,
    Update,
    Level,
    Layout,
    Calibrate,
    Results,
    ResultsExport,
    ResultsUpload,
    PackageManifest,
    PackageVerify,
    Help,
    Version
};

struct Invocation {
    Command command = Command::Help;
    bool i2c = false;     // read/write: the sensor register space (Step Debug's Sensor box)
    std::string address;  // as typed; parsed as the Step Debug panel parses it
    std::string value;
    std::string file;
    int replugTimeoutSeconds = 20;  // update: how long the device may take to re-enumerate
    bool verify = false;            // update: read the versions back after leaving
    bool resume = false;            // update: the package of the port's last unfinished update
    int frames = 1;                 // level: preview cycles
    bool exposure = false;          // level: adjust the exposure before leaving
    std::string pngDir;             // level: where master.png and slave.png go
    int screenWidth = 1920;         // layout, calibrate
    int screenHeight = 1080;
    uint32_t targetLimitMs = 30000;  // calibrate: how long a target may go without a valid sample
    int lastRuns = 20;               // results: how many runs
    std::string resultsPort;         // results: one port's runs only
    std::string resultsSince;        // results: runs started on or after this date (YYYY-MM-DD)
    bool csv = false;                // results export: CSV rather than JSON (into `file`)
    // Not an argument of the command: the port the run keeps to (station::DeviceChoice); empty:
    // any.
    std::string keptPort;
    // From the options (--trusted-key, --require-signed): whom update and package verify trust.
    std::vector<std::string> trustedKeys;
    bool requireSigned = false;
    // Not an argument either: update's package as read and checked before the device was
    // opened; null: the session reads and checks it before it opens the device.
    std::shared_ptr<const LoadedPackage> package;
    // Not arguments: the port's last update when it did not end (update, detect), and where an
    // update keeps its progress (null: nowhere).
    std::optional<RunReport::InterruptedUpdate> unfinished;
    UpdateJournal* journal = nullptr;
    // The front end started the run's log already (to log the package's check in it).
    bool logStarted = false;
};

// Parses the arguments after the program name (the transport options already taken out).
// Returns false with a message for a usage error.
bool ParseInvocation(const std::vector<std::string>& args, Invocation* out, std::string* error);

// --help's text, in the user's language.
std::string UsageText();

}  // namespace tavlin::cli
