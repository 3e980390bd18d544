#pragma once
#include <string>
#include <vector>

namespace tavlin::cli {

// How the run reports, rather than what it does: taken out of the arguments before the command
// is read, wherever they stand (as --simulate is).
struct RunOptions {
    bool json = false;   // --json: one JSON object on stdout, texts for people on stderr
    std::string logDir;  // --log-dir DIR: where the log goes (empty: the current directory)
    std::string device;  // --device PORT: work on the device on that USB port only
    bool all = false;    // --all: run the command on every attached device at once
};

// Removes --json, --all, --log-dir DIR and --device PORT (also as --name=VALUE) from `args`.
// False with a message when --log-dir has no folder or --device no port, be it missing or empty;
// what was recognised before that is kept in `out`.
bool ConsumeRunOptions(std::vector<std::string>* args, RunOptions* out, std::string* error);

}  // namespace tavlin::cli
