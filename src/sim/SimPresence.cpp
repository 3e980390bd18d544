// The simulated device coming and going: attach, detach, re-enumeration after an update
// control, foreign devices, and the listeners told of every change.
#include "sim/SimTransport.h"

#include <algorithm>

#include "sim/SimPresenceAdapter.h"

namespace tavlin::sim {
namespace {

PresenceEvent EventOf(PresenceEvent::Kind kind, const SimDeviceInstance& d) {
    return {kind, d.vendorId, d.productId};
}

}  // namespace

void SimTransport::Reenumerate(uint64_t serial, uint16_t productId) {
    std::chrono::milliseconds delay;
    {
        std::lock_guard lock(mutex_);
        delay = reenumerationDelay_;
    }
    Unplug(serial, Replug{productId, delay});
}

void SimTransport::Unplug(uint64_t serial, std::optional<Replug> replug) {
    std::vector<PresenceEvent> events;
    uint64_t generation = 0;
    {
        std::lock_guard lock(mutex_);
        if (!device_ || device_->serial != serial) {
            return;  // already gone, or another instance by now
        }
        events.push_back(EventOf(PresenceEvent::Kind::Removed, *device_));
        device_->MarkGone();
        device_.reset();
        generation = ++generation_;
    }
    Notify(events);
    presenceChanged_.notify_all();
    if (!replug) {
        return;
    }
    const uint16_t productId = replug->productId;
    scheduler_.Post(replug->delay, [this, generation, productId] {
        const std::optional<std::string> moved = faults_.settings().movePort;
        {
            std::lock_guard lock(mutex_);
            if (generation_ != generation) {
                return;  // someone plugged or unplugged by hand meanwhile: that stands
            }
            if (moved) {
                port_ = *moved;
            }
        }
        Attach(productId);
    });
}

void SimTransport::Attach(uint16_t productId) {
    std::vector<PresenceEvent> events;
    {
        std::lock_guard lock(mutex_);
        ++generation_;
        if (device_) {
            events.push_back(EventOf(PresenceEvent::Kind::Removed, *device_));
            device_->MarkGone();
        }
        device_ = std::make_shared<SimDeviceInstance>(nextSerial_++, kVendorId, productId);
        events.push_back(EventOf(PresenceEvent::Kind::Arrived, *device_));
    }
    Notify(events);
    presenceChanged_.notify_all();
}

void SimTransport::Detach() {
    uint64_t serial = 0;
    {
        std::lock_guard lock(mutex_);
        if (!device_) {
            return;
        }
        serial = device_->serial;
    }
    Unplug(serial, std::nullopt);
}

std::string SimTransport::port() const {
    std::lock_guard lock(mutex_);
    return port_;
}

bool SimTransport::attached() const {
    std::lock_guard lock(mutex_);
    return device_ != nullptr;
}

uint16_t SimTransport::productId() const {
    std::lock_guard lock(mutex_);
    return device_ ? device_->productId : 0;
}

bool SimTransport::WaitForAttached(uint16_t productId, std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    return presenceChanged_.wait_for(lock, timeout,
                                     [&] { return device_ && device_->productId == productId; });
}

bool SimTransport::WaitForDetached(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    return presenceChanged_.wait_for(lock, timeout, [&] { return device_ == nullptr; });
}

void SimTransport::setReenumerationDelay(std::chrono::milliseconds delay) {
    std::lock_guard lock(mutex_);
    reenumerationDelay_ = delay;
}

void SimTransport::AddForeignDevice(const HidInterfaceInfo& info) {
    PresenceEvent event;
    {
        std::lock_guard lock(mutex_);
        foreign_.push_back({info, std::make_shared<SimDeviceInstance>(nextSerial_++, info.vendorId,
                                                                      info.productId)});
        event = EventOf(PresenceEvent::Kind::Arrived, *foreign_.back().instance);
    }
    Notify({event});
}

bool SimTransport::RemoveForeignDevice(const std::string& path) {
    PresenceEvent event;
    {
        std::lock_guard lock(mutex_);
        auto it = std::find_if(foreign_.begin(), foreign_.end(),
                               [&](const Foreign& f) { return f.info.path == path; });
        if (it == foreign_.end()) {
            return false;
        }
        event = EventOf(PresenceEvent::Kind::Removed, *it->instance);
        it->instance->MarkGone();
        foreign_.erase(it);
    }
    Notify({event});
    return true;
}

int SimTransport::AddPresenceListener(std::function<void(const PresenceEvent&)> listener) {
    std::lock_guard lock(mutex_);
    listeners_.emplace(nextListener_, std::move(listener));
    return nextListener_++;
}

namespace {
// Set while this thread calls presence listeners: a listener that removes itself must not wait
// for its own call to end.
thread_local bool t_notifying = false;
}  // namespace

void SimTransport::RemovePresenceListener(int id) {
    std::unique_lock lock(mutex_);
    listeners_.erase(id);
    // After this returns the listener is never called again, also not by a notification that was
    // already under way on another thread: its owner may be destroyed next.
    if (!t_notifying) {
        notifyDone_.wait(lock, [this] { return notifying_ == 0; });
    }
}

void SimTransport::Notify(const std::vector<PresenceEvent>& events) {
    std::vector<std::function<void(const PresenceEvent&)>> listeners;
    {
        std::lock_guard lock(mutex_);
        for (const auto& [id, listener] : listeners_) {
            listeners.push_back(listener);
        }
        ++notifying_;
    }
    const bool outer = !t_notifying;
    t_notifying = true;
    for (const PresenceEvent& event : events) {
        for (const auto& listener : listeners) {
            listener(event);
        }
    }
    t_notifying = !outer;
    {
        std::lock_guard lock(mutex_);
        --notifying_;
    }
    notifyDone_.notify_all();
}

std::unique_ptr<DeviceChangeWatch> SimTransport::WatchPresence(std::function<void()> onChange) {
    if (faults_.settings().noNotices) {
        return nullptr;
    }
    return std::make_unique<SimPresenceAdapter>(*this, std::move(onChange));
}

}  // namespace tavlin::sim
