#pragma once
#include <cerrno>
#include <cstdint>
#include <string>
#include <vector>

#include "device/HidTransport.h"
#include "device/RawReportNode.h"
#include "device/SharedNodeLink.h"

namespace tavlin {

class ReplayTransport;

// The write's errno for a report that is not the recorded one; the reason says the rest.
inline constexpr int kReplayMismatchError = EPROTO;

// A node of the replayed device, read as the host's link reads a shared node: stray reports of
// other collections are skipped, and queued ones drained before a write, exactly as they were
// when the session was recorded.
class ReplayConnection final : public HidConnection, private RawReportNode {
  public:
    // `instance` names the arrival this node belongs to; `descriptor` is the node's, as recorded.
    ReplayConnection(ReplayTransport& transport, uint64_t instance, std::string path,
                     const std::vector<uint8_t>& descriptor);

    uint64_t instance() const { return instance_; }

    IoResult Write(const uint8_t* report, size_t length) override;
    IoResult Read(uint8_t* report, size_t length, int timeoutMs) override;
    void DiscardPendingInput() override { link_.Drain(); }
    const std::string& Path() const override { return path_; }
    bool Gone() const override;

  private:
    IoResult RanOut() const;  // the failure of a transfer past the end of a cut recording
    int ReadRaw(uint8_t* report, size_t length, int timeoutMs, int* error) override;
    int WriteRaw(const uint8_t* report, size_t length, int* error) override;

    ReplayTransport& transport_;
    const uint64_t instance_;
    const std::string path_;
    SharedNodeLink link_;
    std::string mismatch_;  // the transferring thread's only
};

}  // namespace tavlin
