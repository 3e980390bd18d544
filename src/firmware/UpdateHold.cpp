#include "firmware/UpdateHold.h"

#include <utility>

namespace tavlin {

UpdateHold::UpdateHold(std::string package, int64_t startedMs) {
    end_.package = std::move(package);
    end_.startedMs = startedMs;
}

void UpdateHold::Add(Call call, const Sink& sink) {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (released_) {
        sink(call);
        return;
    }
    if (hasEnded_ || call.kind == Kind::MainVersion) {
        held_.push_back(std::move(call));
        return;
    }
    // The worker has moved on: what it said before is no longer its outcome.
    for (const Call& before : held_) {
        sink(before);
    }
    held_.clear();
    if (call.kind == Kind::Status) {
        held_.push_back(std::move(call));
    } else {
        sink(call);
    }
}

void UpdateHold::Written(WrittenImage image) {
    const std::lock_guard<std::mutex> lock(mutex_);
    end_.images.push_back(std::move(image));
}

void UpdateHold::End(Result result, std::optional<std::pair<uint32_t, uint32_t>> versions,
                     int64_t endedMs) {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        end_.result = std::move(result);
        end_.versions = versions;
        end_.endedMs = endedMs;
        hasEnded_ = true;
    }
    ended_.notify_all();
}

bool UpdateHold::Ended() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return hasEnded_;
}

UpdateEnd UpdateHold::WaitForEnd() {
    std::unique_lock<std::mutex> lock(mutex_);
    ended_.wait(lock, [this] { return hasEnded_; });
    return end_;
}

void UpdateHold::Release(const Sink& sink) {
    const std::lock_guard<std::mutex> lock(mutex_);
    released_ = true;
    for (const Call& call : held_) {
        sink(call);
    }
    held_.clear();
}

}  // namespace tavlin
