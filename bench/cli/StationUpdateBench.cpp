// `tavlin-cli update` of a 256 KiB package (64 KiB HInfo to both sensors, 64 KiB LInfo, 64 KiB
// RInfo) at 1 ms per report each way: on one simulated device, and with --all on eight, each in
// its own copy of the CLI. Wall time is the run's, from start to its JSON object; CPU per packet
// sums every process of the run (the copies and their simulated devices included) over the code
// packets all devices took.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "UpdatePackage.h"
#include "platform/ChildProcess.h"

namespace tavlin {
namespace {

double ChildrenCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// The code packets one device's object says it took.
int64_t Packets(const nlohmann::json& device) {
    int64_t packets = 0;
    for (const auto& image : device.value("images", nlohmann::json::array())) {
        packets += image.value("packets", 0);
    }
    return packets;
}

void BM_StationUpdate(benchmark::State& state) {
    const int devices = static_cast<int>(state.range(0));
    const auto dir = std::filesystem::temp_directory_path() / "tavlin-bench-station";
    const std::string package = bench::WriteUpdatePackage(dir);
    std::vector<std::string> args{
        "--simulate",  "--sim-devices", std::to_string(devices), "--sim-faults",
        "latency=1ms", "--log-dir",     (dir / "logs").string(), "--json"};
    if (devices > 1) {
        args.push_back("--all");
    }
    args.insert(args.end(), {"update", package, "--replug-timeout", "20"});
    int64_t packets = 0;
    int failed = 0;
    double cpu = 0;
    for (auto _ : state) {
        const double cpuBefore = ChildrenCpuSeconds();
        const auto start = std::chrono::steady_clock::now();
        std::string error;
        auto run = ChildProcess::Start(
            TAVLIN_CLI_PATH, args, [](const std::string&) {}, &error);
        if (!run) {
            state.SkipWithError(error.c_str());
            return;
        }
        const int status = run->Wait();
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        cpu += ChildrenCpuSeconds() - cpuBefore;
        const auto object = nlohmann::json::parse(run->StandardOutput(), nullptr, false);
        if (status != 0 || object.is_discarded()) {
            ++failed;
            continue;
        }
        if (object.contains("devices")) {
            for (const auto& device : object["devices"]) {
                packets += Packets(device);
            }
        } else {
            packets += Packets(object);
        }
    }
    state.counters["devices"] = devices;
    state.counters["failed_runs"] = failed;
    state.counters["packets"] =
        benchmark::Counter(static_cast<double>(packets), benchmark::Counter::kAvgIterations);
    state.counters["cpu_us_per_packet"] = packets > 0 ? cpu * 1e6 / packets : 0;
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_StationUpdate)
    ->Arg(1)
    ->Arg(8)
    ->Iterations(2)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tavlin
