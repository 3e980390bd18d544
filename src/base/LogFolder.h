#pragma once
#include <string>

#include "base/Result.h"

namespace tavlin {

// Sends the log to FOLDER/Tavlin_log.txt (--log-dir of both front ends; a run started while
// another owns that file writes one of its own beside it, see LogStart). The folder is created,
// parents included, when missing. A folder that cannot be had or written is refused before the
// log moves: `message` then receives the text for the person who asked (string 163), and the
// front end stops, so no run goes on without its log.
// A log file name that is there but is no regular file (a FIFO, a device, a folder) is refused
// the same way.
Result UseLogFolder(const std::string& folder, std::string* message);

// The same checks, the folder created when missing, but this run's log stays where it is: for a
// folder another process will log into.
Result CheckLogFolder(const std::string& folder, std::string* message);
// The log's file as it is named now (the current folder's unless a folder was chosen) refused,
// with `message` for the person who asked, when it is there but is no regular file.
Result CheckLogFile(std::string* message);

}  // namespace tavlin
