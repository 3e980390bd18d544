// How a calibration run ends, and what the next run in the same session starts from.
#include <atomic>
#include <optional>

#include "calibration/CalibrationFixture.h"
#include "calibration/CalibrationTexts.h"

namespace tavlin::testing {
namespace {

constexpr auto kRunLimit = 60s;

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

}  // namespace
}  // namespace tavlin::testing
