#include "sim/SimConnection.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "sim/SimReportDescriptor.h"
#include "sim/SimTransport.h"

namespace tavlin::sim {
namespace {

// The report does not fit the collection (the system's ERROR_INVALID_FUNCTION).
constexpr uint32_t kInvalidFunction = 1;

}  // namespace

SimConnection::SimConnection(SimTransport& transport, std::shared_ptr<SimDeviceInstance> instance,
                             std::string path, bool vendorCollection, bool receivesTouch)
    : transport_(transport),
      instance_(std::move(instance)),
      path_(std::move(path)),
      vendorCollection_(vendorCollection),
      receivesTouch_(receivesTouch),
      link_(*this,
            InputReportFilter::FromDescriptor(kSimReportDescriptor, sizeof kSimReportDescriptor)) {
    std::lock_guard lock(instance_->mutex);
    instance_->connections.push_back(this);
}

SimConnection::~SimConnection() {
    std::lock_guard lock(instance_->mutex);
    auto& list = instance_->connections;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

IoResult SimConnection::Write(const uint8_t* report, size_t length) {
    if (instance_->isGone()) {
        return IoResult::Gone();
    }
    if (!vendorCollection_ || length != kReportSize) {
        return IoResult::Error(kInvalidFunction);
    }
    return link_.Write(report, length);
}

IoResult SimConnection::Read(uint8_t* report, size_t length, int timeoutMs) {
    if (vendorCollection_) {
        return link_.Read(report, length, timeoutMs);
    }
    int error = 0;
    const int got = ReadRaw(report, length, timeoutMs, &error);
    return got > 0 ? IoResult::Ok() : got == 0 ? IoResult::Timeout() : IoResult::Gone();
}

bool SimConnection::TapInput(LinkTap* tap) {
    if (!vendorCollection_) {
        return false;
    }
    link_.SetTap(tap);
    return true;
}

void SimConnection::DiscardPendingInput() {
    link_.Drain();
}

int SimConnection::WriteRaw(const uint8_t* report, size_t length, int* error) {
    const IoResult result = transport_.Exchange(*this, report);
    if (result.ok()) {
        return static_cast<int>(length);
    }
    *error = result.status == IoStatus::DeviceGone ? ENODEV : static_cast<int>(result.code);
    return -1;
}

int SimConnection::ReadRaw(uint8_t* report, size_t length, int timeoutMs, int* error) {
    const auto called = Clock::now();
    const auto deadline = called + std::chrono::milliseconds(std::max(0, timeoutMs));
    std::unique_lock lock(instance_->mutex);
    for (;;) {
        if (instance_->gone) {
            *error = 0;  // hung up
            return -1;
        }
        const auto now = Clock::now();
        // Only what has arrived can be read; a reply still on its way arrives later.
        if (!queue_.empty() && queue_.front().ready <= now) {
            Pending p = std::move(queue_.front());
            queue_.pop_front();
            if (vendorCollection_) {
                instance_->link.ReaderGot(p.ready, called, now);
            }
            lock.unlock();
            const size_t n = std::min(length, p.report.size());
            std::memcpy(report, p.report.data(), n);
            if (p.reenumerateAs) {
                transport_.ReplyWithReenumerationRead(instance_->serial, *p.reenumerateAs);
            }
            return static_cast<int>(n);
        }
        if (now >= deadline) {
            return 0;
        }
        const auto until = queue_.empty() ? deadline : std::min(deadline, queue_.front().ready);
        instance_->changed.wait_until(lock, until);
    }
}

void SimConnection::QueueLocked(const Report& report, Clock::time_point ready) {
    if (!instance_->gone) {
        queue_.push_back({report, ready, std::nullopt});
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
