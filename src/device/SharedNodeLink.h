#pragma once
#include <atomic>

#include "device/HidTransport.h"
#include "device/LinkTap.h"
#include "device/RawReportNode.h"
#include "device/ReportDescriptor.h"

namespace tavlin {

// The vendor collection's exchanges over a node that other collections share. Before a report
// goes out, whatever is already queued on the node is dropped (a touch, or a reply that came
// after its read gave up, must not be taken for the next reply); a read skips input reports of
// other collections within its one time budget. Skipped reports are the touch screen's normal
// traffic and leave no log line.
class SharedNodeLink {
  public:
    SharedNodeLink(RawReportNode& node, InputReportFilter filter) : node_(node), filter_(filter) {}

    IoResult Write(const uint8_t* report, size_t length);
    IoResult Read(uint8_t* report, size_t length, int timeoutMs);
    // Drops the input reports already queued; never waits.
    void Drain();
    // True once a transfer found the node hung up.
    bool gone() const { return gone_; }
    // Every report read off the node goes to `tap` as well (nullptr: none). Set while no
    // transfer runs.
    void SetTap(LinkTap* tap) { tap_ = tap; }

  private:
    IoResult Gone();

    RawReportNode& node_;
    InputReportFilter filter_;
    LinkTap* tap_ = nullptr;
    std::atomic<bool> gone_{false};  // set by the transferring thread, read by detection
};

// How a failed write's errno is reported: a kernel time-out is the time-out the log knows
// (258), a vanished device is a gone device, anything else keeps its code.
IoResult WriteFailure(int error);

}  // namespace tavlin
