#pragma once
#include <cstdint>
#include <string>

namespace tavlin {

// One enabled line of a register script, with its operands read.
//
//   1 prd   <address hex> <count hex>
//   1 pwd   <address hex> <count hex> <data hex>
//   1 srd   <address hex>
//   1 brd   <address hex> <count hex> <file name>
//   1 bwd   <dec> <address hex> <count hex> <file name>
//   1 #     <milliseconds dec>
//   1 i2cwd <address hex> <count hex> <data hex>
//   1 i2crd <address hex> <count hex>
//
// "bwd" keeps the operand syntax existing scripts use: a leading decimal number, then the
// operands of "brd". The decimal number is read (it must be a number) and not used: the record
// those scripts were written for was packed byte by byte and never matched the (address, count,
// name) record the command thread reads, so no script can rely on a meaning of it. The address is
// the full 32-bit address word (kind and side bits included), the count is the number of bytes
// taken from the start of the named file.
struct ScriptCommand {
    enum class Kind {
        PortRead,
        PortWrite,
        SingleRead,
        BurstRead,
        BurstWrite,
        Delay,
        I2cWrite,
        I2cRead
    };

    Kind kind = Kind::PortRead;
    uint32_t address = 0;
    uint32_t count = 0;
    uint32_t data = 0;
    int32_t delayMs = 0;
    std::string fileName;  // at most 15 bytes, no path separators
    int line = 0;          // 1-based line of the enable number
};

}  // namespace tavlin
