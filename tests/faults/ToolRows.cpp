// The rows of the production tools: the image update, the leveling preview and exposure, and
// the calibration, each driven as its window drives it.
#include <gmock/gmock.h>

#include <atomic>
#include <thread>

#include "MatrixWorld.h"
#include "base/StringTable.h"
#include "calibration/CalibrationFixture.h"
#include "calibration/CalibrationLayout.h"
#include "calibration/CalibrationTexts.h"
#include "firmware/FirmwareFixture.h"
#include "firmware/FirmwareTexts.h"
#include "firmware/ImageUpdateWorker.h"
#include "leveling/ExposureAdjust.h"
#include "leveling/ImagePreviewThread.h"
#include "leveling/LevelingClose.h"
#include "leveling/LevelingFixture.h"
#include "leveling/StatusText.h"

namespace tavlin::faults {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;
using namespace std::chrono_literals;

constexpr auto kToolBound = 10s;

std::string Joined(const std::vector<std::string>& texts) {
    std::string all;
    for (const std::string& t : texts) {
        all += t;
        all += '\n';
    }
    return all;
}

std::string ImageBytes() {
    return testing::PatternBytes(62 * 4 + 7, 3);  // five packets, the last one short
}

WorkerRow ImageUpdateRow() {
    WorkerRow row;
    row.name = "ImageUpdate";
    row.requests = 7;  // the version read, five packets, the version record
    row.act = [](MatrixWorld& w) {
        testing::RecordingFirmwareView view;
        ImageUpdateWorker worker(w.state, view);
        const std::string package = w.WriteFile(
            "pkg.ini", testing::PackageText(
                           {{"Tavlin LInfo", {1, 0x1234, w.WriteFile("l.bin", ImageBytes())}}}));
        EXPECT_TRUE(worker.Start(package));
        const bool ended = worker.WaitForEnd(10000);
        worker.StopAndWait();
        w.outcome = worker.lastResult();
        w.toolShown = Joined(view.status());
        return ended;
    };
    row.expect = [](MatrixWorld& w, Fault fault, int at) {
        const std::string shown = w.Shown();
        if (fault == Fault::None) {
            EXPECT_THAT(shown, HasSubstr(fw::kUpdateSucceeded));
            EXPECT_EQ(w.firmware().imageVersion(kMaster), 0x1234u);
            return;
        }
        EXPECT_THAT(shown, HasSubstr(fw::kUpdateFailed));
        EXPECT_THAT(shown, Not(HasSubstr(fw::kUpdateSucceeded)));
        EXPECT_THAT(w.Log(), HasSubstr("Update FW: failed!"));
        // No version record for an image that did not wholly arrive, nor for a refused record.
        EXPECT_NE(w.firmware().imageVersion(kMaster), 0x1234u);
        if (at > 1 && at < 7) {
            EXPECT_THAT(shown, HasSubstr("CMD_FPGA_CODE_Process Failed!\n"));
        }
    };
    row.codeImage = [] {
        const std::string file = ImageBytes();
        return std::vector<uint8_t>(file.begin(), file.end());
    };
    row.packetCommand = cmd::kCodePacket2Master;
    return row;
}

// Starts the leveling window's preview worker, as the window opens it, for one cycle.
void StartOneCycle(MatrixWorld& w, ImagePreviewThread& worker) {
    w.state.AllocatePreviewBuffers();
    w.state.g_isMidwayExit = 0;
    w.state.g_isSearchDone = 0;
    worker.SetCycleLimit(1);
    EXPECT_TRUE(worker.Start());
}

// The leveling window's opening: the search, then one preview cycle; then its close.
Result PreviewOnce(MatrixWorld& w, testing::RecordingLevelingView& view, bool* ended) {
    ImagePreviewThread worker(w.state, view);
    StartOneCycle(w, worker);
    *ended = MatrixWorld::WaitEnded([&] { return worker.cyclesDrawn() >= 1 || !worker.Running(); },
                                    kToolBound);
    StopPreviewForClose(w.state);
    const Result result = worker.result();
    if (result.ok() && worker.cyclesDrawn() != 1) {
        return Result::Fail(ResultCode::Failed, "no whole preview cycle");
    }
    return result;
}

WorkerRow PreviewRow() {
    WorkerRow row;
    row.name = "LevelingPreview";
    row.requests = 198;  // the search, one stitching, 95 chunks of two sensors
    row.act = [](MatrixWorld& w) {
        testing::RecordingLevelingView view;
        bool ended = false;
        w.outcome = PreviewOnce(w, view, &ended);
        w.toolShown = Joined(view.statuses(kMaster)) + Joined(view.statuses(kSlave));
        return ended;
    };
    row.expect = [](MatrixWorld& w, Fault fault, int at) {
        const std::string shown = w.Shown();
        const std::string log = w.Log();
        if (fault == Fault::None) {
            EXPECT_THAT(shown, HasSubstr(FormatString(IDS_ROW_SELECTED, 240, 40, 600)));
            EXPECT_THAT(shown, HasSubstr(FormatString(IDS_ROW_SELECTED, 250, 40, 600)));
        } else if (at == 1) {
            EXPECT_THAT(shown, HasSubstr(LoadString(IDS_STARTLINE_SEARCH_FAILED)));
            EXPECT_THAT(log, HasSubstr("ImagePreviewThread: Search Startline failed!\n"));
        } else {
            // A chunk: the picture keeps what came, the next stitching fails.
            EXPECT_THAT(log, HasSubstr("ImagePreviewThread: GetPreviewData failed!\n"));
            EXPECT_THAT(log, HasSubstr("ImagePreviewThread: Optimalize Line failed!\n"));
            EXPECT_THAT(shown, HasSubstr(LoadString(IDS_STITCH_FAILED)));
        }
    };
    return row;
}

WorkerRow ExposureRow() {
    WorkerRow row;
    row.name = "Exposure";
    row.requests = 2;  // both sensors
    row.act = [](MatrixWorld& w) {
        // The fault is for the exposure: the preview before it runs on a sound device.
        const sim::FaultSettings plan = w.transport.faults().settings();
        w.transport.faults().Clear();
        testing::RecordingLevelingView view;
        ImagePreviewThread worker(w.state, view);
        StartOneCycle(w, worker);
        EXPECT_TRUE(MatrixWorld::WaitEnded([&] { return worker.cyclesDrawn() >= 1; }, kToolBound));
        w.transport.faults().Set(plan);
        std::atomic<bool> ended{false};
        std::thread adjust([&] {
            w.outcome = AdjustExposure(w.state, view);
            ended = true;
        });
        const bool done = MatrixWorld::WaitEnded([&] { return ended.load(); }, kToolBound);
        adjust.join();
        StopPreviewForClose(w.state);
        w.toolShown = Joined(view.statuses(kMaster)) + Joined(view.statuses(kSlave));
        return done;
    };
    row.expect = [](MatrixWorld& w, Fault fault, int) {
        const std::string shown = w.Shown();
        const std::string done = LoadString(IDS_EXPOSURE_DONE);
        if (fault == Fault::None) {
            EXPECT_THAT(shown, HasSubstr(done.substr(0, done.find('%'))));
            EXPECT_THAT(shown, Not(HasSubstr(LoadString(IDS_EXPOSURE_FAILED))));
        } else {
            EXPECT_THAT(shown, HasSubstr(LoadString(IDS_EXPOSURE_FAILED)));
            EXPECT_THAT(w.Log(), HasSubstr("Exposure failed!\n"));
        }
    };
    return row;
}

WorkerRow CalibrationRow() {
    WorkerRow row;
    row.name = "Calibration";
    row.requests =
        317;  // init, 15 targets of 20 samples, 14 release checks, screen size, finishing
    row.act = [](MatrixWorld& w) {
        testing::RecordingCalibrationView view;
        CalibrationDataThread::Timing timing;
        timing.answerLimitMs = 300;
        CalibrationDataThread worker(w.state, view, timing);
        w.state.g_ScreenWidth = 1920;
        w.state.g_ScreenHeight = 1080;
        w.state.g_isMidwayExit = 0;
        EXPECT_TRUE(worker.Start(ComputeCalibrationLayout(1920, 1080)));
        // A device that stops answering samples is asked again and again: the operator's Esc
        // ends that, as the window's cancel does.
        view.WaitForClose(1200ms);
        w.state.g_isMidwayExit = 1;
        const auto start = std::chrono::steady_clock::now();
        worker.Stop();
        w.outcome = worker.outcome();
        w.toolShown = Joined(view.texts());
        return std::chrono::steady_clock::now() - start < 1s;
    };
    row.expect = [](MatrixWorld& w, Fault fault, int at) {
        const std::string shown = w.Shown();
        const std::string log = w.Log();
        if (fault == Fault::None) {
            EXPECT_THAT(shown, HasSubstr(caltext::kCompleted));
            return;
        }
        EXPECT_THAT(shown, Not(HasSubstr(caltext::kCompleted)));
        if (at == 1) {
            EXPECT_THAT(shown, HasSubstr(caltext::kInitFailed));
            EXPECT_THAT(log, HasSubstr("Calibration init failed!\n"));
        }
        if (fault != Fault::NoReply) {
            // A device that answers nonsense or is gone: the worker's end says so.
            EXPECT_THAT(log, HasSubstr("CalibrationDataThread exit!\n"));
        }
        if (at == 1 || at == 317) {
            // The run ends at the init and at the screen size; only a device that is gone is
            // reported unplugged, one that refused or stayed silent keeps the failure's text.
            const bool unplugged = shown.find(caltext::kUnplugged) != std::string::npos;
            EXPECT_EQ(unplugged, fault == Fault::Unplug) << shown;
        }
        if (at == 317 && fault != Fault::Unplug) {
            EXPECT_THAT(shown, HasSubstr(caltext::kScreenSizeFailed));
        }
    };
    return row;
}

}  // namespace

std::vector<WorkerRow> ToolRows() {
    return {ImageUpdateRow(), PreviewRow(), ExposureRow(), CalibrationRow()};
}

}  // namespace tavlin::faults
