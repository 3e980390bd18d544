// How a calibration run ends when the device refuses or goes away, and what the next run in the
// same session starts from.
#include <algorithm>
#include <atomic>
#include <optional>

#include "calibration/CalibrationFixture.h"
#include "calibration/CalibrationTexts.h"

namespace tavlin::testing {
namespace {

constexpr auto kRunLimit = 60s;

int Count(const std::vector<std::string>& texts, const char* text) {
    return static_cast<int>(std::count(texts.begin(), texts.end(), std::string(text)));
}

// Five valid samples at the first target, then the device stops answering and the operator
// presses Esc. The next run must collect twenty valid samples there again, not fifteen. The
// hand touches the first target from its first request on: a "no touch" answer would set the
// count back and hide a count left over.
TEST_F(CalibrationRunTest, ASecondRunCountsItsSamplesFromZero) {
    std::atomic<bool> firstRun{true};
    std::atomic<int> given{0};
    firmware().setStylusHand([&](const sim::TouchRequest& r) -> std::optional<sim::Touch> {
        if (r.targetNumber != 0) {
            return std::nullopt;
        }
        if (firstRun && ++given == 5) {
            transport.faults().NoReplyTo(kCalPointCode);  // from the next sample on
        }
        return sim::Touch{true, r.x, r.y};
    });
    device.setTimeoutMs(100);
    StartRun();
    ASSERT_TRUE(Eventually([&] { return RequestsAt(0).size() >= 6; }));
    StopLikeTheWindow();
    ASSERT_EQ(worker.outcome().code(), ResultCode::Stopped);
    ASSERT_EQ(state.g_CalPointCount, 5);

    firstRun = false;
    transport.faults().Clear();
    device.setTimeoutMs(kTransferTimeoutMs);
    transport.recorder().Clear();
    StartRun();
    ASSERT_TRUE(Eventually([&] { return calView.lastTarget() >= 1; }, kRunLimit));
    StopLikeTheWindow();
    EXPECT_EQ(RequestsAt(0).size(), 20u);
}

// The device answers the screen size with a refusal: it is still there, so the run ends with
// the calibration's own failure text, not with the unplugged one; the log still names the flags.
TEST_F(CalibrationRunTest, RefusedScreenSizeEndsWithItsOwnText) {
    transport.faults().Refuse(kCalParamCode);
    StartRun();
    ASSERT_TRUE(calView.WaitForClose(kRunLimit));
    worker.Stop();
    EXPECT_EQ(worker.outcome().code(), ResultCode::Refused);
    EXPECT_NE(worker.outcome().reason().find("screen size: status 0x"), std::string::npos)
        << worker.outcome().describe();
    const auto texts = calView.texts();
    EXPECT_EQ(LastText(), caltext::kScreenSizeFailed);
    EXPECT_EQ(Count(texts, caltext::kUnplugged), 0);
    EXPECT_EQ(Count(texts, caltext::kCompleted), 0);
    EXPECT_NE(Log().find(") CalibrationDataThread exit!\ng_isDeviceCommunicate=0,g_bDevExist=1!\n"),
              std::string::npos)
        << Log();
}

// The device goes away while it takes the screen size. Nothing has told the presence yet
// (g_bDevExist is still 1): the link's own result is what says the device is gone.
TEST_F(CalibrationRunTest, UnplugAtTheScreenSizeSaysUnpluggedBeforeThePresenceKnows) {
    transport.faults().UnplugAt(kCalParamCode);
    StartRun();
    ASSERT_TRUE(calView.WaitForClose(kRunLimit));
    worker.Stop();
    EXPECT_EQ(state.g_bDevExist, 1);
    EXPECT_EQ(worker.outcome().code(), ResultCode::DeviceGone);
    EXPECT_EQ(LastText(), caltext::kUnplugged);
    EXPECT_NE(Log().find(") CalibrationDataThread exit!\ng_isDeviceCommunicate=0,g_bDevExist=1!\n"),
              std::string::npos)
        << Log();
}

TEST_F(CalibrationTest, UnplugAtTheInitSaysUnplugged) {
    transport.faults().UnplugAt(kCalInitCode);
    StartRun();
    ASSERT_TRUE(calView.WaitForClose(3s));
    worker.Stop();
    EXPECT_EQ(worker.outcome().code(), ResultCode::DeviceGone);
    EXPECT_EQ(calView.texts(),
              (std::vector<std::string>{caltext::kInitFailed, caltext::kUnplugged}));
}

}  // namespace
}  // namespace tavlin::testing
