#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sim/SimFlash.h"

namespace tavlin::sim {

// The simulated device's flash kept in a file between runs (--sim-state), so that a unit left
// half updated by one run is found so by the next. The file is ours alone: a file that is not
// one of ours, or one that is damaged, is refused and never written over.
//
// Format (little-endian): the magic "TAVLNSIM", the format version (u32, 1), the payload's
// length (u64), the payload, and its CRC-32 (u32). The payload: the boot product id (u16), the
// mode (u8), then per sensor (Master, Slave) the image version (u32), the 38-byte version info
// record and per code area (0x004000, 0x008000) the image's state (u8: 0 whole, 1 erased,
// 2 awaiting its version record), its packet count (u32), its length (u32) and its bytes.
struct SimStateProblem {
    enum class Kind {
        None,
        Absent,      // no file by that name yet: a new device
        NotAFile,    // a folder, a FIFO, a device
        Unreadable,  // the system refused to read it
        Foreign,     // not a state file of the simulated device
        Damaged,     // ours, but cut short or changed since it was written
        Newer,       // ours, in a format this program does not know
        Unwritable,  // it could not be written (temporary file, sync, rename)
    };
    Kind kind = Kind::None;
    std::string detail;  // in English, for the log and after the message
};

std::vector<uint8_t> EncodeSimState(const SimFlash& flash);
std::optional<SimFlash> DecodeSimState(const std::vector<uint8_t>& bytes, SimStateProblem* problem);

// The flash kept in `path`; nullopt with the problem when there is none to take (Absent: no
// file yet).
std::optional<SimFlash> ReadSimState(const std::string& path, SimStateProblem* problem);

// Writes the flash to `path` as a real flash keeps it, whole or not at all: into a temporary
// file beside it, synced, then renamed over it. False with the problem when it could not be.
bool WriteSimState(const std::string& path, const SimFlash& flash, SimStateProblem* problem);

}  // namespace tavlin::sim
