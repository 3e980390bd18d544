// What recording a session costs the link: one output report and its reply through a link that
// answers at once, bare and through the recorder. The recorder's share per report is half the
// difference of the two (it must stay under 2 us); the file is written on the writer's own
// thread meanwhile.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "trace/RecordingTransport.h"
#include "trace/TraceWriter.h"

namespace {

using namespace tavlin;

// A link with nothing behind it: every write is taken, every read answered at once.
class InstantConnection final : public HidConnection {
  public:
    IoResult Write(const uint8_t*, size_t) override { return IoResult::Ok(); }
    IoResult Read(uint8_t* report, size_t length, int) override {
        std::fill(report, report + length, uint8_t{0x22});
        report[0] = kReportId;
        return IoResult::Ok();
    }
    void DiscardPendingInput() override {}
    const std::string& Path() const override { return path_; }

  private:
    std::string path_ = "instant";
};

class InstantTransport final : public HidTransport {
  public:
    std::vector<HidInterfaceInfo> Enumerate() override {
        return {{"instant", kVendorId, kProductIdWork, kVendorUsagePage, kVendorUsage}};
    }
    std::unique_ptr<HidConnection> Open(const std::string&, int* errorCode) override {
        *errorCode = 0;
        return std::make_unique<InstantConnection>();
    }
    std::optional<std::pair<uint16_t, uint16_t>> Attributes(HidConnection&) override {
        return std::make_pair(kVendorId, kProductIdWork);
    }
};

void Exchange(HidConnection& connection, benchmark::State& state) {
    uint8_t report[kReportSize] = {kReportId, 0x06, 0x10};
    for (auto _ : state) {
        benchmark::DoNotOptimize(connection.Write(report, sizeof report));
        benchmark::DoNotOptimize(connection.Read(report, sizeof report, 2000));
        benchmark::ClobberMemory();
    }
    // Seconds per report (two reports an iteration), printed with its SI prefix.
    state.counters["per_report"] = benchmark::Counter(
        2, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_ExchangeBare(benchmark::State& state) {
    InstantTransport transport;
    int error = 0;
    const auto connection = transport.Open("instant", &error);
    Exchange(*connection, state);
}
BENCHMARK(BM_ExchangeBare)->UseRealTime();

void BM_ExchangeRecorded(benchmark::State& state) {
    const std::string path =
        (std::filesystem::temp_directory_path() / "tavlin-recorder-bench.trace").string();
    InstantTransport inner;
    auto writer = TraceWriter::Create(path, "bench");
    if (!writer) {
        state.SkipWithError("cannot create the recording");
        return;
    }
    RecordingTransport transport(inner, *writer);
    int error = 0;
    const auto connection = transport.Open("instant", &error);
    Exchange(*connection, state);
    writer->Close();  // after the timed loop: the writer's own time, not the link's
    std::filesystem::remove(path);
}
BENCHMARK(BM_ExchangeRecorded)->UseRealTime();

}  // namespace
