// 10,000 runs waiting on a station, uploaded to the line's PostgreSQL server (a throwaway
// cluster on this machine, fsync off): the time from the first connection to an empty outbox.
// The runs are the size a firmware update writes: three steps, twenty measurements, an artefact
// and two images each.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "lineserver/OutboxUpload.h"
#include "lineserver/PgCluster.h"
#include "records/RecordStore.h"

namespace tavlin {
namespace {

namespace fs = std::filesystem;

constexpr int kWaiting = 10'000;

test::PgCluster* g_cluster = nullptr;

RunRecord UpdateRun(int n) {
    RunRecord run;
    run.station.toolVersion = "0.98";
    run.command = "update";
    run.arguments = {"update", "--device", "1-2.3", "package.zip"};
    run.unit = {"1-2.3", 0x55, 0x22, "Master 1.0, Slave 1.0", "Master 1.1, Slave 1.1"};
    run.steps = {
        {"package check", 1, 2, "passed"}, {"images", 2, 3, "passed"}, {"verify", 3, 4, "passed"}};
    for (int i = 0; i < 20; ++i) {
        run.measurements.push_back(
            {"m" + std::to_string(i), n * 0.5 + i, "px", 0.0, 40.0, "passed"});
    }
    run.artefacts = {{"log", "/var/log/tavlin/run.log", std::string(64, 'a'), 4096}};
    run.images = {{"code", 0, 65536, std::string(64, 'b'), "1.1", "passed"},
                  {"code", 1, 65536, std::string(64, 'c'), "1.1", "passed"}};
    run.exitStatus = 0;
    return run;
}

// The station's file in memory-backed storage where there is one: filling it is not measured,
// and ten thousand synced commits on a disk would take longer than the upload.
fs::path StationFolder() {
    const fs::path base = fs::exists("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
    std::string pattern = (base / "tavlin-upload-bench-XXXXXX").string();
    return ::mkdtemp(pattern.data());
}

void BM_UploadTenThousandWaiting(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        const fs::path folder = StationFolder();
        std::unique_ptr<RecordStore> store;
        if (!RecordStore::Open((folder / RecordStore::kDefaultFileName).string(), &store)) {
            state.SkipWithError("cannot open the station's database");
            break;
        }
        for (int n = 0; n < kWaiting; ++n) {
            RunRecord run = UpdateRun(n);
            (void)store->BeginRun(run);
            run.outcome = RunOutcome::Passed;
            (void)store->CompleteRun(run);
        }
        lineserver::UploadSettings settings;
        settings.server = g_cluster->EmptyServer();
        settings.timeLimit = std::chrono::seconds(120);
        lineserver::UploadSummary summary;
        state.ResumeTiming();
        const Result sent = lineserver::UploadOutbox(*store, settings, &summary);
        state.PauseTiming();
        if (!sent || summary.sent != kWaiting || summary.waiting != 0) {
            state.SkipWithError(("upload: " + sent.reason()).c_str());
        }
        state.counters["runs"] = static_cast<double>(summary.sent);
        store.reset();
        std::error_code ignored;
        fs::remove_all(folder, ignored);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_UploadTenThousandWaiting)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace tavlin

int main(int argc, char** argv) {
    std::string why;
    const auto cluster = tavlin::test::PgCluster::Start(&why);
    if (!cluster) {
        std::printf("skipped: %s\n", why.c_str());
        return tavlin::test::PgCluster::kSkipped;
    }
    tavlin::g_cluster = cluster.get();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
