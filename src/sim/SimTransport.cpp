#include "sim/SimTransport.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "sim/ReplyBuilder.h"
#include "sim/SimConnection.h"
#include "sim/SimPresenceAdapter.h"
#include "sim/SimReportDescriptor.h"

namespace tavlin::sim {
namespace {

constexpr uint16_t kDigitizerUsagePage = 0x0D;
constexpr uint16_t kDigitizerUsage = 0x04;
// The device leaves after an update control even when its reply is never read.
constexpr auto kReenumerationFallback = std::chrono::seconds(1);

PresenceEvent EventOf(PresenceEvent::Kind kind, const SimDeviceInstance& d) {
    return {kind, d.vendorId, d.productId};
}

}  // namespace

SimTransport::SimTransport() : SimTransport(Options{}) {}

SimTransport::SimTransport(const Options& options)
    : reenumerationDelay_(options.reenumerationDelay),
      sharedNode_(options.sharedNode),
      port_(options.port),
      pathPrefix_(options.pathPrefix + ":hid") {
    if (options.attached) {
        device_ = std::make_shared<SimDeviceInstance>(nextSerial_++, kVendorId, options.productId);
    }
}

SimTransport::~SimTransport() {
    scheduler_.Stop();
    std::lock_guard lock(mutex_);
    if (device_) {
        device_->MarkGone();
    }
    for (Foreign& f : foreign_) {
        f.instance->MarkGone();
    }
}

std::string SimTransport::PathOf(uint64_t serial, bool vendor) const {
    if (sharedNode_) {
        return pathPrefix_ + std::to_string(serial);
    }
    return pathPrefix_ + std::to_string(serial) + (vendor ? ":vendor" : ":digitizer");
}

std::vector<HidInterfaceInfo> SimTransport::Enumerate() {
    std::lock_guard lock(mutex_);
    std::vector<HidInterfaceInfo> list;
    if (device_) {
        list.push_back({PathOf(device_->serial, false), kVendorId, device_->productId,
                        kDigitizerUsagePage, kDigitizerUsage, port_});
        list.push_back({PathOf(device_->serial, true), kVendorId, device_->productId,
                        kVendorUsagePage, kVendorUsage, port_});
    }
    for (const Foreign& f : foreign_) {
        list.push_back(f.info);
    }
    return list;
}

std::unique_ptr<HidConnection> SimTransport::Open(const std::string& path, int* errorCode) {
    std::lock_guard lock(mutex_);
    *errorCode = 0;
    if (device_) {
        for (bool vendor : {true, false}) {
            if (path == PathOf(device_->serial, vendor)) {
                return std::make_unique<SimConnection>(*this, device_, path, vendor,
                                                       sharedNode_ || !vendor);
            }
        }
    }
    for (const Foreign& f : foreign_) {
        if (f.info.path == path) {
            return std::make_unique<SimConnection>(*this, f.instance, path, false, false);
        }
    }
    *errorCode = ENOENT;
    return nullptr;
}

std::optional<std::pair<uint16_t, uint16_t>> SimTransport::Attributes(HidConnection& connection) {
    auto* sim = dynamic_cast<SimConnection*>(&connection);
    if (sim == nullptr || sim->transport() != this || sim->instance()->isGone()) {
        return std::nullopt;
    }
    return std::make_pair(sim->instance()->vendorId, sim->instance()->productId);
}

std::vector<uint8_t> SimTransport::ReportDescriptor(const std::string& path) {
    // Both collections sit behind one interface, which has one descriptor; foreign devices
    // give none.
    if (path.rfind(pathPrefix_, 0) != 0) {
        return {};
    }
    return {std::begin(kSimReportDescriptor), std::end(kSimReportDescriptor)};
}

IoResult SimTransport::Exchange(SimConnection& connection, const uint8_t* report) {
    const std::shared_ptr<SimDeviceInstance>& device = connection.instance();
    const FaultDecision fault = faults_.OnOutputReport(report[1]);
    if (fault.action == FaultDecision::Action::Throw) {
        char what[64];
        std::snprintf(what, sizeof what, "the simulated link failed at command 0x%02x", report[1]);
        throw std::runtime_error(what);
    }
    if (fault.action == FaultDecision::Action::UnplugBefore) {
        Unplug(device->serial, fault.replug);
        return IoResult::Gone();
    }
    SimConnection::Clock::time_point arrived;
    {
        // The output report's way to the device; an unplug on the way ends it.
        std::unique_lock lock(device->mutex);
        const auto now = SimConnection::Clock::now();
        arrived = device->link.Book(now, fault.latency);
        // Only a deadline still ahead is waited for: a timed wait that has nothing to wait for
        // still costs two system calls.
        const bool gone =
            arrived > now ? device->changed.wait_until(lock, arrived, [&] { return device->gone; })
                          : device->gone;
        if (gone) {
            return IoResult::Gone();
        }
        device->link.WriterWoke(arrived, SimConnection::Clock::now());
    }
    recorder_.Record(RecordedReport::Out, report);
    FirmwareOutcome outcome;
    switch (fault.action) {
        case FaultDecision::Action::UnplugAfter:
            Unplug(device->serial, fault.replug);
            return IoResult::Ok();
        case FaultDecision::Action::NoReply:
            return IoResult::Ok();
        case FaultDecision::Action::Refuse:
            outcome.reply = ReplyBuilder(report[1]).Status(kStatusRefused).report();
            break;
        default:
            outcome = firmware_.Process(report);
            break;
    }
    if (!outcome.reply) {
        return IoResult::Ok();
    }
    SimConnection::Clock::time_point ready;
    {
        std::lock_guard lock(device->mutex);
        ready = device->link.Book(arrived, fault.latency);
    }
    if (fault.foreignFirst) {
        // A report of another collection on the vendor node, just ahead of the reply.
        // It echoes the command and says "accepted"; its data is nothing the device holds.
        Report stray;
        stray.fill(0xA5);
        stray[0] = kTouchReportId;
        stray[1] = report[1];
        stray[2] = kStatusAccepted;
        connection.Deliver(stray, ready, std::nullopt);
    }
    if (streamTouches_) {
        DeliverTouch(*device, ready);
    }
    recorder_.Record(RecordedReport::In, outcome.reply->data(), ready);
    connection.Deliver(*outcome.reply, ready, outcome.reenumerateAs);
    if (streamTouches_) {
        DeliverTouch(*device, ready + std::chrono::microseconds(50));
    }
    if (outcome.reenumerateAs) {
        const uint64_t serial = device->serial;
        const uint16_t productId = *outcome.reenumerateAs;
        scheduler_.Post(kReenumerationFallback,
                        [this, serial, productId] { Reenumerate(serial, productId); });
    }
    return IoResult::Ok();
}

void SimTransport::DeliverTouch(SimDeviceInstance& device, SimConnection::Clock::time_point ready) {
    // Made to look like a good reply to anyone who does not check the report id: the
    // accepted status in byte 2, a changing value where a reply's data would be.
    Report touch{};
    touch[0] = kTouchReportId;
    touch[1] = 0x01;  // tip switch
    touch[2] = kStatusAccepted;
    const uint32_t n = touchSequence_++;
    std::memcpy(touch.data() + 3, &n, sizeof n);
    std::vector<SimConnection*> targets;
    {
        std::lock_guard lock(device.mutex);
        for (SimConnection* c : device.connections) {
            if (c->receivesTouch()) {
                targets.push_back(c);
            }
        }
        // Delivered under the instance's lock so no connection can close meanwhile; Deliver
        // takes the same lock, so the reports are queued right after it is released.
        for (SimConnection* c : targets) {
            c->QueueLocked(touch, ready);
        }
    }
    device.changed.notify_all();
}

void SimTransport::QueueTouchReports(size_t count) {
    std::shared_ptr<SimDeviceInstance> device;
    {
        std::lock_guard lock(mutex_);
        device = device_;
    }
    if (!device) {
        return;
    }
    const auto now = SimConnection::Clock::now();
    for (size_t i = 0; i < count; ++i) {
        DeliverTouch(*device, now);
    }
}

void SimTransport::StreamTouches(bool on) {
    streamTouches_ = on;
}

void SimTransport::ReplyWithReenumerationRead(uint64_t serial, uint16_t productId) {
    scheduler_.Post(std::chrono::milliseconds(0),
                    [this, serial, productId] { Reenumerate(serial, productId); });
}

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
