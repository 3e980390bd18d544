// Round trips of WM_FPGA_SINGLE_READ through the command thread to the simulated device with no
// latency: what the queue, the thread hand-offs and the protocol cost per request.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include "base/Log.h"
#include "device/CommandThread.h"
#include "device/DeviceProtocol.h"
#include "sim/SimTransport.h"

namespace tavlin {
namespace {

class NullHost : public CommandThreadHost {
  public:
    void PostCmdDone() override {}
    void AppendOutputText(const std::string&) override {}
    void SetReadValueText(const std::string&) override {}
};

// A device that answers inside the write: no waits at all, so what remains is the command
// thread's own cost (queue, two thread hand-offs, protocol, HID link).
class EchoTransport : public HidTransport {
  public:
    std::vector<HidInterfaceInfo> Enumerate() override {
        return {{"echo", kVendorId, kProductIdWork, kVendorUsagePage, kVendorUsage}};
    }
    std::unique_ptr<HidConnection> Open(const std::string&, int*) override {
        return std::make_unique<Connection>();
    }
    std::optional<std::pair<uint16_t, uint16_t>> Attributes(HidConnection&) override {
        return std::make_pair(kVendorId, kProductIdWork);
    }

  private:
    class Connection : public HidConnection {
      public:
        IoResult Write(const uint8_t*, size_t) override { return IoResult::Ok(); }
        IoResult Read(uint8_t* report, size_t length, int) override {
            std::fill(report, report + length, 0);
            report[2] = 0x22;
            report[3] = 0x5A;
            return IoResult::Ok();
        }
        void DiscardPendingInput() override {}
        const std::string& Path() const override { return path_; }

      private:
        std::string path_ = "echo";
    };
};

template <class Transport>
void BM_SingleReadRoundTrip(benchmark::State& bench) {
    SetLogFilePath("/dev/null");
    Transport transport;
    HidDevice device(transport);
    SharedState state;
    NullHost host;
    uint16_t productId = 0;
    if (OpenHidDevice(device, &productId) != 1) {
        bench.SkipWithError("the simulated device did not open");
        return;
    }
    CommandThread thread(state, device, host);
    thread.Start();
    const SingleReadBlock block{0x0010};
    std::vector<double> micros;
    micros.reserve(1 << 20);
    int64_t failures = 0;
    for (auto _ : bench) {
        const auto start = std::chrono::steady_clock::now();
        // A script's read: its completion comes on g_RegAccessDoneEvent.
        const RequestHandle request =
            PostScriptRequest(state, WM_FPGA_SINGLE_READ, &block, sizeof block);
        if (WaitRequest(request, state.g_RegAccessDoneEvent, 3000) != WAIT_OBJECT_0) {
            ++failures;
        }
        micros.push_back(
            std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
                .count());
    }
    WaitRequest(PostRequest(state, WM_EXIT_CMD_THREAD), state.g_CmdThreadExitEvent, 3000);
    thread.Join();
    std::sort(micros.begin(), micros.end());
    auto at = [&](double q) { return micros[static_cast<size_t>(q * (micros.size() - 1))]; };
    bench.SetItemsProcessed(bench.iterations());
    bench.counters["median_us"] = at(0.5);
    bench.counters["p99_us"] = at(0.99);
    bench.counters["failures"] = static_cast<double>(failures);
}
BENCHMARK_TEMPLATE(BM_SingleReadRoundTrip, sim::SimTransport)->UseRealTime()->MinTime(2.0);
BENCHMARK_TEMPLATE(BM_SingleReadRoundTrip, EchoTransport)->UseRealTime()->MinTime(2.0);

// The same exchange without the command thread: the floor that the thread hand-offs add to.
void BM_SingleReadDirect(benchmark::State& bench) {
    SetLogFilePath("/dev/null");
    sim::SimTransport transport;
    HidDevice device(transport);
    uint16_t productId = 0;
    if (OpenHidDevice(device, &productId) != 1) {
        bench.SkipWithError("the simulated device did not open");
        return;
    }
    for (auto _ : bench) {
        uint8_t value = 0;
        benchmark::DoNotOptimize(SingleRegisterRead(device, 0x0010, &value));
    }
    bench.SetItemsProcessed(bench.iterations());
}
BENCHMARK(BM_SingleReadDirect)->UseRealTime();

}  // namespace
}  // namespace tavlin
