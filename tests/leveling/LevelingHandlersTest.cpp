// The window's handlers on the simulated device: arrows and sliders, exposure, the OK check and
// the close's mode switch, also when the worker has already ended.
#include "base/StringTable.h"
#include "leveling/ExposureAdjust.h"
#include "leveling/LevelingFixture.h"
#include "leveling/StartLineAdjuster.h"
#include "leveling/StatusText.h"

namespace tavlin::testing {
namespace {

class HandlersTest : public LevelingTest {
  protected:
    // The worker has searched and drawn one cycle; its requests keep being served.
    void Searched() {
        StartWorker(1);
        worker->WaitSettled();
        ASSERT_TRUE(worker->Running());
    }
    StartLineAdjuster adjuster{state, levelingView};
};

TEST_F(HandlersTest, ArrowsDoNothingAtTheSliderEnds) {
    Searched();
    const int before = Sent(kStartLineConfig);
    EXPECT_FALSE(adjuster.Arrow(kMaster, false, 100));
    EXPECT_FALSE(adjuster.Arrow(kMaster, true, 300));
    EXPECT_EQ(Sent(kStartLineConfig), before);
    EXPECT_EQ(state.g_StartLineM, 240);
}

TEST_F(HandlersTest, ALineBeyondTheSliderMovesFromTheLineItself) {
    SetScene(kMaster, [](sim::SceneSettings& s) { s.lightRow = 353; });
    Searched();
    EXPECT_EQ(levelingView.sliders(kMaster).back(), 350);  // the window's slider shows 300
    state.g_isExposureAdjusted = 1;
    EXPECT_EQ(adjuster.Arrow(kMaster, false, 300), 299);
    EXPECT_EQ(state.g_StartLineM, 349);
    EXPECT_EQ(levelingView.sliders(kMaster).back(), 299);
    EXPECT_EQ(firmware().startLine(kMaster), 349);
    EXPECT_EQ(levelingView.lastStatus(kMaster), FormatString(IDS_ROW_SELECTED, 349, 40, 600));
    EXPECT_EQ(state.g_isExposureAdjusted, 0);  // a new line needs a new exposure
    EXPECT_EQ(state.g_SensorSel, kMaster);
}

TEST_F(HandlersTest, EachSliderNotificationConfiguresAndSearchesWithItsPosition) {
    Searched();
    const int configs = Sent(kStartLineConfig + kSlaveOffset);
    const int columns = Sent(kColumnSearch + kSlaveOffset);
    adjuster.SliderMoved(kSlave, 248);
    adjuster.SliderMoved(kSlave, 247);
    EXPECT_EQ(Sent(kStartLineConfig + kSlaveOffset), configs + 2);
    EXPECT_EQ(Sent(kColumnSearch + kSlaveOffset), columns + 2);
    EXPECT_EQ(firmware().startLine(kSlave), 247);
    EXPECT_EQ(state.g_SensorSel, kMaster);
}

TEST_F(HandlersTest, AFailedConfigurationLeavesThePreviousText) {
    Searched();
    const std::string before = levelingView.lastStatus(kMaster);
    transport.faults().Refuse(kStartLineConfig);
    adjuster.SliderMoved(kMaster, 200);
    EXPECT_EQ(levelingView.lastStatus(kMaster), before);
    EXPECT_EQ(Sent(kColumnSearch), 1);  // only the worker's
}

TEST_F(HandlersTest, SliderRequestsDuringTheSearchAreAnsweredByTheirOwnCompletions) {
    // The window's configuration and column search run beside the worker's; each poster waits
    // for its own request, so neither takes the other's completion and both go on.
    transport.faults().SetLatency(std::chrono::microseconds(300));
    StartWorker(1);
    int moves = 0;
    while (worker->Running() && worker->cyclesDrawn() < 1) {
        adjuster.SliderMoved(kSlave, 250 + moves % 2);  // the band stays in the window
        ++moves;
    }
    worker->WaitSettled();
    EXPECT_TRUE(worker->Running()) << worker->result().describe();
    EXPECT_GT(moves, 0);
    EXPECT_EQ(levelingView.frames(kSlave).size(), 1u);
}

TEST_F(HandlersTest, EachPosterReadsItsOwnResultAndSensor) {
    Searched();
    // Both requests queue behind a slow one; the second poster selects the other sensor and
    // fails, and the process-wide flag ends with its result.
    transport.faults().SetLatency(std::chrono::milliseconds(20));
    transport.faults().Refuse(kStartLineConfig + kSlaveOffset);
    RequestMeaning master{};
    master.startLine = 236;
    RequestMeaning slave{};
    slave.sensor = kSlave;
    slave.startLine = 250;
    const RequestHandle slow = PostRequest(state, WM_SEARCH_COLUMN, master);
    const RequestHandle masterConfig = PostRequest(state, WM_CONFIG_START_LINE, master);
    const RequestHandle slaveConfig = PostRequest(state, WM_CONFIG_START_LINE, slave);
    ASSERT_EQ(WaitRequest(slaveConfig, state.g_ConfigStartLineEvent, INFINITE), WAIT_OBJECT_0);
    ASSERT_EQ(WaitRequest(masterConfig, state.g_ConfigStartLineEvent, INFINITE), WAIT_OBJECT_0);
    EXPECT_TRUE(RequestOutcome(masterConfig, WAIT_OBJECT_0).ok());
    EXPECT_EQ(RequestOutcome(slaveConfig, WAIT_OBJECT_0).code(), ResultCode::Refused);
    EXPECT_EQ(state.g_OptimumStartLine, 0);
    EXPECT_EQ(firmware().startLine(kMaster), 236);  // the line its poster said
    WaitRequest(slow, state.g_SearchColumnEvent, INFINITE);
}

TEST_F(HandlersTest, ExposureShowsTheParametersOfBothSensors) {
    Searched();
    EXPECT_TRUE(AdjustExposure(state, levelingView).ok());
    EXPECT_EQ(levelingView.statuses(kMaster).end()[-2], BuiltInString(IDS_EXPOSURE_RUNNING));
    EXPECT_EQ(levelingView.lastStatus(kMaster),
              "曝光调节结束，当前光学参数为:240，42，598;\n\n0x30，0x08。\n");
    EXPECT_EQ(levelingView.lastStatus(kSlave),
              "曝光调节结束，当前光学参数为:250，42，598;\n\n0x30，0x08。\n");
    EXPECT_EQ(state.g_isExposureAdjusted, 1);
}

TEST_F(HandlersTest, AMasterExposureFailureLeavesTheSlaveAloneAndStillAllowsOk) {
    Searched();
    transport.faults().Refuse(kExposureMaster);
    EXPECT_FALSE(AdjustExposure(state, levelingView).ok());
    EXPECT_EQ(Sent(kExposureSlave), 0);
    EXPECT_EQ(state.g_ExposureM[0], 0xFF);
    EXPECT_EQ(state.g_ExposureM[1], 0xFF);
    EXPECT_EQ(state.g_isExposureSuc, 0);
    EXPECT_EQ(state.g_isDeviceCommunicate, 0);
    EXPECT_EQ(levelingView.lastStatus(kMaster), BuiltInString(IDS_EXPOSURE_FAILED));
    EXPECT_EQ(levelingView.lastStatus(kSlave), BuiltInString(IDS_EXPOSURE_FAILED));
    EXPECT_NE(Log().find("Exposure failed!\nret=0,g_isExposureSuc=0,g_isMidwayExit=0\n"),
              std::string::npos);
    EXPECT_TRUE(MayLeaveWithOk(state, levelingView));
}

TEST_F(HandlersTest, OkAsksForAnExposureFirstThenSwitchesToTheConfirmedMode) {
    Searched();
    EXPECT_FALSE(MayLeaveWithOk(state, levelingView));
    EXPECT_EQ(levelingView.lastStatus(kMaster), BuiltInString(IDS_ADJUST_EXPOSURE_FIRST));
    EXPECT_EQ(levelingView.lastStatus(kSlave), BuiltInString(IDS_ADJUST_EXPOSURE_FIRST));
    (void)AdjustExposure(state, levelingView);
    ASSERT_TRUE(MayLeaveWithOk(state, levelingView));
    StopPreviewForClose(state);
    EXPECT_TRUE(SwitchModeOnClose(state, view, true).ok());
    EXPECT_EQ(firmware().mode(), 0xEE);
}

TEST_F(HandlersTest, CancelSwitchesToWorkModeAndAFailedWaitIsShownOnTheMainWindow) {
    Searched();
    StopPreviewForClose(state);
    EXPECT_TRUE(SwitchModeOnClose(state, view, false).ok());
    EXPECT_EQ(firmware().mode(), 0x22);
    EndCommandThread();
    EXPECT_FALSE(SwitchModeOnClose(state, view, false).ok());
    ASSERT_FALSE(view.status().empty());
    EXPECT_EQ(view.status().back(), BuiltInString(IDS_SWITCH_FAILED));
    EXPECT_NE(Log().find("Calibration exit:Switch to work mode failed!\nret=-1,"),
              std::string::npos)
        << Log();
}

TEST_F(HandlersTest, PressesAfterTheWorkerEndedReturnAtOnceAndKeepItsText) {
    SetScene(kMaster, [](sim::SceneSettings& s) { s.searchAnswer = 0; });
    StartWorker();
    ASSERT_TRUE(WorkerEnded());
    const std::string ending = BuiltInString(IDS_STARTLINE_SEARCH_FAILED);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(adjuster.Arrow(kMaster, true, 200), 201);
    adjuster.SliderMoved(kSlave, 260);
    EXPECT_FALSE(AdjustExposure(state, levelingView).ok());
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
    EXPECT_EQ(levelingView.lastStatus(kMaster), ending);
    EXPECT_EQ(levelingView.lastStatus(kSlave), ending);
    EXPECT_NE(Log().find("Exposure failed!\nret=258,"), std::string::npos);
    EXPECT_EQ(state.g_isExposureAdjusted, 1);
}

}  // namespace
}  // namespace tavlin::testing
