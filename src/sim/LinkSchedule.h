#pragma once
#include <chrono>

namespace tavlin::sim {

// The device's USB link: one report crosses it at a time, each taking the link's period. A
// report handed over while the link is busy waits for it; one handed over while the link is
// idle starts then, so a caller that comes late never gets reports faster than one per period.
//
// Deadlines are absolute, so a sleeper that wakes a little after its deadline does not push the
// next report back. Nor is the lateness of the simulation's own wake-ups the host's: a kernel
// returns a write the moment its report has crossed and hands a reply to its reader the moment
// it arrives. So the next report counts from when the host would have had the reply on a real
// link plus the host's own time since, never from when the simulation woke it. The host's
// timeline thus runs behind the simulation's by the lateness last forgiven: N exchanges take
// at least N × 2 periods less that one lateness, and never two reports cross within a period.
// Not thread-safe: the device instance's mutex guards it.
class LinkSchedule {
  public:
    using Clock = std::chrono::steady_clock;
    using TimePoint = Clock::time_point;

    // Books the link for one report handed over at `now`; returns when it has crossed.
    TimePoint Book(TimePoint now, Clock::duration period);
    // The writer of the report that crossed at `arrived` was woken at `woken`.
    void WriterWoke(TimePoint arrived, TimePoint woken);
    // A reader that called at `called` got the report that arrived at `due` at `got`.
    void ReaderGot(TimePoint due, TimePoint called, TimePoint got);

  private:
    TimePoint free_{};              // when the last booked report has crossed
    Clock::duration writerLate_{};  // how late the last writer was woken
    Clock::duration owed_{};        // the simulation's lateness since the last booking
};

}  // namespace tavlin::sim
