#include "cli/Interruption.h"

namespace tavlin::cli {

Interruption::Hook::~Hook() {
    if (owner_ != nullptr) {
        std::lock_guard lock(owner_->mutex_);
        owner_->stop_ = std::move(previous_);
    }
}

void Interruption::Request() {
    std::lock_guard lock(mutex_);
    if (requested_.exchange(true)) {
        return;  // a second Ctrl+C while the first one is being served
    }
    if (stop_) {
        stop_();
    }
}

Interruption::Hook Interruption::OnRequest(std::function<void()> stop) {
    std::lock_guard lock(mutex_);
    if (requested_ && stop) {
        stop();
    }
    std::function<void()> previous = std::exchange(stop_, std::move(stop));
    return Hook(*this, std::move(previous));
}

}  // namespace tavlin::cli
