#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>

namespace tavlin {

// Which input reports on a node are replies of our vendor collection. On Linux one hidraw node
// carries the input reports of every top-level collection of the interface (the touch
// digitizer's as well), so a read must tell ours from the others by report id.
class InputReportFilter {
  public:
    // Every input report is ours: the descriptor uses no report ids, so the node carries one
    // collection only.
    static InputReportFilter AcceptAll();
    static InputReportFilter Only(std::initializer_list<uint8_t> ids);
    // From the node's report descriptor: the report ids of the input items inside the vendor
    // collection (usage page 0xFF00, usage 1). A descriptor with report ids but no such input
    // falls back to the id of our output reports, 0x03, as does a node whose descriptor cannot
    // be read (FromDescriptor(nullptr, 0)).
    static InputReportFilter FromDescriptor(const uint8_t* descriptor, size_t length);

    bool Accepts(uint8_t reportId) const { return acceptAll_ || ids_[reportId]; }
    bool acceptsAll() const { return acceptAll_; }

  private:
    bool acceptAll_ = false;
    std::array<bool, 256> ids_{};
};

}  // namespace tavlin
