#pragma once
#include <cstdio>
#include <optional>

#include "cli/CliArgs.h"
#include "cli/CliOutput.h"
#include "cli/Interruption.h"
#include "cli/RunReport.h"
#include "device/HidTransport.h"

namespace tavlin::cli {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitNoDevice = 3;
inline constexpr int kExitNoAccess = 4;  // a device is there, but this user may not open it

// One run of the CLI: the window's start-up (log start, command thread, one detection), the
// command's requests through the same workers, and the window's exit path (workers and command
// thread stopped, "Tavlin log end!", device closed). An interruption (SIGINT, SIGTERM) ends the
// command through its own stop or cancel path and the run through the exit path, exit status 1.
// Errors that are not the result of an operation (a device this user may not open) go to `err`.
// `report` (when given) receives the run's outcome, every text printed and what the command
// produced, for the JSON object.
int RunSession(const Invocation& invocation, HidTransport& transport, std::FILE* out,
               int transferTimeoutMs = 2000, Interruption* interruption = nullptr,
               std::FILE* err = stderr, RunReport* report = nullptr);
// As above, printing through `output`, which the caller keeps (and may print to as well).
int RunSession(const Invocation& invocation, HidTransport& transport, CliOutput& output,
               int transferTimeoutMs, Interruption* interruption, std::FILE* err,
               RunReport* report);

// For a run that an unexpected error cuts short, on whichever thread failed: the device of the
// session under way is sent back to work mode where the link still allows - out of its update
// environment, as a failed update leaves it - instead of staying in the middle of a command.
// At most once per session; nothing when no session runs. Waits no longer than the transfers do.
// The ids of the session's device, when it had one open.
std::optional<RunReport::DeviceIds> ReturnDeviceOnUnexpected();

}  // namespace tavlin::cli
