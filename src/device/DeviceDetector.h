#pragma once
#include <mutex>
#include <thread>

#include "device/HidDevice.h"
#include "device/PresenceView.h"
#include "device/SharedState.h"

namespace tavlin {

// Device presence: runs DeviceDetectThread, at most one at a time, and keeps g_bDevExist,
// g_isFwUpdateMode and the status texts up to date. All calls may come from any thread.
//
// A notification that arrives while a detection runs is not lost: that detection runs once more
// when it is done. (A device shows up as several interfaces in quick succession, and the one we
// open may appear only after the first notice started a detection that found nothing.)
// g_DetectThread is non-null exactly while a detection runs; the detection clears it as its
// last act.
class DeviceDetector {
  public:
    DeviceDetector(SharedState& state, HidDevice& device, PresenceView& view);
    ~DeviceDetector();  // waits for a running detection
    DeviceDetector(const DeviceDetector&) = delete;
    DeviceDetector& operator=(const DeviceDetector&) = delete;

    // WM_START_DETECT: starts a detection if none runs. True when it started one.
    bool StartDetect();
    // A device was added or removed somewhere: if no detection runs, the status line says
    // string 106 and one starts (true); otherwise the running one repeats once (false).
    bool OnDeviceChange();
    // Waits until no detection runs (for the exit path and tests).
    void WaitIdle();

  private:
    bool TryStart(bool notification);
    void Run();
    void DetectOnce();

    SharedState& state_;
    HidDevice& device_;
    PresenceView& view_;
    std::mutex threadMutex_;  // guards thread_ (start and join)
    std::thread thread_;
    std::mutex runMutex_;  // orders "run again" against the end of a detection
    bool again_ = false;
};

// The detection worker's one pass: opens the device and shows the outcome. The outcome is
// also left in state.devicePresence.
void DeviceDetectThread(SharedState& state, HidDevice& device, PresenceView& view);

// The text for "no device" after the last detection: string 104, or the no-access text when a
// device of ours is there but may not be opened.
std::string NoDeviceText(const SharedState& state);

}  // namespace tavlin
