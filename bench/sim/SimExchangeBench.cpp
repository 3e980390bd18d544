// How fast the simulated device answers, and how close a code transfer over a link with 1 ms
// per report comes to its physical bound (packets x 2 ms).
#include <benchmark/benchmark.h>

#include <chrono>
#include <vector>

#include "device/DeviceProtocol.h"
#include "sim/SimTransport.h"

namespace {

using namespace tavlin;

void OpenOrSkip(HidDevice& device, benchmark::State& state) {
    uint16_t pid = 0;
    if (OpenHidDevice(device, &pid) != 1) {
        state.SkipWithError("simulated device did not open");
    }
}

void BM_HidCommandExchange(benchmark::State& state) {
    sim::SimTransport transport;
    HidDevice device(transport);
    OpenOrSkip(device, state);
    const uint8_t payload[4] = {0x34, 0x12, 0x00, 0x00};
    uint8_t reply = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            HidCommand(device, cmd::kFpgaSingleRead, payload, sizeof payload, &reply, 1));
    }
    state.counters["exchanges/s"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_HidCommandExchange)->UseRealTime();

void BM_CodeTransfer256KiB(benchmark::State& state) {
    sim::SimTransport transport;
    transport.faults().SetLatency(std::chrono::microseconds(state.range(0)));
    HidDevice device(transport);
    OpenOrSkip(device, state);
    const std::vector<uint8_t> image(256 * 1024, 0xA5);
    const size_t packets = (image.size() + kMaxCodePacket - 1) / kMaxCodePacket;
    for (auto _ : state) {
        for (size_t i = 0; i < packets; ++i) {
            const size_t offset = i * kMaxCodePacket;
            const size_t n = std::min<size_t>(kMaxCodePacket, image.size() - offset);
            uint32_t addr = 0x02004000;
            addr |= i == 0 ? kFirstPacketFlag : 0;
            addr |= i + 1 == packets ? kLastPacketFlag : 0;
            if (!RegisterWrite(device, addr, static_cast<int32_t>(n), image.data() + offset, n)) {
                state.SkipWithError("packet refused");
                break;
            }
        }
        transport.recorder().Clear();
    }
    const double boundSeconds = double(packets) * 2 * double(state.range(0)) / 1e6;
    state.counters["packets"] = double(packets);
    state.counters["bound_s"] = boundSeconds;
}
BENCHMARK(BM_CodeTransfer256KiB)
    ->Arg(0)
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime();

}  // namespace
