// The preview worker's search, its preview cycles and its endings, on the optical scene.
#include <future>

#include "base/StringTable.h"
#include "console/WorkerSlot.h"
#include "leveling/LevelingFixture.h"
#include "leveling/StatusText.h"

namespace tavlin::testing {
namespace {

const std::string kSearching = BuiltInString(IDS_SEARCHING);

TEST_F(LevelingTest, SearchPlacesTheBandAndShowsTheOpticalParameters) {
    StartWorker(1);
    worker->WaitSettled();
    ASSERT_TRUE(worker->Running());

    EXPECT_EQ(firmware().startLine(kMaster), 240);
    EXPECT_EQ(firmware().startLine(kSlave), 250);
    EXPECT_EQ(levelingView.sliders(kMaster), std::vector<int>{240});
    EXPECT_EQ(levelingView.sliders(kSlave), std::vector<int>{250});
    EXPECT_EQ(levelingView.statuses(kMaster),
              (std::vector<std::string>{kSearching, FormatString(IDS_ROW_SELECTED, 240, 40, 600)}));
    EXPECT_EQ(levelingView.lastStatus(kSlave), FormatString(IDS_ROW_SELECTED, 250, 40, 600));
    // One search of each sensor, a configuration and a column search of each.
    EXPECT_EQ(Sent(kStartLineSearch), 1);
    EXPECT_EQ(Sent(kStartLineSearch + kSlaveOffset), 1);
    EXPECT_EQ(Sent(kStartLineConfig) + Sent(kStartLineConfig + kSlaveOffset), 2);
    EXPECT_EQ(Sent(kColumnSearch) + Sent(kColumnSearch + kSlaveOffset), 2);

    // One cycle: both pictures, with the band on the row the search put it on and the line.
    const auto frames = levelingView.frames(kMaster);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(levelingView.frames(kSlave).size(), 1u);
    EXPECT_TRUE(frames[0].lineValid);
    EXPECT_GT(frames[0].pixels[3 * 640 + 320], frames[0].pixels[0 * 640 + 320] + 50);
    EXPECT_EQ(frames[0].startColumn, 40);
    const int lastPiece = frames[0].line[7].position;  // packed: read by value
    EXPECT_EQ(lastPiece, 639);
}

class StartLineOutOfRange : public LevelingTest, public ::testing::WithParamInterface<int> {};

TEST_P(StartLineOutOfRange, EndsTheWorkerWithTheHexLogLineThoughTheFlagSaidSuccess) {
    SetScene(kSlave, [](sim::SceneSettings& s) { s.searchAnswer = GetParam(); });
    StartWorker();
    ASSERT_TRUE(WorkerEnded());
    const std::string failed = BuiltInString(IDS_STARTLINE_SEARCH_FAILED);
    EXPECT_EQ(levelingView.lastStatus(kMaster), failed);
    EXPECT_EQ(levelingView.lastStatus(kSlave), failed);
    char line[96];
    std::snprintf(line, sizeof line, "g_StartLineM = 0x%04x,g_StartLineS=0x%04x\n", 240,
                  GetParam());
    EXPECT_NE(Log().find(std::string("Search Startline failed!\n") + line), std::string::npos)
        << Log();
    EXPECT_EQ(Sent(kStartLineConfig), 0);
    EXPECT_FALSE(worker->result().ok());
}

INSTANTIATE_TEST_SUITE_P(Lines, StartLineOutOfRange, ::testing::Values(0, 641));

TEST_F(LevelingTest, WhileClosingAFailedSearchGoesOnToTheRangeCheck) {
    // The window is closing: a zero flag does not stop the sequence, the range check does.
    transport.faults().Refuse(kStartLineSearch);
    state.g_isMidwayExit = 1;
    worker = std::make_unique<ImagePreviewThread>(state, levelingView);
    ASSERT_TRUE(worker->Start());
    ASSERT_TRUE(WorkerEnded());
    EXPECT_NE(Log().find("g_StartLineM = 0xffff,"), std::string::npos) << Log();
    EXPECT_EQ(levelingView.lastStatus(kMaster), BuiltInString(IDS_STARTLINE_SEARCH_FAILED));
    EXPECT_TRUE(levelingView.statuses(kSlave).size() == 1);  // no "searching" while closing
}

TEST_F(LevelingTest, WhileClosingFailedConfigurationsGoOnButAFailedColumnSearchEndsQuietly) {
    transport.faults().Refuse(kStartLineConfig);
    transport.faults().Refuse(kColumnSearch);
    state.g_isMidwayExit = 1;
    worker = std::make_unique<ImagePreviewThread>(state, levelingView);
    ASSERT_TRUE(worker->Start());
    ASSERT_TRUE(WorkerEnded());
    EXPECT_EQ(Sent(kStartLineConfig + kSlaveOffset), 1);  // the Slave's still posted
    EXPECT_EQ(Sent(kColumnSearch), 1);
    EXPECT_EQ(Sent(kColumnSearch + kSlaveOffset), 0);
    EXPECT_TRUE(levelingView.statuses(kMaster).empty());  // 140 held back
    EXPECT_NE(Log().find("Search Column failed!\nret=0,g_SearchColumn=0,g_isMidwayExit=1!\n"),
              std::string::npos)
        << Log();
    EXPECT_EQ(state.g_isMidwayExit, 0);
}

TEST_F(LevelingTest, AFailedConfigurationEndsTheWorkerWithItsText) {
    transport.faults().Refuse(kStartLineConfig + kSlaveOffset);
    StartWorker();
    ASSERT_TRUE(WorkerEnded());
    EXPECT_EQ(levelingView.lastStatus(kSlave), BuiltInString(IDS_STARTLINE_CONFIG_FAILED));
    EXPECT_NE(Log().find("Config Startline failed!\nret=0,g_OptimumStartLine=0,g_isMidwayExit=0"),
              std::string::npos);
    EXPECT_EQ(Sent(kColumnSearch), 0);
}

TEST_F(LevelingTest, AChunkFailureKeepsTheRestOfThePictureAndTheNextCycleStarts) {
    constexpr size_t kFailedChunkStart = 40 * 61;
    int drawn = 0;
    levelingView.OnDraw([&](int sensor) {
        if (sensor != kSlave) {
            return;
        }
        ++drawn;
        if (drawn == 1) {
            // The next cycle: two stitching reports, chunks 0-39 of both sensors, then the
            // Master's chunk 40 is refused. The scene changes so refreshed bytes differ.
            sim::FaultSettings faults;
            faults.refuseFrom = 2 + 80 + 1;  // counted from here
            transport.faults().Set(faults);
            for (int s : {kMaster, kSlave}) {
                SetScene(s, [](sim::SceneSettings& scene) { scene.seed = 99; });
            }
        } else if (drawn == 2) {
            transport.faults().Clear();
        }
    });
    StartWorker(3);
    worker->WaitSettled();
    ASSERT_TRUE(worker->Running());
    for (int sensor : {kMaster, kSlave}) {
        // The picture with a chunk missing is drawn, but is not one of the three whole cycles.
        const auto frames = levelingView.frames(sensor);
        ASSERT_EQ(frames.size(), 4u);
        const auto& before = frames[0].pixels;
        const auto& after = frames[1].pixels;
        EXPECT_TRUE(std::equal(before.begin() + kFailedChunkStart, before.end(),
                               after.begin() + kFailedChunkStart))
            << sensor;
        EXPECT_FALSE(std::equal(before.begin(), before.begin() + kFailedChunkStart, after.begin()))
            << sensor;
    }
    EXPECT_NE(Log().find("GetPreviewData failed!\nret=0,g_PreviewSucFlag=0,g_isMidwayExit=0!\n"),
              std::string::npos)
        << Log();
    EXPECT_EQ(Sent(kLineOptimize), 4);  // three whole cycles and the one with a chunk missing
}

TEST_F(LevelingTest, SpaceMakesTheNextCycleSearchAgainAndTheSlidersJump) {
    int drawn = 0;
    levelingView.OnDraw([&](int sensor) {
        if (sensor == kSlave && ++drawn == 1) {
            SetScene(kMaster, [](sim::SceneSettings& s) { s.searchAnswer = 230; });
            state.g_isSearchDone = 0;  // what the space key does
        }
    });
    StartWorker(2);
    worker->WaitSettled();
    EXPECT_EQ(levelingView.sliders(kMaster), (std::vector<int>{240, 230}));
    EXPECT_EQ(Sent(kStartLineSearch), 2);
    EXPECT_EQ(levelingView.statuses(kMaster)[2], kSearching);
    EXPECT_EQ(firmware().startLine(kMaster), 230);
}

TEST_F(LevelingTest, DeviceGoneWhilePreviewingEndsWithTheUnpluggedText) {
    levelingView.OnDraw([&](int sensor) {
        if (sensor == kSlave) {
            state.g_bDevExist = 0;  // what presence does on the unplug
        }
    });
    StartWorker();
    ASSERT_TRUE(WorkerEnded());
    const std::string unplugged = BuiltInString(IDS_LEVEL_UNPLUGGED);
    EXPECT_EQ(levelingView.lastStatus(kMaster), unplugged);
    EXPECT_EQ(levelingView.lastStatus(kSlave), unplugged);
    const auto order = levelingView.statusOrder();
    EXPECT_EQ(order[order.size() - 2], kSlave);  // Slave first, then Master
    EXPECT_NE(Log().find("ImagePreviewThread exit!\ng_isDeviceCommunicate=1,g_bDevExist=0!\n"),
              std::string::npos);
    EXPECT_EQ(worker->result().code(), ResultCode::DeviceGone);
    EXPECT_EQ(state.g_isDeviceCommunicate, 1);
    EXPECT_EQ(state.g_OptimumLineFlag + state.g_PreviewSucFlag + state.g_SearchColumn +
                  state.g_SearchStartLine + state.g_OptimumStartLine + state.g_isMidwayExit,
              0);
}

TEST_F(LevelingTest, UnplugMidwayThroughTheChunksEndsAtTheStitching) {
    levelingView.OnDraw([&](int sensor) {
        if (sensor == kSlave) {
            transport.faults().UnplugAfter(30);
        }
    });
    StartWorker();
    ASSERT_TRUE(WorkerEnded());
    EXPECT_EQ(levelingView.frames(kMaster).size(), 2u);  // the broken cycle still drawn
    EXPECT_EQ(levelingView.lastStatus(kMaster), BuiltInString(IDS_LEVEL_UNPLUGGED));
    EXPECT_NE(Log().find("Optimalize Line failed!"), std::string::npos);
    EXPECT_FALSE(worker->result().ok());
    EXPECT_EQ(state.g_isDeviceCommunicate, 1);
}

TEST_F(LevelingTest, CloseWhileSearchingRunsTheSearchToItsEndSilently) {
    transport.faults().SetLatency(std::chrono::milliseconds(5));
    StartWorker();
    ASSERT_TRUE(Eventually([&] { return Sent(kStartLineSearch) == 1; }));
    StopPreviewForClose(state);
    EXPECT_EQ(state.g_PreviewThread, nullptr);
    EXPECT_EQ(Sent(kColumnSearch + kSlaveOffset), 1);  // the search ran to its end
    EXPECT_EQ(Sent(kLineOptimize), 0);                 // the cycle saw the stop
    EXPECT_EQ(levelingView.statuses(kMaster), std::vector<std::string>{kSearching});
    EXPECT_TRUE(worker->result().ok());
}

TEST_F(LevelingTest, TheCloseWaitNeverMissesAWorkerThatEndsAsItStarts) {
    // The worker's last moments as they interleave with the window's close: it ends on its own,
    // never seeing the stop, just after the window saw its handle set. The wait must still end.
    int dummy = 0;
    {
        WorkerSlot ending(state.g_PreviewThread, state.g_PreviewStopEvent,
                          state.g_PreviewExitEvent);
        ASSERT_TRUE(ending.Start(&dummy, [] { std::this_thread::sleep_for(50ms); }));
        auto closing = std::async(std::launch::async, [&] { StopPreviewForClose(state); });
        ASSERT_EQ(closing.wait_for(3s), std::future_status::ready);
        EXPECT_EQ(state.g_PreviewThread, nullptr);
    }
    // Neither its end nor the stop it never saw reaches the next worker.
    StartWorker(1);
    worker->WaitSettled();
    EXPECT_TRUE(worker->Running());
    EXPECT_FALSE(state.g_PreviewExitEvent.IsSignalled());
}

TEST_F(LevelingTest, TwoWindowsShareOneWorkerAndEitherCloseStopsIt) {
    StartWorker(1);
    worker->WaitSettled();
    RecordingLevelingView secondView;
    ImagePreviewThread second(state, secondView);
    EXPECT_FALSE(second.Start());
    StopPreviewForClose(state);  // the second window closes
    EXPECT_EQ(state.g_PreviewThread, nullptr);
    EXPECT_TRUE(worker->result().ok());
    StopPreviewForClose(state);  // the first one then has nothing to wait for
}

}  // namespace
}  // namespace tavlin::testing
