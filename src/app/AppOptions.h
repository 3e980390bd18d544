#pragma once
#include <QStringList>
#include <string>

#include "calibration/CalibrationCheck.h"
#include "firmware/PackagePolicy.h"
#include "station/Transports.h"

namespace tavlin {

// What the window program's command line asks for.
struct AppOptions {
    bool engineering = false;       // show the engineering console
    std::string logDir;             // where the log goes; empty: the current directory
    bool checkCalibration = false;  // open the calibration check at start
    double checkToleranceMm = kDefaultCheckToleranceMm;
    // --screen-size: the screen's millimetres for the calibration check; 0: none given.
    double screenWidthMm = 0;
    double screenHeightMm = 0;
    std::string device;  // --device: the USB port of the one device to work on
    // The runs' records: --results (a file, "none", or empty: the log folder's database),
    // --operator and --lot.
    std::string results;
    std::string operatorName;
    std::string lot;
    std::string resultsServer;  // --results-server, else TAVLIN_RESULTS_SERVER
    PackagePolicy packages;     // --trusted-key, --require-signed
    station::TransportOptions transport;
};

enum class OptionsOutcome { Run, Help, Version, Error };

struct ParsedOptions {
    OptionsOutcome outcome = OptionsOutcome::Run;
    AppOptions options;
    std::string text;  // Help and Version: for stdout; Error: for stderr
    int exitCode = 0;  // for every outcome but Run
};

// Parses the arguments (the program name first). Qt's parser answers errors in English and
// process() ends the program with status 1, so errors are taken from parse() and written with
// the program's own texts; an error ends with status 2, like the CLI's usage errors.
ParsedOptions ParseAppOptions(const QStringList& arguments);

}  // namespace tavlin
