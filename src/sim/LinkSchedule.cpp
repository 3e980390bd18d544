#include "sim/LinkSchedule.h"

#include <algorithm>

namespace tavlin::sim {

LinkSchedule::TimePoint LinkSchedule::Book(TimePoint now, Clock::duration period) {
    // Never earlier than the last report's crossing: lateness forgiven cannot make a burst.
    const TimePoint handedOver = std::max(now - owed_, free_);
    owed_ = Clock::duration::zero();
    free_ = handedOver + period;
    return free_;
}

void LinkSchedule::WriterWoke(TimePoint arrived, TimePoint woken) {
    writerLate_ = std::max(Clock::duration::zero(), woken - arrived);
}

void LinkSchedule::ReaderGot(TimePoint due, TimePoint called, TimePoint got) {
    // On a real link the reader would have called that much earlier, and had the report as it
    // arrived or as it called, whichever came later.
    const TimePoint real = std::max(due, called - writerLate_);
    owed_ = std::max(owed_, got - real);
}

}  // namespace tavlin::sim
