#pragma once
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "device/HidTransport.h"
#include "sim/FaultPlan.h"
#include "sim/ReportRecorder.h"
#include "sim/SimConnection.h"
#include "sim/SimDeviceInstance.h"
#include "sim/SimFirmware.h"
#include "sim/SimScheduler.h"
#include "sim/SimStateFile.h"

namespace tavlin::sim {

struct PresenceEvent {
    enum class Kind { Arrived, Removed };
    Kind kind = Kind::Arrived;
    uint16_t vendorId = 0;
    uint16_t productId = 0;
};

// The simulated system's HID service with the simulated device on it.
//
// While attached the device lists two collections with the current product id: its digitizer
// (usage page 0x0D, usage 0x04) first, then the vendor collection (0xFF00 / 0x0001), each with
// its own path, or one path for both in the shared-node mode. Output
// reports to the vendor collection pass the fault plan, are recorded (when the recorder is on) and
// reach the firmware; replies wait in the connection until read.
//
// Presence listeners are called, never under the transport's lock, on the thread that changed
// the presence: the caller of Attach/Detach/AddForeignDevice/RemoveForeignDevice, the thread
// whose report triggered an unplug fault, or the transport's scheduler thread for update-control
// re-enumeration and re-plugs. A listener may call back into the transport.
class SimTransport final : public HidTransport {
  public:
    struct Options {
        bool attached = true;
        uint16_t productId = kProductIdWork;
        std::chrono::milliseconds reenumerationDelay{300};
        // As on Linux: both collections behind one node (one path), whose input reports the
        // touch collection's share with the vendor collection's replies.
        bool sharedNode = false;
        // The USB port the device sits on, and what its interfaces' paths start with: several
        // simulated devices on one station each have their own.
        std::string port = "sim-1";
        std::string pathPrefix = "sim";
    };

    SimTransport();
    explicit SimTransport(const Options& options);
    ~SimTransport() override;
    SimTransport(const SimTransport&) = delete;
    SimTransport& operator=(const SimTransport&) = delete;

    std::vector<HidInterfaceInfo> Enumerate() override;
    std::unique_ptr<HidConnection> Open(const std::string& path, int* errorCode) override;
    std::optional<std::pair<uint16_t, uint16_t>> Attributes(HidConnection& connection) override;
    std::vector<uint8_t> ReportDescriptor(const std::string& path) override;
    // The device's attach and detach events, as a watch of the system's notices would give them.
    std::unique_ptr<DeviceChangeWatch> WatchPresence(std::function<void()> onChange) override;

    // Where the device sits now: a move-port fault changes it when the device comes back.
    std::string port() const;
    // What its interfaces' paths start with; the same on every port.
    const std::string& pathPrefix() const { return pathPrefix_; }
    SimFirmware& firmware() { return firmware_; }
    FaultPlan& faults() { return faults_; }
    ReportRecorder& recorder() { return recorder_; }

    // Plugs the device in; when it is already in, it is re-plugged as a new instance.
    void Attach(uint16_t productId = kProductIdWork);
    void Detach();
    bool attached() const;
    uint16_t productId() const;  // of the attached device, 0 when none
    bool WaitForAttached(uint16_t productId, std::chrono::milliseconds timeout);
    bool WaitForDetached(std::chrono::milliseconds timeout);

    // Keeps the firmware's flash in a file from now on (see SimStateFile.h): written now and at
    // every change a real flash keeps, so the device outlives the program. False, with the
    // problem, when the file cannot be written.
    bool KeepFlashIn(const std::string& path, SimStateProblem* problem);

    // How long the device stays away after an update control before it comes back.
    void setReenumerationDelay(std::chrono::milliseconds delay);

    // Touch reports (report id 1) that queue up on every connection the touch collection
    // reaches, as touches made while the tool sits idle do.
    void QueueTouchReports(size_t count);
    // While on, a touch report arrives just before and just after every reply.
    void StreamTouches(bool on);

    // Other vendors' devices (a mouse, say): listed, openable, but they take no reports.
    void AddForeignDevice(const HidInterfaceInfo& info);
    bool RemoveForeignDevice(const std::string& path);

    int AddPresenceListener(std::function<void(const PresenceEvent&)> listener);
    // After this returns the listener is not called again: a notice under way on another thread
    // is waited for (one under way on this thread, from within a listener, is not).
    void RemovePresenceListener(int id);

  private:
    friend class SimConnection;

    struct Foreign {
        HidInterfaceInfo info;
        std::shared_ptr<SimDeviceInstance> instance;
    };

    IoResult Exchange(SimConnection& connection, const uint8_t* report);
    void ReplyWithReenumerationRead(uint64_t serial, uint16_t productId);
    void Reenumerate(uint64_t serial, uint16_t productId);
    // Unplugs the instance if it is still the attached one; a re-plug follows if given.
    void Unplug(uint64_t serial, std::optional<Replug> replug);
    void AttachAfter(std::chrono::milliseconds delay, uint16_t productId);
    void Notify(const std::vector<PresenceEvent>& events);
    std::string PathOf(uint64_t serial, bool vendor) const;
    void DeliverTouch(SimDeviceInstance& device, SimConnection::Clock::time_point ready);
    void CutPower(uint64_t serial, std::chrono::milliseconds off);
    void KeepFlash();

    SimFirmware firmware_;
    FaultPlan faults_;
    ReportRecorder recorder_;

    mutable std::mutex mutex_;
    std::condition_variable presenceChanged_;
    std::shared_ptr<SimDeviceInstance> device_;  // null while detached
    std::vector<Foreign> foreign_;
    uint64_t nextSerial_ = 1;
    uint64_t generation_ = 0;  // bumped by every attach and detach
    std::chrono::milliseconds reenumerationDelay_;
    const bool sharedNode_;
    std::string port_;              // guarded by mutex_
    const std::string pathPrefix_;  // with ":hid" after it
    std::atomic<bool> streamTouches_{false};
    std::atomic<uint32_t> touchSequence_{0};
    std::map<int, std::function<void(const PresenceEvent&)>> listeners_;
    int notifying_ = 0;  // notifications under way (guarded by mutex_)
    std::condition_variable notifyDone_;
    int nextListener_ = 1;
    std::mutex flashFileMutex_;  // one write of the state file at a time
    std::string flashFile_;      // guarded by flashFileMutex_; empty: the flash is not kept
    bool flashFileFailed_ = false;

    SimScheduler scheduler_;  // last: its jobs use the members above
};

}  // namespace tavlin::sim
