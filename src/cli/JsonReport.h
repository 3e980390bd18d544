#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "cli/RunReport.h"

namespace tavlin::cli {

// The program's version, as --version prints it and every JSON object carries it.
const char* ToolVersion();

// The exit status as the JSON object's "result" word: "ok", "failed", "usage", "no-device",
// "no-access".
const char* ExitWord(int exitStatus);

// The run's JSON object on one line, with its line feed. `command` is the command word as typed
// (empty when none was); `logPath` is empty for a run that wrote no log. Texts that are not valid
// UTF-8 (a file name from the command line, say) have their broken bytes replaced, so the object
// always parses.
std::string JsonReport(const std::string& command, int exitStatus, const RunReport& report,
                       const std::string& logPath, int64_t elapsedMs);

}  // namespace tavlin::cli
