#pragma once
// A command thread on a scripted transport, with a host that records what the window would be
// told.
#include <gtest/gtest.h>

#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

#include "FakeTransport.h"
#include "base/Log.h"
#include "device/CommandThread.h"

namespace tavlin::testing {

class RecordingHost : public CommandThreadHost {
  public:
    void PostCmdDone() override {
        std::lock_guard lock(mutex_);
        ++cmdDone_;
    }
    void AppendOutputText(const std::string& text) override {
        std::lock_guard lock(mutex_);
        pane_.push_back(text);
    }
    void SetReadValueText(const std::string& text) override {
        std::lock_guard lock(mutex_);
        readValue_.push_back(text);
    }
    int cmdDone() const {
        std::lock_guard lock(mutex_);
        return cmdDone_;
    }
    std::vector<std::string> pane() const {
        std::lock_guard lock(mutex_);
        return pane_;
    }
    std::vector<std::string> readValues() const {
        std::lock_guard lock(mutex_);
        return readValue_;
    }

  private:
    mutable std::mutex mutex_;
    int cmdDone_ = 0;
    std::vector<std::string> pane_;
    std::vector<std::string> readValue_;
};

// Id 1137 has no handler: serving it only refreshes the window, which makes it a barrier.
inline constexpr uint32_t kUnhandledMessage = WM_USER + 113;

class CommandThreadTest : public ::testing::Test {
  protected:
    CommandThreadTest() {
        transport.interfaces = {OurVendorCollection("/dev/hidraw-test")};
        device.setTimeoutMs(100);
        uint16_t pid = 0;
        EXPECT_EQ(OpenHidDevice(device, &pid), 1);
        dir = std::filesystem::temp_directory_path() /
              ("tavlin-cmd-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir);
        SetLogFilePath((dir / "Tavlin_log.txt").string());
        thread.SetBurstDirectory(dir.string());
        thread.Start();
    }
    ~CommandThreadTest() override {
        PostRequest(state, WM_EXIT_CMD_THREAD);
        thread.Join();
        std::filesystem::remove_all(dir);
    }

    // Posted with `meaning`, as a poster that says what its request means.
    template <class Block>
    uint32_t Request(uint32_t id, const Block& block, Event& event, uint32_t lParam = 0) {
        return WaitRequest(PostRequest(state, id, meaning, &block, sizeof block, lParam), event,
                           3000);
    }
    uint32_t Request(uint32_t id, Event& event) {
        return WaitRequest(PostRequest(state, id, meaning), event, 3000);
    }
    // A register request as the script runner posts it: marked, and answered on its event.
    template <class Block>
    uint32_t ScriptRequest(uint32_t id, const Block& block) {
        state.g_ScriptRequestEvent.Set();
        return WaitRequest(PostScriptRequest(state, id, &block, sizeof block),
                           state.g_RegAccessDoneEvent, 3000);
    }
    // Returns once everything posted before has been served.
    void Sync() {
        auto r = PostRequest(state, kUnhandledMessage);
        ASSERT_TRUE(r);
        ASSERT_EQ(r->handled.Wait(3000), WAIT_OBJECT_0);
    }
    // The output reports sent since the last call.
    std::vector<Report> Sent() {
        std::vector<Report> out(transport.written.begin() + taken_, transport.written.end());
        taken_ = transport.written.size();
        return out;
    }

    FakeTransport transport;
    HidDevice device{transport};
    SharedState state;
    RequestMeaning meaning;  // what Request() posts with
    RecordingHost host;
    CommandThread thread{state, device, host};
    std::filesystem::path dir;

  private:
    size_t taken_ = 0;
};

}  // namespace tavlin::testing
