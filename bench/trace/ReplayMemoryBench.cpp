// What replaying a long recording holds in memory: a 1 GB recording (an update's worth of output
// reports and their replies, many times over) is written to the benchmark's temporary folder,
// checked and replayed report by report, and deleted. The peak resident size of the whole
// process is reported (goal: under 64 MB); the replay holds a window of the file, not the file.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "device/HidTransport.h"
#include "trace/ReplayTransport.h"
#include "trace/TraceFormat.h"
#include "trace/TraceReader.h"

namespace {

using namespace tavlin;

constexpr uint64_t kRecordingBytes = uint64_t{1} << 30;
const char* const kNode = "/dev/hidraw0";

std::vector<uint8_t> Report(uint8_t command, uint32_t n) {
    std::vector<uint8_t> report(kReportSize, 0);
    report[0] = kReportId;
    report[1] = command;
    for (int i = 0; i < 4; ++i) {
        report[2 + i] = static_cast<uint8_t>(n >> (8 * i));
    }
    return report;
}

// Writes the recording; the number of exchanges in it.
uint64_t WriteRecording(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    std::string text = TraceHeaderLine("bench") + "\n";
    TraceEvent arrival;
    arrival.kind = TraceEvent::Kind::Arrival;
    arrival.info = {kNode, kVendorId, kProductIdWork, kVendorUsagePage, kVendorUsage};
    arrival.look = 1;
    text += TraceEventLine(arrival) + "\n";
    uint64_t written = 0;
    uint64_t exchanges = 0;
    while (written < kRecordingBytes) {
        for (int i = 0; i < 1000; ++i, ++exchanges) {
            TraceEvent out;
            out.kind = TraceEvent::Kind::Out;
            out.us = exchanges * 100;
            out.bytes = Report(0x2D, static_cast<uint32_t>(exchanges));
            TraceEvent in = out;
            in.kind = TraceEvent::Kind::In;
            in.us += 50;
            text += TraceEventLine(out) + "\n" + TraceEventLine(in) + "\n";
        }
        std::fwrite(text.data(), 1, text.size(), file);
        written += text.size();
        text.clear();
    }
    std::fclose(file);
    return exchanges;
}

long PeakResidentKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;  // kilobytes on Linux
}

void BM_ReplayOneGigabyteRecording(benchmark::State& state) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                      ("tavlin-replay-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "long.trace").string();
    const uint64_t exchanges = WriteRecording(path);
    uint64_t replayed = 0;
    for (auto _ : state) {
        TraceProblem problem;
        if (!CheckTrace(path, &problem)) {
            state.SkipWithError("the recording does not read back");
            break;
        }
        ReplayTransport replay(TraceReader::Open(path, &problem), false);
        int error = 0;
        auto node = replay.Open(kNode, &error);
        uint8_t reply[kReportSize];
        for (uint64_t n = 0; n < exchanges; ++n) {
            const std::vector<uint8_t> out = Report(0x2D, static_cast<uint32_t>(n));
            if (!node->Write(out.data(), out.size()).ok() ||
                !node->Read(reply, sizeof reply, 100).ok()) {
                state.SkipWithError("the replay went another way");
                break;
            }
            ++replayed;
        }
    }
    std::filesystem::remove_all(dir);
    state.counters["exchanges"] = static_cast<double>(replayed);
    state.counters["file_MB"] = static_cast<double>(kRecordingBytes >> 20);
    state.counters["peak_rss_MB"] = static_cast<double>(PeakResidentKb()) / 1024.0;
}
BENCHMARK(BM_ReplayOneGigabyteRecording)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
