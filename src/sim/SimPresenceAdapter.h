#pragma once
// Header only: the device library does not link the simulated device; front ends that run
// with --simulate do.
#include "device/DeviceDetector.h"
#include "sim/SimTransport.h"

namespace tavlin {

// Under --simulate the simulated device's attach and detach events stand in for the system's
// hot-plug notices.
class SimPresenceAdapter {
  public:
    SimPresenceAdapter(sim::SimTransport& transport, DeviceDetector& detector)
        : transport_(transport),
          id_(transport.AddPresenceListener(
              [&detector](const sim::PresenceEvent&) { detector.OnDeviceChange(); })) {}
    // Destroy it before the detector.
    ~SimPresenceAdapter() { transport_.RemovePresenceListener(id_); }
    SimPresenceAdapter(const SimPresenceAdapter&) = delete;
    SimPresenceAdapter& operator=(const SimPresenceAdapter&) = delete;

  private:
    sim::SimTransport& transport_;
    int id_;
};

}  // namespace tavlin
