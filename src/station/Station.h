#pragma once
#include <string>

#include "base/Result.h"
#include "station/Transports.h"

namespace tavlin::station {

// How a front end takes one device among several attached.
enum class SeveralDevices {
    Refuse,     // the CLI: a script must say which (--device); a port nobody sits on is refused
    TakeFirst,  // the window: the first the system lists, and the log names the ports seen
};

// The device a run works on, by its port.
struct DeviceChoice {
    // The port the run's HidDevice keeps to through the device's restarts; empty: any, so a
    // lone device is followed wherever its restart brings it (a hub may give it another port).
    std::string keptPort;
    // Where the device is: the port asked for, or the lone device's at the start.
    std::string port;
    // For the window's log: the port kept to, or the ports seen when the first was taken.
    std::string startNote;
};

// Chooses among the devices `listing` shows: the one on `port`, else the only one attached.
// Without a listing (a replay, whose recording holds no such look) only the port asked for is
// kept to. Refused with BadInput, by the CLI's policy, for several devices without a port; with
// NoDevice for a port no device sits on while others are attached (naming them). No device at
// all is no refusal: the run's own detection tells.
Result ChooseDevice(HidTransport* listing, const std::string& port, SeveralDevices policy,
                    DeviceChoice* out, std::string* message);

// What a run stands on: the transport it talks through and the device it works on.
struct Station {
    CreatedTransport transport;
    DeviceChoice device;
};

// The run's log: in `logDir` (made when missing), else the current folder. Refused, with the
// folder or file named, when it cannot be written or its name is no regular file (a FIFO would
// hold the first entry for ever): a run does not start without its log.
Result PrepareRunLog(const std::string& logDir, std::string* refusal);

// Chooses the transport (the system's link, the simulated device or a replay, recorded with
// --record; BadInput for options that cannot run) and the device (see ChooseDevice): the one on
// `port`, else a replay's recorded one. A replay takes no look at the attached devices: its
// recorded run's look went past the recording, and an extra look would pace its arrivals and
// removals. With --record the recording keeps the port, for its replay to choose.
Result OpenStation(const TransportOptions& options, const std::string& port, SeveralDevices policy,
                   Station* out, std::string* message);

}  // namespace tavlin::station
