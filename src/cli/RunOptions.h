#pragma once
#include <string>
#include <vector>

#include "station/Transports.h"

namespace tavlin::cli {

// The CLI's options (see station/OptionTable.cpp), taken out of the arguments wherever they
// stand; what is left is the command with its own arguments and options.
struct RunOptions {
    bool json = false;   // --json: one JSON object on stdout, texts for people on stderr
    std::string logDir;  // --log-dir DIR: where the log goes (empty: the current directory)
    std::string device;  // --device PORT: work on the device on that USB port only
    bool all = false;    // --all: run the command on every attached device at once
    bool help = false;   // --help, -h
    bool version = false;
    std::string results;  // --results FILE, or "none"; empty: the default database
    // --results-server URL, else TAVLIN_RESULTS_SERVER: the line's PostgreSQL server the
    // records go to; empty: they stay on the station.
    std::string resultsServer;
    std::string operatorName;    // --operator NAME, into the run's record
    std::string lot;             // --lot LOT, into the run's record
    bool requireRecord = false;  // --require-record: a run whose record was not kept fails
    std::vector<std::string> trustedKeys;  // --trusted-key FILE, each one given
    bool requireSigned = false;            // --require-signed: unsigned packages are refused
    station::TransportOptions transport;
    // What --all hands to each device's copy besides the command (--simulate and the others
    // that say how a device is reached).
    std::vector<std::string> handedToCopies;
};

// Reads the options out of `args` (the arguments after the program's name) into `out`, and the
// rest, in order, into `command`. False with the first problem's message when an option's value
// is missing or empty; every option is read all the same, so --json still asks for the object
// that tells it.
// The environment variable a station's server may come from instead of --results-server.
inline constexpr const char* kResultsServerVariable = "TAVLIN_RESULTS_SERVER";

bool ReadRunOptions(const std::vector<std::string>& args, RunOptions* out,
                    std::vector<std::string>* command, std::string* error);

}  // namespace tavlin::cli
