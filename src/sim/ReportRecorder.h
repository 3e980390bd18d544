#pragma once
#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <vector>

#include "sim/SimTypes.h"

namespace tavlin::sim {

struct RecordedReport {
    enum Dir { Out, In };
    Dir dir = Out;
    Report bytes{};
    std::chrono::steady_clock::time_point time;
};

// Every report that crossed the simulated wire, in order, once a test turns recording on: off
// by default, so a long --simulate session holds no recording nobody reads. Thread-safe. It
// keeps at most kLimit reports (the oldest go first).
class ReportRecorder {
  public:
    static constexpr size_t kLimit = 1 << 20;

    void SetEnabled(bool on) { enabled_ = on; }
    bool enabled() const { return enabled_; }

    void Record(RecordedReport::Dir dir, const uint8_t* bytes,
                std::chrono::steady_clock::time_point time = std::chrono::steady_clock::now());
    std::vector<RecordedReport> reports() const;
    std::vector<Report> outReports() const;
    size_t size() const;
    void Clear();

  private:
    std::atomic<bool> enabled_{false};
    mutable std::mutex mutex_;
    std::vector<RecordedReport> reports_;
};

}  // namespace tavlin::sim
