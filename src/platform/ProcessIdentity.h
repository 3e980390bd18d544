#pragma once
#include <cstdint>
#include <string>

namespace tavlin {

// Enough to tell, from another process and later, whether the process that wrote something is
// still running: its id alone is not, since the system gives a freed id to a new process.

// This process's id.
std::int64_t CurrentProcessId();

// A text that stays the same for as long as process `pid` runs and differs for any later
// process given the same id (on Linux the boot's id and the start time in /proc/<pid>/stat, on
// Windows the creation time from GetProcessTimes). Empty when no such process runs or the
// system does not tell.
std::string ProcessStartIdentity(std::int64_t pid);

// The name of this computer, UTF-8; empty when the system does not tell.
std::string HostName();

}  // namespace tavlin
