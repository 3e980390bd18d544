#include "sim/SimScheduler.h"

#include "base/Unexpected.h"

namespace tavlin::sim {

SimScheduler::SimScheduler() : thread_([this] { RunGuarded([this] { Run(); }); }) {}

SimScheduler::~SimScheduler() {
    Stop();
}

void SimScheduler::Post(Clock::duration delay, std::function<void()> job) {
    {
        std::lock_guard lock(mutex_);
        if (stopping_) {
            return;
        }
        jobs_.emplace(Clock::now() + delay, std::move(job));
    }
    cv_.notify_all();
}

void SimScheduler::Stop() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        jobs_.clear();
    }
    cv_.notify_all();
    if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) {
        thread_.join();
    }
}

bool SimScheduler::WaitIdle(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    return cv_.wait_for(lock, timeout, [this] { return jobs_.empty() && !running_; });
}

void SimScheduler::Run() {
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        if (jobs_.empty()) {
            cv_.wait(lock);
            continue;
        }
        const auto due = jobs_.begin()->first;
        if (Clock::now() < due) {
            cv_.wait_until(lock, due);
            continue;
        }
        std::function<void()> job = std::move(jobs_.begin()->second);
        jobs_.erase(jobs_.begin());
        running_ = true;
        lock.unlock();
        job();
        lock.lock();
        running_ = false;
        cv_.notify_all();
    }
}

}  // namespace tavlin::sim
