#pragma once
// The calibration worker against the simulated stylus through the real command thread, with a
// short transfer time-out and answer limit, and a window that records what it was told.
#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "calibration/CalibrationDataThread.h"
#include "calibration/CalibrationLayout.h"
#include "calibration/CalibrationView.h"
#include "console/ConsoleFixture.h"

namespace tavlin::testing {

struct DrawnTarget {
    int target;
    int x;
    int y;
    CalibrationView::Crosshair mode;
};

class RecordingCalibrationView : public CalibrationView {
  public:
    void SetInstructionText(const std::string& text) override {
        std::lock_guard lock(mutex_);
        texts_.push_back(text);
    }
    void DrawTarget(int target, int x, int y, Crosshair mode) override {
        std::lock_guard lock(mutex_);
        drawn_.push_back({target, x, y, mode});
    }
    void RequestClose() override {
        std::lock_guard lock(mutex_);
        ++closeRequests_;
        changed_.notify_all();
    }
    ScreenSize CurrentScreenSize() const override { return {width.load(), height.load()}; }

    std::vector<std::string> texts() const {
        std::lock_guard lock(mutex_);
        return texts_;
    }
    std::vector<DrawnTarget> drawn() const {
        std::lock_guard lock(mutex_);
        return drawn_;
    }
    int lastTarget() const {
        std::lock_guard lock(mutex_);
        return drawn_.empty() ? -1 : drawn_.back().target;
    }
    int closeRequests() const {
        std::lock_guard lock(mutex_);
        return closeRequests_;
    }
    bool WaitForClose(std::chrono::milliseconds limit) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, limit, [&] { return closeRequests_ > 0; });
    }

    std::atomic<int> width{1920};
    std::atomic<int> height{1080};

  private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::string> texts_;
    std::vector<DrawnTarget> drawn_;
    int closeRequests_ = 0;
};

// One touch-point reply as the simulated device sent it.
struct TouchReply {
    int target;
    bool touching;
    bool valid;
};

class CalibrationTest : public ConsoleTest {
  protected:
    static constexpr uint8_t kCalInitCode = 0x0B;
    static constexpr uint8_t kCalPointCode = 0x1E;
    static constexpr uint8_t kCalParamCode = 0x28;
    static constexpr uint32_t kAnswerLimitMs = 300;

    CalibrationTest() : CalibrationTest(CalibrationTiming{kAnswerLimitMs, 5}) {}
    explicit CalibrationTest(CalibrationTiming timing) : worker{state, calView, timing} {}

    void StartRun(int width = 1920, int height = 1080) {
        state.g_ScreenWidth = static_cast<uint16_t>(width);
        state.g_ScreenHeight = static_cast<uint16_t>(height);
        ASSERT_TRUE(worker.Start(ComputeCalibrationLayout(width, height)));
    }
    // The window's cancel path: quiet first, then stop and wait for the end.
    void StopLikeTheWindow() {
        state.g_isMidwayExit = 1;
        worker.Stop();
    }
    std::vector<TouchReply> TouchReplies() {
        std::vector<TouchReply> out;
        for (const auto& r : transport.recorder().reports()) {
            if (r.dir == sim::RecordedReport::In && r.bytes[1] == kCalPointCode) {
                const uint8_t* d = r.bytes.data() + 3;
                out.push_back({d[2], d[1] == 1, d[1] == 1 && d[4] == 1});
            }
        }
        return out;
    }
    // The requests the worker sent about one target, in order.
    std::vector<sim::Report> RequestsAt(int target) {
        std::vector<sim::Report> out;
        for (const auto& r : OutReports()) {
            if (r[1] == kCalPointCode && r[3] == target) {
                out.push_back(r);
            }
        }
        return out;
    }
    std::string LastText() {
        const auto texts = calView.texts();
        return texts.empty() ? std::string() : texts.back();
    }

    RecordingCalibrationView calView;
    CalibrationDataThread worker;
};

// Whole runs whose device-side sample counts are checked exactly, with the product's transfer
// time-out and answer limit: a reply that comes after the host gave up on it has been counted by
// the stylus but not by the worker, and the count at that target doubles. With the short test
// limits a machine that stalls for a moment (a sanitizer build, Wine, a loaded runner) could do
// that; these runs wait only as long as the device takes to answer, so the long limits cost
// nothing.
class CalibrationRunTest : public CalibrationTest {
  protected:
    CalibrationRunTest() : CalibrationTest(CalibrationTiming{}) {
        device.setTimeoutMs(kTransferTimeoutMs);
    }
};

}  // namespace tavlin::testing
