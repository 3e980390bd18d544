#pragma once
// The CPU time of one thread of the program under measurement, taken from the thread itself
// once and then readable from any thread while it lives. CPU time, unlike wall time, hardly
// changes with how busy the rest of the machine is.
#include <pthread.h>

#include <atomic>
#include <ctime>

namespace tavlin::bench {

class ThreadCpuClock {
  public:
    // Call on the thread to be measured; later calls are ignored.
    void CaptureCurrentThread() {
        if (captured_.load(std::memory_order_acquire)) {
            return;
        }
        clockid_t id;
        if (pthread_getcpuclockid(pthread_self(), &id) == 0) {
            id_ = id;
            captured_.store(true, std::memory_order_release);
        }
    }
    bool captured() const { return captured_.load(std::memory_order_acquire); }
    double Seconds() const {
        timespec t{};
        if (!captured() || clock_gettime(id_, &t) != 0) {
            return 0;
        }
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
    }
    // The CPU time of the calling thread.
    static double OfCurrentThread() {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
    }

  private:
    std::atomic<bool> captured_{false};
    clockid_t id_{};
};

}  // namespace tavlin::bench
