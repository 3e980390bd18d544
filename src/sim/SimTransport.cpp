// The simulated HID service and the device's report path: the device list, opens, output
// reports through the fault plan to the firmware, replies and touch reports. Plugging,
// unplugging and the presence listeners are in SimPresence.cpp.
#include "sim/SimTransport.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "base/Log.h"
#include "sim/ReplyBuilder.h"
#include "sim/SimConnection.h"
#include "sim/SimReportDescriptor.h"

namespace tavlin::sim {
namespace {

constexpr uint16_t kDigitizerUsagePage = 0x0D;
constexpr uint16_t kDigitizerUsage = 0x04;
// The device leaves after an update control even when its reply is never read.
constexpr auto kReenumerationFallback = std::chrono::seconds(1);

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
    const FaultDecision fault = faults_.OnOutputReport(report);
    if (fault.action == FaultDecision::Action::Throw) {
        char what[64];
        std::snprintf(what, sizeof what, "the simulated link failed at command 0x%02x", report[1]);
        throw std::runtime_error(what);
    }
    if (fault.action == FaultDecision::Action::UnplugBefore) {
        Unplug(device->serial, fault.replug);
        return IoResult::Gone();
    }
    if (fault.action == FaultDecision::Action::PowerCut) {
        CutPower(device->serial, fault.powerOff);
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
    if (outcome.flashChanged) {
        KeepFlash();
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

void SimTransport::CutPower(uint64_t serial, std::chrono::milliseconds off) {
    firmware_.PowerCut();
    // Kept at every change already; written again so the file holds the moment of the cut.
    KeepFlash();
    Unplug(serial, Replug{firmware_.flash().PowerOnProductId(), off});
}

bool SimTransport::KeepFlashIn(const std::string& path, SimStateProblem* problem) {
    std::lock_guard lock(flashFileMutex_);
    if (!WriteSimState(path, firmware_.flash(), problem)) {
        return false;
    }
    flashFile_ = path;
    flashFileFailed_ = false;
    return true;
}

void SimTransport::KeepFlash() {
    std::lock_guard lock(flashFileMutex_);
    if (flashFile_.empty()) {
        return;
    }
    SimStateProblem problem;
    const bool written = WriteSimState(flashFile_, firmware_.flash(), &problem);
    if (!written && !flashFileFailed_) {
        // Once per run of failures: a full disk must not flood the log.
        WriteLog("Simulated device: state file \"%s\" not written (%s)\n", flashFile_.c_str(),
                 problem.detail.c_str());
    }
    flashFileFailed_ = !written;
}

void SimTransport::StreamTouches(bool on) {
    streamTouches_ = on;
}

void SimTransport::ReplyWithReenumerationRead(uint64_t serial, uint16_t productId) {
    scheduler_.Post(std::chrono::milliseconds(0),
                    [this, serial, productId] { Reenumerate(serial, productId); });
}

}  // namespace tavlin::sim
