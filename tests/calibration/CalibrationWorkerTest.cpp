// The calibration worker: a whole run against the simulated stylus, and every way it can fail.
#include <algorithm>
#include <atomic>
#include <optional>

#include "base/StringTable.h"
#include "calibration/CalibrationFixture.h"
#include "calibration/CalibrationTexts.h"

namespace tavlin::testing {
namespace {

using Crosshair = CalibrationView::Crosshair;

// A whole run is slow only where every thread hand-off is (a loaded machine under Wine takes
// ~10 s); the limit only keeps a hang from stalling the suite.
constexpr auto kRunLimit = 60s;

// One whole run on 1920 x 1080: twenty valid samples at each target, the screen size block, the
// finishing texts with their percentages, the completion text and the close request.
TEST_F(CalibrationRunTest, WholeRunCollectsTwentyValidSamplesAtEachTarget) {
    StartRun(1920, 1080);
    ASSERT_TRUE(calView.WaitForClose(kRunLimit));
    worker.Stop();
    EXPECT_TRUE(worker.outcome().ok()) << worker.outcome().describe();
    EXPECT_EQ(state.g_CalThread, nullptr);

    const auto replies = TouchReplies();
    for (int t = 0; t < kCalTargetCount; ++t) {
        const auto valid = std::count_if(replies.begin(), replies.end(), [&](const TouchReply& r) {
            return r.target == t && r.valid;
        });
        EXPECT_EQ(valid, 20) << "target " << t;
    }
    // Each target is drawn where the layout puts it, the last one blanked before the screen size.
    const auto drawn = calView.drawn();
    ASSERT_FALSE(drawn.empty());
    EXPECT_EQ(drawn.front().x, 64);
    EXPECT_EQ(drawn.front().y, 32);
    EXPECT_EQ(drawn.back().target, 14);
    EXPECT_EQ(drawn.back().mode, Crosshair::Blank);

    int screenSizeBlocks = 0;
    for (const auto& r : OutReports()) {
        if (r[1] == kCalParamCode) {
            ++screenSizeBlocks;
            EXPECT_EQ(std::vector<int>(r.begin() + 2, r.begin() + 6),
                      (std::vector<int>{0x80, 0x07, 0x38, 0x04}));
        }
    }
    EXPECT_EQ(screenSizeBlocks, 1);
    EXPECT_EQ(firmware().screenSize(), (std::pair<uint16_t, uint16_t>{1920, 1080}));

    const auto texts = calView.texts();
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.front(), caltext::kTouchTheCross);
    EXPECT_EQ(texts.back(), caltext::kCompleted);
    EXPECT_EQ(calView.closeRequests(), 1);
    std::vector<std::string> finishing{FinishingText(0)};
    for (int n = 1; n < 175; ++n) {
        finishing.push_back(FinishingText(4 * n / 7));
    }
    finishing.push_back(FinishingText(100));
    const auto first = std::find(texts.begin(), texts.end(), FinishingText(0));
    ASSERT_NE(first, texts.end());
    EXPECT_EQ(std::vector<std::string>(first, texts.end() - 1), finishing);
    EXPECT_EQ(FinishingText(37), "正在保存标定数据，请勿触摸屏幕…… 37%\n");
}

// The operator's hand slips off the first cross after five good samples and comes back: the
// worker needs twenty valid samples in a row after the slip, not twenty in all.
TEST_F(CalibrationRunTest, InvalidSampleInBetweenStartsTheCountAgain) {
    std::atomic<int> asked{0};
    firmware().setStylusHand([&](const sim::TouchRequest& r) -> std::optional<sim::Touch> {
        if (r.targetNumber != 0) {
            return std::nullopt;
        }
        const int n = ++asked;
        const bool slipped = n == 6 || n == 7;
        return sim::Touch{true, slipped ? uint16_t{600} : r.x, slipped ? uint16_t{600} : r.y};
    });
    StartRun();
    ASSERT_TRUE(calView.WaitForClose(kRunLimit));
    EXPECT_TRUE(worker.outcome().ok()) << worker.outcome().describe();

    std::vector<int> atFirst;  // 2 valid, 1 touching elsewhere
    for (const TouchReply& r : TouchReplies()) {
        if (r.target == 0) {
            atFirst.push_back(r.valid ? 2 : r.touching ? 1 : 0);
        }
    }
    std::vector<int> expected(5, 2);
    expected.insert(expected.end(), 2, 1);
    expected.insert(expected.end(), 20, 2);
    EXPECT_EQ(atFirst, expected);
    EXPECT_EQ(RequestsAt(0).size(), expected.size());  // no request after the 20th in a row
}

// The operator keeps pressing the last cross after its samples: the run goes on to the screen
// size without waiting for the stylus to lift.
TEST_F(CalibrationRunTest, NoReleaseWaitAfterTheLastTarget) {
    std::atomic<int> asked{0};
    firmware().setStylusHand([&](const sim::TouchRequest& r) -> std::optional<sim::Touch> {
        if (r.targetNumber != 14) {
            return std::nullopt;
        }
        // Lifted for the release check that moves the run here, then pressed for good.
        return sim::Touch{asked++ > 0, r.x, r.y};
    });
    StartRun();
    ASSERT_TRUE(calView.WaitForClose(kRunLimit));
    EXPECT_TRUE(worker.outcome().ok()) << worker.outcome().describe();
    EXPECT_EQ(Sent(kCalParamCode), 1);
    EXPECT_EQ(RequestsAt(14).size(), 1u + 20u);
    EXPECT_EQ(LastText(), caltext::kCompleted);
}

// A device that takes several of the worker's wait slices to answer (well within the answer
// limit) is heard: its init is taken and each of its samples counts.
TEST_F(CalibrationTest, AnswersSlowerThanOneWaitSliceAreTaken) {
    transport.faults().SetLatency(10ms);  // 20 ms an exchange, four slices of 5 ms
    StartRun();
    ASSERT_TRUE(Eventually([&] { return calView.lastTarget() == 1; }));
    StopLikeTheWindow();
    EXPECT_EQ(calView.texts().front(), caltext::kTouchTheCross);
    // The stylus lands on the first request and gives twenty samples, all of them counted.
    EXPECT_EQ(RequestsAt(0).size(), 1u + 20u);
}

TEST_F(CalibrationTest, InitNotAnsweredInTime) {
    // The answer comes after the worker's limit, the transfer still running: 600 ms against 300.
    device.setTimeoutMs(1000);
    transport.faults().SetLatency(300ms);
    StartRun();
    ASSERT_TRUE(calView.WaitForClose(3s));
    worker.Stop();
    EXPECT_EQ(worker.outcome().code(), ResultCode::Timeout);
    EXPECT_EQ(calView.texts().front(), caltext::kInitFailed);
    EXPECT_NE(
        Log().find(") Calibration init failed!\nret=258,g_CalDataInitSuc=0,g_isMidwayExit=0\n,"),
        std::string::npos)
        << Log();
    EXPECT_EQ(Sent(kCalPointCode), 0);
}

TEST_F(CalibrationTest, InitRefused) {
    transport.faults().Refuse(kCalInitCode);
    StartRun();
    ASSERT_TRUE(calView.WaitForClose(3s));
    worker.Stop();
    EXPECT_EQ(worker.outcome().code(), ResultCode::Refused);
    EXPECT_NE(worker.outcome().reason().find("calibration init: status 0x"), std::string::npos)
        << worker.outcome().describe();
    // The device is still there: its own failure text stays, no unplugged text over it.
    EXPECT_EQ(calView.texts(), std::vector<std::string>{caltext::kInitFailed});
    EXPECT_NE(
        Log().find(") Calibration init failed!\nret=0,g_CalDataInitSuc=0,g_isMidwayExit=0\n,"),
        std::string::npos)
        << Log();
    // The refusal also left the device not communicating: the exit line says so.
    EXPECT_NE(Log().find("CalibrationDataThread exit!\ng_isDeviceCommunicate=0,g_bDevExist=1!\n"),
              std::string::npos);
    const auto texts = calView.texts();
    EXPECT_EQ(std::count(texts.begin(), texts.end(), std::string(caltext::kCompleted)), 0);
}

// A sample the device never answers is asked again once per answer limit, for as long as it
// takes, and the run still stops at once.
TEST_F(CalibrationTest, UnansweredSampleIsAskedAgainEachAnswerLimit) {
    transport.faults().NoReplyTo(kCalPointCode);
    StartRun();
    ASSERT_TRUE(Eventually([&] { return Sent(kCalPointCode) >= 1; }));
    std::this_thread::sleep_for(std::chrono::milliseconds(kAnswerLimitMs * 3 + 150));
    const int asked = Sent(kCalPointCode);
    EXPECT_GE(asked, 3);
    EXPECT_LE(asked, 5);
    EXPECT_EQ(calView.closeRequests(), 0);
    StopLikeTheWindow();
    EXPECT_EQ(worker.outcome().code(), ResultCode::Stopped);
}

// The command thread settles a refused sample at once without an event; the worker must not
// turn that into a loop that floods the device.
TEST_F(CalibrationTest, RefusedSampleIsPacedNotRepeatedInALoop) {
    transport.faults().Refuse(kCalPointCode);
    StartRun();
    ASSERT_TRUE(Eventually([&] { return Sent(kCalPointCode) >= 1; }));
    std::this_thread::sleep_for(std::chrono::milliseconds(kAnswerLimitMs * 3 + 150));
    EXPECT_LE(Sent(kCalPointCode), 5);
    StopLikeTheWindow();
}

// Esc while the worker waits: first while the device has not answered yet (the transfer still
// runs), then while the worker lets the rest of the answer limit pass before asking again.
TEST_F(CalibrationTest, EscWhileASampleIsOutstandingEndsAtOnce) {
    transport.faults().NoReplyTo(kCalPointCode);
    device.setTimeoutMs(1500);  // the sample stays outstanding well past the check below
    CalibrationDataThread slow{state, calView, {3000, 20}};  // the product's answer limit
    state.g_ScreenWidth = 1920;
    state.g_ScreenHeight = 1080;
    ASSERT_TRUE(slow.Start(ComputeCalibrationLayout(1920, 1080)));
    ASSERT_TRUE(Eventually([&] { return Sent(kCalPointCode) >= 1; }));
    const size_t textsBefore = calView.texts().size();
    const auto start = std::chrono::steady_clock::now();
    state.g_isMidwayExit = 1;
    slow.Stop();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1000ms);
    EXPECT_EQ(slow.outcome().code(), ResultCode::Stopped);
    EXPECT_EQ(calView.texts().size(), textsBefore);  // quiet while the window closes
    EXPECT_EQ(state.g_isMidwayExit, 0);
    EXPECT_EQ(calView.closeRequests(), 1);
}

TEST_F(CalibrationTest, EscWhileWaitingToAskAgainEndsAtOnce) {
    transport.faults().NoReplyTo(kCalPointCode);  // settled after the 100 ms transfer time-out
    CalibrationDataThread slow{state, calView, {3000, 20}};
    state.g_ScreenWidth = 1920;
    state.g_ScreenHeight = 1080;
    ASSERT_TRUE(slow.Start(ComputeCalibrationLayout(1920, 1080)));
    ASSERT_TRUE(Eventually([&] { return Sent(kCalPointCode) >= 1; }));
    std::this_thread::sleep_for(300ms);
    const auto start = std::chrono::steady_clock::now();
    state.g_isMidwayExit = 1;
    slow.Stop();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1000ms);
    EXPECT_EQ(slow.outcome().code(), ResultCode::Stopped);
    EXPECT_EQ(Sent(kCalPointCode), 1);
}

TEST_F(CalibrationTest, UnplugDuringReleaseWaitEndsTheRun) {
    const int listener = transport.AddPresenceListener([&](const sim::PresenceEvent& e) {
        if (e.kind == sim::PresenceEvent::Kind::Removed) {
            state.g_bDevExist = 0;  // what the detection does
        }
    });
    // The stylus presses the first target and stays pressed: after its samples the release
    // check waits. Pressing before the run starts leaves no race with a fast simulated stylus.
    firmware().setStylusManual(true, 64, 32);
    StartRun();
    ASSERT_TRUE(Eventually([&] { return calView.lastTarget() == 1; }));
    transport.Detach();
    ASSERT_TRUE(calView.WaitForClose(3s));
    worker.Stop();
    transport.RemovePresenceListener(listener);
    EXPECT_EQ(worker.outcome().code(), ResultCode::DeviceGone);
    EXPECT_EQ(LastText(), caltext::kUnplugged);
    EXPECT_NE(Log().find(",g_bDevExist=0!\n"), std::string::npos) << Log();
    EXPECT_NE(Log().find(") CalibrationDataThread exit!\ng_isDeviceCommunicate="),
              std::string::npos);
}

// The presence reports the device gone while it still answered the last request: the run did
// not complete and must not say so.
TEST_F(CalibrationTest, DeviceGoneIsNeverReportedAsCompleted) {
    // Pressed on the first target from the start and never lifted: the run stays in the release
    // check before the second target, the device answering all along.
    firmware().setStylusManual(true, 64, 32);
    StartRun();
    ASSERT_TRUE(Eventually([&] { return calView.lastTarget() == 1; }));
    state.g_bDevExist = 0;
    ASSERT_TRUE(calView.WaitForClose(3s));
    worker.Stop();
    EXPECT_EQ(worker.outcome().code(), ResultCode::DeviceGone);
    EXPECT_EQ(LastText(), caltext::kUnplugged);
    EXPECT_NE(Log().find("g_isDeviceCommunicate=1,g_bDevExist=0!\n"), std::string::npos);
}

TEST_F(CalibrationTest, NoDeviceAtStartEndsAtOnce) {
    state.g_bDevExist = 0;
    StartRun();
    ASSERT_TRUE(calView.WaitForClose(2s));
    worker.Stop();
    EXPECT_EQ(worker.outcome().code(), ResultCode::NoDevice);
    EXPECT_EQ(Sent(kCalInitCode), 0);
}

TEST_F(CalibrationTest, SamplesFollowAScreenChange) {
    calView.width = 960;
    calView.height = 540;
    StartRun(1920, 1080);
    ASSERT_TRUE(Eventually([&] { return Sent(kCalPointCode) >= 2; }));
    StopLikeTheWindow();
    for (const auto& r : OutReports()) {
        if (r[1] == kCalPointCode && r[3] == 0) {
            EXPECT_EQ(r[4] | (r[5] << 8), 32);  // 64 x 960 / 1920
            EXPECT_EQ(r[6] | (r[7] << 8), 16);
        }
    }
    EXPECT_EQ(calView.drawn().front().x, 32);
}

}  // namespace
}  // namespace tavlin::testing
