#pragma once
// Header only: the device library does not link the simulated device; front ends that run
// with --simulate do.
#include <functional>
#include <utility>

#include "device/DeviceChangeWatch.h"
#include "sim/SimTransport.h"

namespace tavlin {

// Under --simulate the simulated device's attach and detach events stand in for the system's
// device notices, behind the same watch, so a front end treats both alike. onChange runs on the
// simulated device's thread; destroying the adapter stops the calls, none runs after that.
class SimPresenceAdapter : public DeviceChangeWatch {
  public:
    SimPresenceAdapter(sim::SimTransport& transport, std::function<void()> onChange)
        : transport_(transport),
          id_(transport.AddPresenceListener(
              [onChange = std::move(onChange)](const sim::PresenceEvent&) { onChange(); })) {}
    ~SimPresenceAdapter() override { transport_.RemovePresenceListener(id_); }
    SimPresenceAdapter(const SimPresenceAdapter&) = delete;
    SimPresenceAdapter& operator=(const SimPresenceAdapter&) = delete;

  private:
    sim::SimTransport& transport_;
    int id_;
};

}  // namespace tavlin
