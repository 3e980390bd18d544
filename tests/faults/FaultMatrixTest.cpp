// Every device-facing worker against the simulated device with every fault at the first, a
// middle and the last request of its sequence. Each cell: the worker ends within its time-outs,
// the tool shows that failure's text and the log has its line, the exit path still writes the
// log's end line, and no byte of a code transfer reaches the device other than the file's.
#include <gmock/gmock.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <iostream>

#include "MatrixWorld.h"
#include "console/ExitProcedure.h"

namespace tavlin::faults {
namespace {

using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::Not;
using Clock = std::chrono::steady_clock;

constexpr const char* kTimeoutLine = "GetOverlappedResult_Tav failed! ret=258\n";
constexpr const char* kGoneLine = "ret=1167 ERROR_DEVICE_NOT_CONNECTED!\n";
constexpr const char* kAnyLinkFailure = "GetOverlappedResult_Tav failed!";

struct Cell {
    size_t row = 0;
    Fault fault = Fault::None;
    int at = 0;  // the request (from 1) the fault hits; 0 for a clean run
};

std::vector<Cell> AllCells() {
    std::vector<Cell> cells;
    for (size_t r = 0; r < AllRows().size(); ++r) {
        const int n = AllRows()[r].requests;
        cells.push_back({r, Fault::None, 0});
        std::vector<int> at = {1, (n + 1) / 2, n};
        at.erase(std::unique(at.begin(), at.end()), at.end());
        for (Fault f : {Fault::NoReply, Fault::Refused, Fault::Unplug, Fault::StrayReport}) {
            for (int a : at) {
                cells.push_back({r, f, a});
            }
        }
    }
    return cells;
}

std::string CellName(const ::testing::TestParamInfo<Cell>& info) {
    const Cell& c = info.param;
    std::string name = AllRows()[c.row].name + "_" + FaultName(c.fault);
    if (c.at > 0) {
        name += "_at" + std::to_string(c.at);
    }
    return name;
}

sim::FaultSettings FaultAt(Fault fault, int at) {
    sim::FaultSettings s;
    const auto n = static_cast<uint64_t>(at);
    switch (fault) {
        case Fault::None:
            break;
        case Fault::NoReply:
            s.noReplyFrom = n;
            break;
        case Fault::Refused:
            s.refuseFrom = n;
            break;
        case Fault::Unplug:
            s.unplugAfter = n - 1;  // the at-th report finds the device gone
            break;
        case Fault::StrayReport:
            s.foreignBefore = {n};
            break;
    }
    return s;
}

// Cells run and time taken, printed once at the end.
std::atomic<int> g_cellsRun{0};
std::atomic<int64_t> g_cellMicros{0};

class FaultMatrixTest : public MatrixWorld, public ::testing::WithParamInterface<Cell> {
  protected:
    ~FaultMatrixTest() override {
        // The world's directory is named after the cell, which holds a '/': the folder above it
        // is shared with every other cell, also those of a matrix running in another process,
        // so it goes only once it is empty.
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
        if (dir.parent_path().filename().string().rfind("tavlin-console-", 0) == 0) {
            std::filesystem::remove(dir.parent_path(), ignored);
        }
    }

    void ExpectCodePacketsMatch(const WorkerRow& row) {
        const std::vector<uint8_t> image = row.codeImage();
        size_t offset = 0;
        for (const sim::Report& r : OutReports()) {
            if ((r[1] & ~(kFirstPacketFlag | kLastPacketFlag)) != row.packetCommand) {
                continue;
            }
            ASSERT_LT(offset, image.size()) << "more code packets than the file holds";
            const size_t n = std::min<size_t>(kMaxCodePacket, image.size() - offset);
            EXPECT_TRUE(std::equal(image.begin() + static_cast<long>(offset),
                                   image.begin() + static_cast<long>(offset + n), r.begin() + 2))
                << "code packet at offset " << offset << " differs from the file";
            offset += n;
        }
    }
};

TEST_P(FaultMatrixTest, Cell) {
    const Cell cell = GetParam();
    const WorkerRow& row = AllRows()[cell.row];
    transport.faults().Set(FaultAt(cell.fault, cell.at));

    const auto start = Clock::now();
    const bool ended = row.act(*this);
    const auto took = Clock::now() - start;
    g_cellMicros += std::chrono::duration_cast<std::chrono::microseconds>(took).count();
    ++g_cellsRun;
    ASSERT_TRUE(ended) << "the worker did not end: a hang";
    // Every failure costs at most one transfer time-out before the worker gives up; later
    // requests may each time out too.
    EXPECT_LT(took, std::chrono::milliseconds(100 * (row.requests + 1) + 1500));

    const Fault expectedOutcome = cell.fault == Fault::StrayReport ? Fault::None : cell.fault;
    row.expect(*this, expectedOutcome, cell.at);
    if (outcome) {
        EXPECT_EQ(outcome->ok(), expectedOutcome == Fault::None)
            << "the worker reported " << (outcome->ok() ? "success" : "failure");
    }
    const std::string log = Log();
    if (cell.fault == Fault::None || cell.fault == Fault::StrayReport) {
        EXPECT_EQ(transport.faults().reportsSeen(), static_cast<uint64_t>(row.requests))
            << "the row's request count is off";
        EXPECT_THAT(log, Not(HasSubstr(kAnyLinkFailure)));
    } else {
        EXPECT_GE(transport.faults().reportsSeen(), static_cast<uint64_t>(cell.at))
            << "the fault was never reached";
    }
    if (cell.fault == Fault::NoReply) {
        EXPECT_THAT(log, HasSubstr(kTimeoutLine));
    } else if (cell.fault == Fault::Unplug) {
        EXPECT_THAT(log, HasSubstr(kGoneLine));
    } else if (cell.fault == Fault::Refused) {
        // A refusal is the device's answer, not a broken link.
        EXPECT_THAT(log, Not(HasSubstr(kAnyLinkFailure)));
    }
    if (row.codeImage) {
        ExpectCodePacketsMatch(row);
    }

    StopWorkers(state, &script, &fpga, &commandThread);
    ShutdownCleanup(state);
    EXPECT_THAT(Log(), EndsWith("Tavlin log end!\n"));
}

INSTANTIATE_TEST_SUITE_P(Workers, FaultMatrixTest, ::testing::ValuesIn(AllCells()), CellName);

// The matrix's size and time, for the CI log.
class MatrixSize : public ::testing::Environment {
  public:
    void TearDown() override {
        std::cout << "[ matrix   ] " << g_cellsRun << " cells, workers ran " << g_cellMicros / 1000
                  << " ms in total\n";
    }
};
const auto* const kSize = ::testing::AddGlobalTestEnvironment(new MatrixSize);

}  // namespace

const char* FaultName(Fault fault) {
    switch (fault) {
        case Fault::None:
            return "Clean";
        case Fault::NoReply:
            return "NoReply";
        case Fault::Refused:
            return "Refused";
        case Fault::Unplug:
            return "Unplug";
        case Fault::StrayReport:
            return "StrayReport";
    }
    return "?";
}

std::string MatrixWorld::Shown() const {
    std::string all = view.pane() + toolShown;
    for (const auto& lines : {view.status(), view.versions(), view.readValues()}) {
        for (const std::string& line : lines) {
            all += line;
            all += '\n';
        }
    }
    return all;
}

bool MatrixWorld::WaitEnded(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    return testing::Eventually(done, limit);
}

}  // namespace tavlin::faults
