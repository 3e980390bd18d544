#pragma once
// A fake USB HID device on the Linux device stack: umockdev puts sysfs, a hidraw node (a PTY),
// udev events and the hidraw ioctls under the program's real hidapi and libudev code. The
// device's firmware is the simulated one, so the program talks to the same model the other
// tests use, only now through the kernel-facing path.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "sim/FaultPlan.h"
#include "sim/SimFirmware.h"

typedef struct _UMockdevTestbed UMockdevTestbed;

namespace tavlin::e2e {

// Empty when the process runs under the umockdev preload; otherwise why it does not.
std::string MockEnvironmentMissing();

// One plugged device: its sysfs nodes, its /dev node and, for ours, the thread that answers
// the program's reports from the firmware model.
struct PluggedDevice;

class UmockdevBed {
  public:
    UmockdevBed();
    ~UmockdevBed();
    UmockdevBed(const UmockdevBed&) = delete;
    UmockdevBed& operator=(const UmockdevBed&) = delete;

    // Plugs one of our devices (a touch collection before the vendor one) and returns its
    // handle; each plug gets a new hidraw minor and a USB port of its own ("1-N"), and they all
    // share firmware(). Sends the add uevents.
    int PlugOurs(uint16_t productId);
    // One of ours on a hub socket of the station: USB device `port` ("1-1.2"), with the firmware
    // of that port (its memory stays with the socket across restarts and re-plugs).
    int PlugOursAt(const std::string& port, uint16_t productId);
    sim::SimFirmware& firmwareAt(const std::string& port);
    // The device on `port` answers `command` with a refused status from now on.
    void RefuseAt(const std::string& port, uint8_t command);
    // The product ids plugged on `port` so far, in order.
    std::vector<uint16_t> PluggedProductIdsAt(const std::string& port) const;
    // The newest plug on `port`, -1 when none.
    int PlugOn(const std::string& port) const;
    // One of ours that lists only its touch collection (no vendor collection to talk to).
    int PlugOursTouchOnly(uint16_t productId);
    // One of ours whose descriptor puts the vendor collection's input reports under id 7.
    int PlugOursReplyingAs7(uint16_t productId);
    // A device of somebody else (one vendor collection, no ioctl answers).
    int PlugForeign(uint16_t vendorId, uint16_t productId);
    // Sends the remove uevents, removes the sysfs nodes and hangs the node up, as a real
    // unplug does to a program that holds the node open.
    void Unplug(int plug);

    std::string DevNode(int plug) const;
    // The PTY behind a node of ours (what the testbed's /dev entry stands for).
    std::string TerminalOf(int plug) const;
    std::string SysRoot() const;  // the testbed's root directory (real path)
    UMockdevTestbed* testbed() const { return testbed_; }

    // The touch collection shares the vendor collection's node: reports of its own (report id
    // 1, padded to 64 bytes because the node is a byte stream here) queue up on it.
    void QueueTouchReports(int plug, size_t count);
    // While on, a touch report goes out just before and just after every reply.
    void StreamTouches(bool on) { streamTouches_ = on; }

    // For a bed that Wine's HID stack reads (set before the first plug):
    // - Wine 8 merges a device's top-level collections into one interface that carries the
    //   first collection's usage, so our devices list the vendor collection first (the touch
    //   reports then arrive on the vendor handle, as on Linux);
    // - Wine's bus driver takes whatever one read of the node returns as one report, and two
    //   reports in one read crash its device host, so every report waits until the node's
    //   reader has taken the one before.
    void ServeWine(bool on) { forWine_ = on; }

    // While on, an update control that re-enumerates the device is acted out as the real one
    // does: after its reply the device leaves and comes back under the new product id (a new
    // node), keeping its memory.
    void FollowUpdateControl(bool on) { followUpdateControl_ = on; }
    // The product ids of our plugs so far, in order.
    std::vector<uint16_t> PluggedProductIds() const;
    // The power cut of `faults` (see FaultPlan.h; its other faults are not acted on here): the
    // device drops off the bus as the report arrives, its firmware loses what a power cut
    // loses, and it comes back on its socket after the time off, in its update environment
    // when an image was left unwritten. Reports are counted from this call.
    void CutPowerAs(const sim::FaultSettings& faults) { faults_.Set(faults); }

    // When false, the device swallows reports without answering.
    void SetAnswering(bool answering) { answering_ = answering; }
    // The output reports the device received so far (all plugs), in arrival order.
    std::vector<std::vector<uint8_t>> Received() const;
    // Waits until at least `count` reports arrived.
    bool WaitReceived(size_t count, std::chrono::milliseconds limit) const;

    sim::SimFirmware& firmware() { return firmware_; }
    // When the last plug sent its hidraw node's add event (the one the program can act on).
    std::chrono::steady_clock::time_point lastNodeAdded() const { return lastNodeAdded_; }

  private:
    friend struct PluggedDevice;
    void Serve(PluggedDevice& plug);
    void SendTouch(PluggedDevice& plug);
    bool Refused(const PluggedDevice& plug, uint8_t command) const;
    int Plug(uint16_t vendorId, uint16_t productId, bool ours, bool touchOnly,
             const std::string& port = {}, sim::SimFirmware* firmware = nullptr);
    PluggedDevice& PlugAt(int index) const;
    void RequestReplug(PluggedDevice* plug, uint16_t productId,
                       std::chrono::milliseconds before = std::chrono::milliseconds(100),
                       std::chrono::milliseconds away = std::chrono::milliseconds(200));
    void RunReplugs();

    UMockdevTestbed* testbed_ = nullptr;
    sim::SimFirmware firmware_;
    mutable std::mutex portsMutex_;
    std::map<std::string, std::unique_ptr<sim::SimFirmware>> portFirmware_;
    std::map<std::string, std::vector<uint8_t>> refused_;
    std::atomic<bool> answering_{true};
    std::atomic<bool> streamTouches_{false};
    std::atomic<uint32_t> touchSequence_{0};
    int nextMinor_ = 0;
    uint8_t nextInputReportId_ = 0x03;
    std::chrono::steady_clock::time_point lastNodeAdded_;
    mutable std::mutex plugsMutex_;  // the list, not the plugs: those change on one thread
    std::vector<std::unique_ptr<PluggedDevice>> plugs_;
    // Our plugs' ports and product ids, from the moment each node is about to show (plugs_
    // gets a plug only once its node is served).
    std::vector<std::pair<std::string, uint16_t>> pluggedOurs_;
    std::atomic<bool> followUpdateControl_{false};
    bool forWine_ = false;
    // Re-plugs run on their own thread: a plug's server cannot remove itself.
    std::mutex replugMutex_;
    std::condition_variable replugChanged_;
    struct Replug {
        PluggedDevice* plug;
        uint16_t productId;
        std::chrono::milliseconds before;  // from the request to the unplug
        std::chrono::milliseconds away;    // from the unplug to the plug
    };
    std::vector<Replug> replugs_;
    sim::FaultPlan faults_;
    bool replugStop_ = false;
    std::thread replugger_;
    mutable std::mutex receivedMutex_;
    mutable std::condition_variable receivedChanged_;
    std::vector<std::vector<uint8_t>> received_;
};

}  // namespace tavlin::e2e
