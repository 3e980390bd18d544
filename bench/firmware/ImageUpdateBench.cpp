// A 256 KiB one-key update (64 KiB HInfo to both sensors, 64 KiB LInfo, 64 KiB RInfo) through the
// image update worker, the command thread and the simulated device, whose link takes 1 ms per
// report each way, scheduled at absolute deadlines. The physical bound is 2 ms per exchange;
// what the run takes beyond it is the host's cost. CPU per packet is given for the whole
// process (simulated device and its timers included), the update worker's thread, the command
// thread (which also runs the simulated device's side of each exchange), the time spent inside
// the simulated device's calls (its link model's timed waits included) and the host's share:
// worker and command thread without the device's calls (with a link latency only).
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "SimulatedCommandThread.h"
#include "ThreadCpuClock.h"
#include "UpdatePackage.h"
#include "firmware/ImageUpdateWorker.h"

namespace tavlin {
namespace {

using bench::kImageSize;
constexpr int64_t kPacketsPerImage = (kImageSize + 61) / 62;
constexpr int64_t kCodePackets = 4 * kPacketsPerImage;
// Per image: one preliminary read and one version record write.
constexpr int64_t kExchanges = kCodePackets + 4 * 2;

// The worker's CPU time between its first and its last status text: the whole update.
class NullView : public FirmwareView {
  public:
    void SetFirmwareStatus(const std::string&) override {
        const double now = bench::ThreadCpuClock::OfCurrentThread();
        if (first < 0) {
            first = now;
        }
        last = now;
    }
    void SetProgress(int) override {}
    void SetMainVersionText(const std::string&) override {}

    double first = -1, last = 0;  // written by the worker, read after it ended
};

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

void BM_ImageUpdate256KiB(benchmark::State& bench) {
    bench::SimulatedCommandThread device(std::chrono::milliseconds(bench.range(0)));
    if (!device.opened()) {
        bench.SkipWithError("the simulated device did not open");
        return;
    }
    const auto dir = std::filesystem::temp_directory_path() / "tavlin-image-update-bench";
    const std::string package = bench::WriteUpdatePackage(dir);
    NullView view;
    ImageUpdateWorker worker(device.state, view);
    double wall = 0, cpu = 0, workerCpu = 0, commandCpu = 0, deviceCpu = 0;
    for (auto _ : bench) {
        const double cpuStart = CpuSeconds();
        const double commandStart = device.CommandCpuSeconds();
        const double deviceStart = device.DeviceCpuSeconds();
        view.first = -1;
        const auto start = std::chrono::steady_clock::now();
        worker.Start(package);
        worker.WaitForEnd(INFINITE);
        wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        cpu += CpuSeconds() - cpuStart;
        commandCpu += device.CommandCpuSeconds() - commandStart;
        deviceCpu += device.DeviceCpuSeconds() - deviceStart;
        workerCpu += view.last - view.first;
        if (!worker.lastResult().ok()) {
            bench.SkipWithError(worker.lastResult().describe().c_str());
            break;
        }
    }
    const double runs = static_cast<double>(bench.iterations());
    const double bound = kExchanges * 0.002 * static_cast<double>(bench.range(0));
    bench.counters["total_s"] = wall / runs;
    bench.counters["bound_s"] = bound;
    if (bound > 0) {
        bench.counters["over_bound_pct"] = (wall / runs / bound - 1) * 100;
    }
    bench.counters["cpu_us_per_packet"] = cpu / runs / kCodePackets * 1e6;
    bench.counters["worker_cpu_us_per_packet"] = workerCpu / runs / kCodePackets * 1e6;
    bench.counters["command_cpu_us_per_packet"] = commandCpu / runs / kCodePackets * 1e6;
    if (device.metersDevice()) {
        bench.counters["device_cpu_us_per_packet"] = deviceCpu / runs / kCodePackets * 1e6;
        bench.counters["host_cpu_us_per_packet"] =
            (workerCpu + commandCpu - deviceCpu) / runs / kCodePackets * 1e6;
    }
    bench.counters["packets"] = static_cast<double>(kCodePackets);
    worker.StopAndWait();
    std::filesystem::remove_all(dir);
}
// Argument: link latency per report each way, in ms. With 0 the figure is the host's alone.
BENCHMARK(BM_ImageUpdate256KiB)
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2)
    ->UseRealTime();

}  // namespace
}  // namespace tavlin
