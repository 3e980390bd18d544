#pragma once
// The command thread serving a simulated device whose link takes `latency` per report each way,
// as the worker benchmarks run it, with the command thread's CPU clock and, with a latency, the
// CPU time spent inside the simulated device. The log goes nowhere.
#include <chrono>

#include "MeteredTransport.h"
#include "ThreadCpuClock.h"
#include "base/Log.h"
#include "device/CommandThread.h"
#include "device/DeviceProtocol.h"
#include "sim/SimTransport.h"

namespace tavlin::bench {

class SimulatedCommandThread {
  public:
    explicit SimulatedCommandThread(std::chrono::microseconds latency)
        : metered_(transport_, latency.count() > 0) {
        SetLogFilePath("/dev/null");
        transport_.faults().SetLatency(latency);
        uint16_t productId = 0;
        opened_ = OpenHidDevice(device_, &productId) == 1;
        state.g_bDevExist = opened_ ? 1 : 0;
        thread_.Start();
        // A message the thread only acknowledges: its refresh names the command thread's clock.
        if (const RequestHandle ping = PostRequest(state, WM_USER + 1)) {
            ping->handled.Wait(3000);
        }
    }
    ~SimulatedCommandThread() {
        WaitRequest(PostRequest(state, WM_EXIT_CMD_THREAD), state.g_CmdThreadExitEvent, 3000);
        thread_.Join();
    }
    SimulatedCommandThread(const SimulatedCommandThread&) = delete;
    SimulatedCommandThread& operator=(const SimulatedCommandThread&) = delete;

    bool opened() const { return opened_; }
    double CommandCpuSeconds() const { return host_.clock.Seconds(); }
    // The CPU time spent inside the simulated device's calls, on any thread; measured only with
    // a link latency.
    bool metersDevice() const { return metered_.metering(); }
    double DeviceCpuSeconds() const { return metered_.DeviceCpuSeconds(); }

    SharedState state;

  private:
    class Host : public CommandThreadHost {
      public:
        void PostCmdDone() override { clock.CaptureCurrentThread(); }
        void AppendOutputText(const std::string&) override {}
        void SetReadValueText(const std::string&) override {}

        ThreadCpuClock clock;
    };

    sim::SimTransport transport_;
    MeteredTransport metered_;
    HidDevice device_{metered_};
    Host host_;
    CommandThread thread_{state, device_, host_};
    bool opened_ = false;
};

}  // namespace tavlin::bench
