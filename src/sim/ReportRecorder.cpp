#include "sim/ReportRecorder.h"

#include <algorithm>

namespace tavlin::sim {

void ReportRecorder::Record(RecordedReport::Dir dir, const uint8_t* bytes,
                            std::chrono::steady_clock::time_point time) {
    if (!enabled_) {
        return;
    }
    RecordedReport r;
    r.dir = dir;
    std::copy(bytes, bytes + kReportSize, r.bytes.begin());
    r.time = time;
    std::lock_guard lock(mutex_);
    if (reports_.size() >= kLimit) {
        reports_.erase(reports_.begin(), reports_.begin() + kLimit / 2);
    }
    reports_.push_back(r);
}

std::vector<RecordedReport> ReportRecorder::reports() const {
    std::lock_guard lock(mutex_);
    return reports_;
}

std::vector<Report> ReportRecorder::outReports() const {
    std::lock_guard lock(mutex_);
    std::vector<Report> out;
    for (const RecordedReport& r : reports_) {
        if (r.dir == RecordedReport::Out) {
            out.push_back(r.bytes);
        }
    }
    return out;
}

size_t ReportRecorder::size() const {
    std::lock_guard lock(mutex_);
    return reports_.size();
}

void ReportRecorder::Clear() {
    std::lock_guard lock(mutex_);
    reports_.clear();
}

}  // namespace tavlin::sim
