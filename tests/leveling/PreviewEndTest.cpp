// The preview worker's end as it meets a closing window or the console's stopper, and what a
// request ended without an answer leaves in the log.
#include <future>

#include "base/StringTable.h"
#include "console/PreviewStopper.h"
#include "console/WorkerSlot.h"
#include "leveling/LevelingFixture.h"

namespace tavlin::testing {
namespace {

class PreviewEndTest : public LevelingTest {
  protected:
    // Starts a worker that stays after one drawn cycle, with `hook` at its ending.
    void StartHookedWorker(std::function<void()> hook) {
        state.g_isMidwayExit = 0;
        state.g_isSearchDone = 0;
        worker = std::make_unique<ImagePreviewThread>(state, levelingView);
        worker->SetCycleLimit(1);
        worker->SetEndingHook(std::move(hook));
        ASSERT_TRUE(worker->Start());
        worker->WaitSettled();
        ASSERT_TRUE(worker->Running());
    }
};

// The window closes while the worker takes its last steps. The worker is held at its ending for
// as long as a close that took it for gone too early could return meanwhile.
TEST_F(PreviewEndTest, ACloseMeetingTheWorkersLastStepsWaitsUntilItIsGone) {
    std::atomic<bool> closed{false};
    std::atomic<bool> closedBeforeItsEnd{false};
    StartHookedWorker([&] {
        std::this_thread::sleep_for(50ms);
        closedBeforeItsEnd = closed.load();
    });
    StopPreviewForClose(state);
    closed = true;
    EXPECT_FALSE(closedBeforeItsEnd);
    EXPECT_EQ(state.g_PreviewThread, nullptr);
    worker.reset();  // joined: nothing of it is left to run

    // The next window's close waits for its own worker: the end of the first one is not its end.
    StartHookedWorker(nullptr);
    EXPECT_FALSE(state.g_PreviewExitEvent.IsSignalled());
    StopPreviewForClose(state);
    EXPECT_EQ(state.g_PreviewThread, nullptr);
    EXPECT_TRUE(worker->result().ok());
}

// The console's stopper and a closing window may wait at the same time: the end is one signal
// that every waiter sees, none takes it from another.
TEST_F(PreviewEndTest, EveryWaiterSeesTheWorkerGone) {
    int running = 0;
    Event release;
    WorkerSlot slot(state.g_PreviewThread, state.g_PreviewStopEvent, state.g_PreviewExitEvent);
    ASSERT_TRUE(slot.Start(&running, [&] { release.Wait(INFINITE); }));
    EXPECT_FALSE(WaitPreviewWorkerGone(state, 30));  // it runs
    auto first = std::async(std::launch::async, [&] { return WaitPreviewWorkerGone(state, 5000); });
    auto second =
        std::async(std::launch::async, [&] { return WaitPreviewWorkerGone(state, 5000); });
    std::this_thread::sleep_for(50ms);  // both are waiting
    release.Set();
    EXPECT_TRUE(first.get());
    EXPECT_TRUE(second.get());
    EXPECT_EQ(state.g_PreviewThread, nullptr);
}

// An FPGA download stops the preview just as the worker ends on its own (a failed search, which
// never looks at the stop event). The stop stays unseen; the next worker must not take it.
TEST_F(PreviewEndTest, AStopTheWorkerNeverSawDoesNotEndTheNextWorker) {
    const sim::SceneSettings scene = firmware().scene(kSlave);
    SetScene(kSlave, [](sim::SceneSettings& s) { s.searchAnswer = 0; });
    Event stopAsked;
    class StopperView : public RecordingView {
      public:
        explicit StopperView(Event& asked) : asked_(asked) {}
        void SetControlCaption(int id, const std::string& text) override {
            RecordingView::SetControlCaption(id, text);
            asked_.Set();  // the stopper signals the stop event before it renames the button
        }

      private:
        Event& asked_;
    } stopperView(stopAsked);
    std::atomic<bool> first{true};
    levelingView.OnStatus([&](int, const std::string&) {
        if (first.exchange(false)) {
            stopAsked.Wait(INFINITE);  // the search goes on only once the stop was asked
        }
    });
    StartWorker();
    auto stopping = std::async(std::launch::async,
                               [&] { return StopPreviewWorker(state, stopperView, INFINITE); });
    EXPECT_TRUE(stopping.get());
    EXPECT_EQ(state.g_PreviewThread, nullptr);
    EXPECT_EQ(levelingView.lastStatus(kMaster), BuiltInString(IDS_STARTLINE_SEARCH_FAILED));
    worker.reset();

    firmware().setScene(kSlave, scene);
    StartWorker(1);
    worker->WaitSettled();
    EXPECT_TRUE(worker->Running());
    EXPECT_EQ(worker->cyclesDrawn(), 1);
}

// A column search the command thread ends without answering (here dropped, as every leveling
// request is while no worker is registered; requests left at its exit end the same way): the
// log gives the wait's result and a flag of 0, not the success of a request never served.
TEST_F(PreviewEndTest, ARequestEndedWithoutAnAnswerLogsItsFlagAsZero) {
    levelingView.OnSlider([&](int sensor) {
        if (sensor == kSlave) {
            state.g_PreviewThread = nullptr;  // the column search comes next
        }
    });
    StartWorker();
    worker->WaitSettled();  // it has ended: its handle was gone before its end
    worker.reset();
    EXPECT_NE(Log().find("Search Column failed!\nret=258,g_SearchColumn=0,g_isMidwayExit=0!\n"),
              std::string::npos)
        << Log();
    EXPECT_EQ(levelingView.lastStatus(kMaster), BuiltInString(IDS_COLUMN_SEARCH_FAILED));
}

}  // namespace
}  // namespace tavlin::testing
