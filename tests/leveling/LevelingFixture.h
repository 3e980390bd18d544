#pragma once
// The leveling worker and handlers against the simulated device's optical scene, through the
// real command thread, with a view that records what the window would show.
#include <functional>
#include <memory>

#include "console/ConsoleFixture.h"
#include "device/DeviceProtocol.h"
#include "leveling/ImagePreviewThread.h"
#include "leveling/LevelingClose.h"
#include "leveling/LevelingView.h"
#include "sim/SimFirmware.h"

namespace tavlin::testing {

using namespace tavlin::cmd;

class RecordingLevelingView : public LevelingView {
  public:
    void SetStatus(int sensor, const std::string& text) override {
        std::function<void(int, const std::string&)> hook;
        {
            std::lock_guard lock(mutex_);
            statuses_[sensor].push_back(text);
            order_.push_back(sensor);
            hook = onStatus_;
        }
        if (hook) {
            hook(sensor, text);
        }
    }
    void SetSlider(int sensor, int position) override {
        std::function<void(int)> hook;
        {
            std::lock_guard lock(mutex_);
            sliders_[sensor].push_back(position);
            hook = onSlider_;
        }
        if (hook) {
            hook(sensor);
        }
    }
    void DrawPreview(int sensor, const PreviewFrame& frame) override {
        std::function<void(int)> hook;
        {
            std::lock_guard lock(mutex_);
            frames_[sensor].push_back(frame);
            hook = onDraw_;
        }
        if (hook) {
            hook(sensor);  // on the worker's thread, as the window's bridge would be called
        }
    }

    // Called after each drawn picture, on the worker's thread.
    void OnDraw(std::function<void(int sensor)> hook) {
        std::lock_guard lock(mutex_);
        onDraw_ = std::move(hook);
    }
    // Called after each status text and each slider move, on the caller's thread.
    void OnStatus(std::function<void(int sensor, const std::string& text)> hook) {
        std::lock_guard lock(mutex_);
        onStatus_ = std::move(hook);
    }
    void OnSlider(std::function<void(int sensor)> hook) {
        std::lock_guard lock(mutex_);
        onSlider_ = std::move(hook);
    }
    std::vector<std::string> statuses(int sensor) const {
        std::lock_guard lock(mutex_);
        return statuses_[sensor];
    }
    std::string lastStatus(int sensor) const {
        std::lock_guard lock(mutex_);
        return statuses_[sensor].empty() ? std::string() : statuses_[sensor].back();
    }
    std::vector<int> statusOrder() const {
        std::lock_guard lock(mutex_);
        return order_;
    }
    std::vector<int> sliders(int sensor) const {
        std::lock_guard lock(mutex_);
        return sliders_[sensor];
    }
    std::vector<PreviewFrame> frames(int sensor) const {
        std::lock_guard lock(mutex_);
        return frames_[sensor];
    }

  private:
    mutable std::mutex mutex_;
    std::vector<std::string> statuses_[2];
    std::vector<int> order_;
    std::vector<int> sliders_[2];
    std::vector<PreviewFrame> frames_[2];
    std::function<void(int)> onDraw_;
    std::function<void(int, const std::string&)> onStatus_;
    std::function<void(int)> onSlider_;
};

class LevelingTest : public ConsoleTest {
  protected:
    LevelingTest() { state.AllocatePreviewBuffers(); }
    ~LevelingTest() override {
        StopPreviewForClose(state);
        worker.reset();
    }

    // Starts the worker as the window's set-up does.
    void StartWorker(int cycleLimit = 0) {
        state.g_isMidwayExit = 0;
        state.g_isSearchDone = 0;
        state.g_isExposureAdjusted = 0;
        worker = std::make_unique<ImagePreviewThread>(state, levelingView);
        worker->SetCycleLimit(cycleLimit);
        ASSERT_TRUE(worker->Start());
    }
    bool WorkerEnded(std::chrono::milliseconds limit = 5s) {
        return state.g_PreviewExitEvent.Wait(static_cast<uint32_t>(limit.count())) == WAIT_OBJECT_0;
    }
    void SetScene(int sensor, const std::function<void(sim::SceneSettings&)>& change) {
        sim::SceneSettings scene = firmware().scene(sensor);
        change(scene);
        firmware().setScene(sensor, scene);
    }

    RecordingLevelingView levelingView;
    std::unique_ptr<ImagePreviewThread> worker;
};

}  // namespace tavlin::testing
