#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "device/HidTransport.h"

namespace tavlin {

// One line of a session recording: a report that crossed the link, a device interface that
// came or went, an interface the program could not open, a device notice the system gave, the
// port the run chose, or the recording's end.
struct TraceEvent {
    enum class Kind { Out, In, Arrival, Removal, OpenFailed, Notice, Port, End };

    Kind kind = Kind::Out;
    uint64_t us = 0;             // since the recording started
    std::vector<uint8_t> bytes;  // the report; for an arrival the node's report descriptor
    IoResult outcome;            // Out: how the write ended
    HidInterfaceInfo info;       // Arrival: the interface; Removal: its path; Port: the port
    // Arrival, Removal: which of the program's looks at the device list found it (counted
    // from 1). A later look means the program looked in between and saw the state before.
    uint64_t look = 0;
    // OpenFailed (the path in info): the system's error, and whether it meant no access.
    uint32_t openError = 0;
    bool denied = false;
    // End: whether the recording holds the whole run, and why not.
    bool complete = true;
    std::string reason;
    // The line of the recording it was read from (counted from 1); 0 when it was not read.
    int line = 0;

    bool IsPresence() const { return kind == Kind::Arrival || kind == Kind::Removal; }
};

}  // namespace tavlin
