#pragma once
#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <thread>

namespace tavlin::sim {

// One thread that runs jobs at their time, in time order, outside its own lock. Stop() (or the
// destructor) drops the jobs not yet due and joins the thread, so nothing runs afterwards.
class SimScheduler {
  public:
    using Clock = std::chrono::steady_clock;

    SimScheduler();
    ~SimScheduler();
    SimScheduler(const SimScheduler&) = delete;
    SimScheduler& operator=(const SimScheduler&) = delete;

    void Post(Clock::duration delay, std::function<void()> job);
    void Stop();
    // True once no job is waiting or running (for tests that wait for a re-plug to settle).
    bool WaitIdle(std::chrono::milliseconds timeout);

  private:
    void Run();

    std::mutex mutex_;
    std::condition_variable cv_;
    std::multimap<Clock::time_point, std::function<void()>> jobs_;
    bool stopping_ = false;
    bool running_ = false;
    std::thread thread_;
};

}  // namespace tavlin::sim
