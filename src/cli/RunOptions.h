#pragma once
#include <string>
#include <vector>

namespace tavlin::cli {

// How the run reports, rather than what it does: taken out of the arguments before the command
// is read, wherever they stand (as --simulate is).
struct RunOptions {
    bool json = false;   // --json: one JSON object on stdout, texts for people on stderr
    std::string logDir;  // --log-dir DIR: where the log goes (empty: the current directory)
};

// Removes --json, --log-dir DIR and --log-dir=DIR from `args`. False with a message when
// --log-dir has no folder; what was recognised before that is kept in `out`.
bool ConsumeRunOptions(std::vector<std::string>* args, RunOptions* out, std::string* error);

}  // namespace tavlin::cli
