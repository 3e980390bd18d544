#pragma once
#include <cstddef>
#include <cstdint>

namespace tavlin {

// A device node as the operating system hands it out: every input report of every collection
// behind it, in arrival order, and errno-style failures.
class RawReportNode {
  public:
    virtual ~RawReportNode() = default;
    // Waits at most timeoutMs (0: does not wait) for one input report. Returns its length, 0
    // when none came, or -1 with *error set to errno - 0 when the node was hung up.
    virtual int ReadRaw(uint8_t* report, size_t length, int timeoutMs, int* error) = 0;
    // Returns the bytes written, or -1 with *error set to errno.
    virtual int WriteRaw(const uint8_t* report, size_t length, int* error) = 0;
};

}  // namespace tavlin
