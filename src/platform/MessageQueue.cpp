#include "platform/MessageQueue.h"

#include <utility>

namespace tavlin {

void MessageQueue::Open() {
    std::lock_guard lock(mutex_);
    open_ = true;
}

std::deque<ThreadMessage> MessageQueue::Close() {
    std::lock_guard lock(mutex_);
    open_ = false;
    return std::exchange(queue_, {});
}

bool MessageQueue::IsOpen() const {
    std::lock_guard lock(mutex_);
    return open_;
}

bool MessageQueue::Post(ThreadMessage message) {
    {
        std::lock_guard lock(mutex_);
        if (!open_) {
            return false;
        }
        queue_.push_back(std::move(message));
    }
    posts_.Advance();
    return true;
}

bool MessageQueue::PostQuit() {
    ThreadMessage quit;
    quit.id = WM_QUIT;
    return Post(std::move(quit));
}

bool MessageQueue::Get(ThreadMessage& out) {
    posts_.WaitUntil([&] { return Peek(out); }, INFINITE);
    return out.id != WM_QUIT;
}

bool MessageQueue::Peek(ThreadMessage& out) {
    std::lock_guard lock(mutex_);
    if (queue_.empty()) {
        return false;
    }
    out = std::move(queue_.front());
    queue_.pop_front();
    return true;
}

}  // namespace tavlin
