#include "sim/SimConnection.h"

#include <algorithm>
#include <cstring>

#include "sim/SimTransport.h"

namespace tavlin::sim {
namespace {

// The report does not fit the collection (the system's ERROR_INVALID_FUNCTION).
constexpr uint32_t kInvalidFunction = 1;

}  // namespace

SimConnection::SimConnection(SimTransport& transport, std::shared_ptr<SimDeviceInstance> instance,
                             std::string path, bool vendorCollection)
    : transport_(transport),
      instance_(std::move(instance)),
      path_(std::move(path)),
      vendorCollection_(vendorCollection) {}

IoResult SimConnection::Write(const uint8_t* report, size_t length) {
    if (instance_->isGone()) {
        return IoResult::Gone();
    }
    if (!vendorCollection_ || length != kReportSize) {
        return IoResult::Error(kInvalidFunction);
    }
    return transport_.Exchange(*this, report);
}

IoResult SimConnection::Read(uint8_t* report, size_t length, int timeoutMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(std::max(0, timeoutMs));
    std::unique_lock lock(instance_->mutex);
    for (;;) {
        if (instance_->gone) {
            return IoResult::Gone();
        }
        const auto now = Clock::now();
        if (!queue_.empty() && queue_.front().ready <= now) {
            Pending p = std::move(queue_.front());
            queue_.pop_front();
            lock.unlock();
            std::memcpy(report, p.report.data(), std::min(length, p.report.size()));
            if (p.reenumerateAs) {
                transport_.ReplyWithReenumerationRead(instance_->serial, *p.reenumerateAs);
            }
            return IoResult::Ok();
        }
        if (now >= deadline) {
            return IoResult::Timeout();
        }
        const auto until = queue_.empty() ? deadline : std::min(deadline, queue_.front().ready);
        instance_->changed.wait_until(lock, until);
    }
}

void SimConnection::DiscardPendingInput() {
    std::lock_guard lock(instance_->mutex);
    // Only what has arrived can be dropped; a reply still on its way arrives later.
    const auto now = Clock::now();
    // A dropped update-control reply still lets the device leave: the transport's fallback
    // timer does it.
    while (!queue_.empty() && queue_.front().ready <= now) {
        queue_.pop_front();
    }
}

void SimConnection::Deliver(const Report& report, Clock::time_point ready,
                            std::optional<uint16_t> reenumerateAs) {
    {
        std::lock_guard lock(instance_->mutex);
        if (instance_->gone) {
            return;
        }
        queue_.push_back({report, ready, reenumerateAs});
    }
    instance_->changed.notify_all();
}

}  // namespace tavlin::sim
