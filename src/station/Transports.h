#pragma once
#include <memory>
#include <optional>
#include <string>

#include "device/HidTransport.h"

namespace tavlin {
class ReplayTransport;
class TraceWriter;
}  // namespace tavlin

namespace tavlin::sim {
class SimTransport;
}

namespace tavlin::station {

using sim::SimTransport;

struct TransportOptions {
    bool simulate = false;
    std::string simFaults;   // the --sim-faults value (see FaultPlanParser.h)
    std::string simDevices;  // --sim-devices N: that many simulated devices, ports sim-1..sim-N
    std::string simState;    // --sim-state FILE: the simulated device's flash, kept between runs
    std::string record;      // --record FILE: the session's reports and presence go there
    std::string replay;      // --replay FILE: a recorded session takes the device's place
    std::string replayPace;  // --replay-pace: "recorded" or "immediate" (the default)
};

class GivenOptions;
// --simulate, --sim-faults, --sim-devices, --sim-state, --record, --replay and --replay-pace as a
// command line gave them.
TransportOptions TransportOptionsFrom(const GivenOptions& given);

// The options' values and combinations, checked before anything runs (CreateTransport checks
// them again): a pace other than recorded or immediate, a pace without a replay, faults or
// devices without --simulate, a device count that is not a number from 1 to 64, a state file
// without --simulate or for several devices, a replay together with --simulate or --record.
bool CheckTransportOptions(const TransportOptions& options, std::string* error);

struct CreatedTransport {
    CreatedTransport();
    CreatedTransport(CreatedTransport&&) noexcept;
    CreatedTransport& operator=(CreatedTransport&&) noexcept;
    ~CreatedTransport();  // the recording ends (flushed) before the device it recorded goes

    std::unique_ptr<HidTransport> base;       // what runs under a recording
    std::unique_ptr<TraceWriter> recording;   // with --record
    std::unique_ptr<HidTransport> transport;  // null when the options were refused
    // With --simulate: the simulated device (of a station's several, the first); else null.
    SimTransport* sim = nullptr;
    ReplayTransport* replay = nullptr;  // with --replay
    explicit operator bool() const { return transport != nullptr; }
};

// The real devices (see SystemTransport.h), the simulated device (attached, product id 0x0055)
// with its fault plan, or several of them on a simulated station (see SimStation.h), or a recorded
// session; any of the first two recorded with --record. Fails with a message for a fault plan that
// does not parse, faults asked without --simulate, a recording that cannot be read or written,
// or a state file (--sim-state) that is not one, is damaged or cannot be written - before anything
// runs. A state file refused is left as it was, and the log says why.
CreatedTransport CreateTransport(const TransportOptions& options, std::string* error);

// How a recording ended: whole, or cut short (a write failed, the writer fell behind) with the
// reason and a message for the user.
struct RecordingEnd {
    bool complete = true;
    std::string reason;
    std::string message;  // in the user's language; empty when complete
};
// With --replay, once the program is done: a message when the recording still holds output
// reports the program never sent (it stopped short of the recorded run); else empty.
std::string ReplayShortfall(const CreatedTransport& created);

// With --replay, once the recording has run out (see ReplayTransport): the message; else empty.
std::string ReplayRanOut(const CreatedTransport& created);

// The messages above, in the user's language: `left` recorded output reports never sent; the
// recording ran out at `line`; the recording `path` was cut short for `reason`.
std::string ShortfallText(size_t left);
std::string RanOutText(int line);
std::string IncompleteText(const std::string& path, const std::string& reason);

// With --record: the port the run works on among several devices, for its replay to choose.
void RecordPort(CreatedTransport& created, const std::string& port);

// Closes the run's recording, everything queued written; nothing without --record. With a
// reason, the recording is marked as not holding the whole run (the run did not end as it should).
std::optional<RecordingEnd> EndRecording(CreatedTransport& created, const std::string& path,
                                         const std::string& cutReason = {});

}  // namespace tavlin::station
