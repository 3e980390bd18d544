// The station's records on this disk: what a run's record costs at its start and at its end
// (synchronous=FULL, so each is a flush to the disk), and how long the last run of a port takes
// to find among a million.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "records/RecordStore.h"
#include "records/RunUuid.h"

namespace tavlin {
namespace {

namespace fs = std::filesystem;

constexpr int kBigRuns = 1'000'000;
constexpr int kPorts = 1000;

class TempFolder {
  public:
    TempFolder() {
        std::string pattern = (fs::temp_directory_path() / "tavlin-records-bench-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
    }
    ~TempFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    std::string File(const char* name) const { return (path_ / name).string(); }

  private:
    fs::path path_;
};

RunRecord TypicalRun() {
    RunRecord run;
    run.station.toolVersion = "0.98";
    run.command = "update";
    run.arguments = {"update", "--device", "1-2.3", "package.zip"};
    run.unit = {"1-2.3", 0x55, 0x22, "Master 1.0, Slave 1.0", ""};
    return run;
}

void FillEnd(RunRecord& run) {
    run.steps = {
        {"package check", 1, 2, "passed"}, {"images", 2, 3, "passed"}, {"verify", 3, 4, "passed"}};
    for (int i = 0; i < 20; ++i) {
        run.measurements.push_back({"m" + std::to_string(i), i * 1.5, "px", 0.0, 40.0, "passed"});
    }
    run.artefacts = {{"log", "/var/log/tavlin/run.log", std::string(64, 'a'), 4096}};
    run.images = {{"code", 0, 65536, std::string(64, 'b'), "1.1", "passed"},
                  {"code", 1, 65536, std::string(64, 'c'), "1.1", "passed"}};
    run.unit.versionsAfter = "Master 1.1, Slave 1.1";
    run.outcome = RunOutcome::Passed;
    run.exitStatus = 0;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// Each iteration is one run; its time is the chosen write's alone.
void RecordRun(benchmark::State& state, bool timeTheEnd) {
    TempFolder folder;
    std::unique_ptr<RecordStore> store;
    if (const Result opened = RecordStore::Open(folder.File("Tavlin_results.sqlite"), &store);
        !opened) {
        state.SkipWithError(opened.describe().c_str());
        return;
    }
    std::vector<double> millis;
    for (auto _ : state) {
        RunRecord run = TypicalRun();
        const auto beginStart = std::chrono::steady_clock::now();
        const Result begun = store->BeginRun(run);
        const auto beginEnd = std::chrono::steady_clock::now();
        FillEnd(run);
        const auto completeStart = std::chrono::steady_clock::now();
        const Result completed = store->CompleteRun(run);
        const auto completeEnd = std::chrono::steady_clock::now();
        if (!begun || !completed) {
            state.SkipWithError((begun.describe() + completed.describe()).c_str());
            return;
        }
        const std::chrono::duration<double> took =
            timeTheEnd ? completeEnd - completeStart : beginEnd - beginStart;
        state.SetIterationTime(took.count());
        millis.push_back(took.count() * 1000);
    }
    state.counters["median_ms"] = Median(millis);
    state.counters["max_ms"] = millis.empty() ? 0 : *std::max_element(millis.begin(), millis.end());
}

void BM_BeginRun(benchmark::State& state) {
    RecordRun(state, false);
}
BENCHMARK(BM_BeginRun)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(200);

// The commit that makes a record count: end, 3 steps, 20 measurements, an artefact, 2 images.
void BM_CompleteRun(benchmark::State& state) {
    RecordRun(state, true);
}
BENCHMARK(BM_CompleteRun)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(200);

// A database of kBigRuns runs over kPorts ports, made once, in one transaction.
class BigDatabase {
  public:
    BigDatabase() {
        path_ = folder_.File("Tavlin_results.sqlite");
        {
            std::unique_ptr<RecordStore> store;
            if (!RecordStore::Open(path_, &store)) {
                return;
            }
        }
        sqlite3* db = nullptr;
        sqlite3_open_v2(path_.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
        sqlite3_exec(db,
                     "PRAGMA cache_size = -262144; BEGIN; "
                     "INSERT INTO station (host, tool_version) VALUES ('bench', '0.98')",
                     nullptr, nullptr, nullptr);
        sqlite3_stmt* run = nullptr;
        sqlite3_stmt* unit = nullptr;
        sqlite3_prepare_v2(db,
                           "INSERT INTO run (uuid, station_id, command, arguments, started_ms, "
                           "ended_ms, outcome, exit_status, pid, process_start) VALUES "
                           "(?1, 1, 'update', '[]', ?2, ?2 + 30000, 'passed', 0, 1, 'x')",
                           -1, &run, nullptr);
        sqlite3_prepare_v2(db,
                           "INSERT INTO unit (run_id, port, product_id, mode, versions_before, "
                           "versions_after) VALUES (last_insert_rowid(), ?1, 85, 34, '1.0', "
                           "'1.1')",
                           -1, &unit, nullptr);
        std::mt19937 random(7);
        const std::int64_t start = 1'700'000'000'000;
        for (int i = 0; i < kBigRuns; ++i) {
            const std::string uuid = NewRunUuid();
            sqlite3_bind_text(run, 1, uuid.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_int64(run, 2, start + std::int64_t{i} * 60'000);
            sqlite3_step(run);
            sqlite3_reset(run);
            const std::string port = "port-" + std::to_string(random() % kPorts);
            sqlite3_bind_text(unit, 1, port.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_step(unit);
            sqlite3_reset(unit);
        }
        sqlite3_finalize(run);
        sqlite3_finalize(unit);
        ok_ = sqlite3_exec(db, "COMMIT; ANALYZE", nullptr, nullptr, nullptr) == SQLITE_OK;
        sqlite3_close(db);
    }
    bool ok() const { return ok_; }
    const std::string& path() const { return path_; }

  private:
    TempFolder folder_;
    std::string path_;
    bool ok_ = false;
};

BigDatabase& Big() {
    static BigDatabase big;
    return big;
}

void LookUp(benchmark::State& state, RecordStore::Query query) {
    if (!Big().ok()) {
        state.SkipWithError("the big database could not be made");
        return;
    }
    std::unique_ptr<RecordStore> store;
    if (const Result opened = RecordStore::Open(Big().path(), &store); !opened) {
        state.SkipWithError(opened.describe().c_str());
        return;
    }
    std::vector<double> millis;
    std::mt19937 random(11);
    const bool anyPort = query.port.empty();
    for (auto _ : state) {
        if (!anyPort) {
            query.port = "port-" + std::to_string(random() % kPorts);
        }
        std::vector<RunRecord> runs;
        const auto start = std::chrono::steady_clock::now();
        const Result read = store->LastRuns(query, &runs);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        if (!read || runs.empty()) {
            state.SkipWithError("no run found");
            return;
        }
        state.SetIterationTime(took.count());
        millis.push_back(took.count() * 1000);
    }
    state.counters["median_ms"] = Median(millis);
}

// The last run of a port among a million (each iteration asks for another port).
void BM_LastRunOfPort(benchmark::State& state) {
    RecordStore::Query query;
    query.port = "port-0";
    query.limit = 1;
    query.withDetails = true;
    LookUp(state, query);
}
BENCHMARK(BM_LastRunOfPort)->UseManualTime()->Unit(benchmark::kMillisecond);

// A port's last 20 runs.
void BM_Last20RunsOfPort(benchmark::State& state) {
    RecordStore::Query query;
    query.port = "port-0";
    query.limit = 20;
    LookUp(state, query);
}
BENCHMARK(BM_Last20RunsOfPort)->UseManualTime()->Unit(benchmark::kMillisecond);

// The station's last 20 runs, any port.
void BM_Last20Runs(benchmark::State& state) {
    RecordStore::Query query;
    query.limit = 20;
    LookUp(state, query);
}
BENCHMARK(BM_Last20Runs)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tavlin
