#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "sim/FaultPlan.h"

namespace tavlin::sim {

// Reads a fault plan from the command line's --sim-faults value: items separated by commas,
// each key=value; keys may repeat where they collect codes.
//
//   latency=DUR          every report takes DUR each way (1ms, 250us, 2s; a bare number is ms)
//   noreply=CODE         reports with this command byte get no answer (time-out)
//   refuse=CODE          ... are answered with a refused status
//   noreply-from=N       the N-th output report (counted from 1) and all later ones: no answer
//   refuse-from=N        ... refused
//   unplug-at=CODE       the device takes that report and leaves before answering
//   unplug-after=N       the device answers N reports; the next one finds it gone
//   foreign=N            the N-th output report's reply comes after a stray report of another
//                        collection (a touch) on the vendor node
//   replug=PID@DUR       after an unplug, the device comes back with product id PID after DUR
//   throw-at=CODE        the link throws an exception when it takes that report
//   powercut-after=N     the device's power goes after N firmware-write packets of the update
//                        (counted across all its images), as the next one arrives
//   powercut-at=IMAGE:P  ... as packet P (from 1) of IMAGE arrives
//   powercut-at=IMAGE:version   ... as the version record of IMAGE arrives
//   powercut-at=restart-in      ... as the update control into the update environment arrives
//   powercut-at=restart-out     ... as the update control back to the work firmware arrives
//                        Each may end in @DUR, how long the power stays off (default 1s). The
//                        report at the cut never reaches the device; an image begun and not
//                        finished with its version record is lost, and the device comes back
//                        in its update environment (product id 0x0042), else as it was. IMAGE
//                        is 1 to 4 in the order the update writes them, or its name: HInfo (or
//                        HInfo-L) to the Left sensor, HInfo-R, LInfo, RInfo.
//
// CODE, N and PID are decimal or 0x-prefixed hexadecimal. Example:
//   latency=1ms,noreply=0x0E,refuse=0x06,unplug-at=0x2F,replug=0x42@500ms
// Returns nullopt and a message naming the bad item when the text does not parse.
std::optional<FaultSettings> ParseFaultPlan(std::string_view text, std::string* error);

}  // namespace tavlin::sim
