#include "platform/Event.h"

#include <chrono>

namespace tavlin {

void Event::Set() {
    {
        std::lock_guard lock(mutex_);
        signalled_ = true;
    }
    if (manual_) {
        cv_.notify_all();
    } else {
        cv_.notify_one();
    }
}

void Event::Reset() {
    std::lock_guard lock(mutex_);
    signalled_ = false;
}

bool Event::IsSignalled() const {
    std::lock_guard lock(mutex_);
    return signalled_;
}

uint32_t Event::Wait(uint32_t timeoutMs) {
    std::unique_lock lock(mutex_);
    auto ready = [this] { return signalled_; };
    if (timeoutMs == 0) {
        // A poll: a zero wait on the condition variable would still cost two system calls.
        if (!signalled_) {
            return WAIT_TIMEOUT;
        }
    } else if (timeoutMs == INFINITE) {
        cv_.wait(lock, ready);
    } else if (!cv_.wait_for(lock, std::chrono::milliseconds(timeoutMs), ready)) {
        return WAIT_TIMEOUT;
    }
    if (!manual_) {
        signalled_ = false;
    }
    return WAIT_OBJECT_0;
}

}  // namespace tavlin
