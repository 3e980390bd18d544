// Leveling preview throughput through the worker, the command thread and the simulated device,
// and the cost of painting one picture.
#include <benchmark/benchmark.h>

#include <chrono>
#include <condition_variable>
#include <mutex>

#include "SimulatedCommandThread.h"
#include "ThreadCpuClock.h"
#include "leveling/DrawPreview.h"
#include "leveling/ImagePreviewThread.h"
#include "leveling/LevelingClose.h"

namespace tavlin {
namespace {

// Counts finished cycles (the Slave's picture is the last act of a cycle) and the worker's CPU
// time at the end of each.
class CycleCounter : public LevelingView {
  public:
    void SetStatus(int, const std::string&) override {}
    void SetSlider(int, int) override {}
    void DrawPreview(int sensor, const PreviewFrame&) override {
        if (sensor == kSlave) {
            const double cpu = bench::ThreadCpuClock::OfCurrentThread();
            std::lock_guard lock(mutex_);
            workerCpu_ = cpu;
            ++cycles_;
            cv_.notify_all();
        }
    }
    void WaitBeyond(int seen) {
        std::unique_lock lock(mutex_);
        cv_.wait(lock, [&] { return cycles_ > seen; });
    }
    int cycles() {
        std::lock_guard lock(mutex_);
        return cycles_;
    }
    double workerCpu() {
        std::lock_guard lock(mutex_);
        return workerCpu_;
    }

  private:
    std::mutex mutex_;
    std::condition_variable cv_;
    int cycles_ = 0;
    double workerCpu_ = 0;
};

// One preview cycle is one stitching and 95 chunks of both sensors: 192 exchanges.
void BM_PreviewCycle(benchmark::State& bench) {
    bench::SimulatedCommandThread device(std::chrono::microseconds(bench.range(0)));
    if (!device.opened()) {
        bench.SkipWithError("the simulated device did not open");
        return;
    }
    SharedState& state = device.state;
    state.AllocatePreviewBuffers();
    CycleCounter view;
    ImagePreviewThread worker(state, view);
    worker.Start();
    view.WaitBeyond(0);  // the search and a first cycle are not measured
    const int firstCycle = view.cycles();
    const double workerStart = view.workerCpu();
    const double commandStart = device.CommandCpuSeconds();
    const double deviceStart = device.DeviceCpuSeconds();
    for (auto _ : bench) {
        view.WaitBeyond(view.cycles());
    }
    const double cycles = view.cycles() - firstCycle;
    bench.counters["frames/s"] =
        benchmark::Counter(static_cast<double>(bench.iterations()), benchmark::Counter::kIsRate);
    bench.counters["exchanges"] = 192;
    const double commandCpu = device.CommandCpuSeconds() - commandStart;
    const double workerCpu = view.workerCpu() - workerStart;
    const double deviceCpu = device.DeviceCpuSeconds() - deviceStart;
    bench.counters["worker_cpu_us_per_cycle"] = workerCpu / cycles * 1e6;
    bench.counters["command_cpu_us_per_cycle"] = commandCpu / cycles * 1e6;
    if (device.metersDevice()) {
        bench.counters["device_cpu_us_per_cycle"] = deviceCpu / cycles * 1e6;
        bench.counters["host_cpu_us_per_cycle"] =
            (workerCpu + commandCpu - deviceCpu) / cycles * 1e6;
    }
    StopPreviewForClose(state);
}
// 0: the host's own cost per cycle; 1000 us per report each way: bound 192 x 2 ms per frame.
BENCHMARK(BM_PreviewCycle)->Arg(0)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PreviewCycle)->Arg(1000)->Iterations(5)->UseRealTime()->Unit(benchmark::kMillisecond);

void BM_DrawPreview(benchmark::State& bench) {
    const auto info = MakePreviewImageInfo();
    PreviewFrame frame;
    for (size_t i = 0; i < frame.pixels.size(); ++i) {
        frame.pixels[i] = static_cast<uint8_t>(i * 7);
    }
    frame.lineValid = true;
    frame.startColumn = 40;
    frame.endColumn = 600;
    for (int i = 0; i < kLineRecords; ++i) {
        frame.line[i] = {
            static_cast<uint16_t>(i < 7 ? 80 * (i + 1) : 639), static_cast<uint16_t>(i % 8), {}};
    }
    PreviewPicture picture;
    for (auto _ : bench) {
        DrawPreview(info.get(), frame, &picture);
        benchmark::DoNotOptimize(picture.pixels.data());
    }
}
BENCHMARK(BM_DrawPreview)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tavlin
