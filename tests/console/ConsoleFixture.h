#pragma once
// The console workers against the simulated device through the real command thread, with a
// short transfer time-out, a log and burst files in a directory of their own, and a view that
// records what the front end would show.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "base/Log.h"
#include "console/ConsoleView.h"
#include "device/CommandThread.h"
#include "device/DeviceProtocol.h"
#include "device/HidDevice.h"
#include "device/SharedState.h"
#include "platform/FilePath.h"
#include "sim/SimTransport.h"

namespace tavlin::testing {

using namespace std::chrono_literals;

// The window and the command thread both write the output pane; one record keeps their order.
class RecordingView : public ConsoleView, public CommandThreadHost {
  public:
    void AppendOutputText(const std::string& text) override {
        std::lock_guard lock(mutex_);
        pane_ += text;
        changed_.notify_all();
    }
    void PostCmdDone() override {
        std::lock_guard lock(mutex_);
        ++cmdDone_;
    }
    void SetReadValueText(const std::string& text) override {
        std::lock_guard lock(mutex_);
        readValues_.push_back(text);
    }
    void SetStatusText(const std::string& text) override {
        std::lock_guard lock(mutex_);
        status_.push_back(text);
    }
    void SetVersionText(const std::string& text) override {
        std::lock_guard lock(mutex_);
        versions_.push_back(text);
    }
    void SetControlCaption(int id, const std::string& text) override {
        std::lock_guard lock(mutex_);
        captions_[id] = text;
    }
    void HideControls(const std::vector<int>& ids) override {
        std::lock_guard lock(mutex_);
        hidden_.insert(hidden_.end(), ids.begin(), ids.end());
    }

    std::string pane() const { return Locked(pane_); }
    void ClearPane() {
        std::lock_guard lock(mutex_);
        pane_.clear();
    }
    int cmdDone() const { return Locked(cmdDone_); }
    std::vector<std::string> status() const { return Locked(status_); }
    std::vector<std::string> versions() const { return Locked(versions_); }
    std::vector<std::string> readValues() const { return Locked(readValues_); }
    std::vector<int> hidden() const { return Locked(hidden_); }
    std::string caption(int id) const {
        std::lock_guard lock(mutex_);
        auto it = captions_.find(id);
        return it == captions_.end() ? std::string() : it->second;
    }
    bool WaitForPane(const std::string& part, std::chrono::milliseconds limit = 5s) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, limit,
                                 [&] { return pane_.find(part) != std::string::npos; });
    }

  private:
    template <class T>
    T Locked(const T& value) const {
        std::lock_guard lock(mutex_);
        return value;
    }

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::string pane_;
    int cmdDone_ = 0;
    std::vector<std::string> status_, versions_, readValues_;
    std::map<int, std::string> captions_;
    std::vector<int> hidden_;
};

// Polls a condition another thread makes true.
template <class Pred>
bool Eventually(Pred pred, std::chrono::milliseconds limit = 5s) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!pred()) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        std::this_thread::sleep_for(2ms);
    }
    return true;
}

class ConsoleTest : public ::testing::Test {
  protected:
    ConsoleTest() : device(transport), commandThread(state, device, view) {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir = std::filesystem::temp_directory_path() /
              ("tavlin-console-" + std::string(info->name()) + "-" +
               std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
        std::filesystem::create_directories(dir);
        SetLogFilePath((dir / "Tavlin_log.txt").string());
        transport.recorder().SetEnabled(true);
        device.setTimeoutMs(100);
        uint16_t productId = 0;
        EXPECT_EQ(OpenHidDevice(device, &productId), 1);
        state.g_bDevExist = 1;
        commandThread.SetBurstDirectory(dir.string());
        commandThread.Start();
    }
    ~ConsoleTest() override {
        EndCommandThread();
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    }

    // Names are UTF-8 (a test may name a folder in Chinese); so is the path returned.
    std::string WriteFile(const std::string& name, const std::string& bytes) {
        const auto path = dir / PathFromUtf8(name);
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
        return Utf8FromPath(path);
    }
    std::string ReadFile(const std::string& name) const {
        std::ifstream in(dir / PathFromUtf8(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    std::string Log() const { return ReadFile("Tavlin_log.txt"); }
    // Output reports with this command byte.
    int Sent(uint8_t command) {
        int n = 0;
        for (const auto& r : transport.recorder().outReports()) {
            n += r[1] == command ? 1 : 0;
        }
        return n;
    }
    std::vector<sim::Report> OutReports() { return transport.recorder().outReports(); }
    // Ends the command thread, as the exit path does, so posting fails from then on.
    void EndCommandThread() {
        if (state.g_CmdThread == nullptr) {
            commandThread.Join();
            return;
        }
        const RequestHandle exit = PostRequest(state, WM_EXIT_CMD_THREAD);
        WaitRequest(exit, state.g_CmdThreadExitEvent, INFINITE);
        commandThread.Join();
    }
    sim::SimFirmware& firmware() { return transport.firmware(); }

    std::filesystem::path dir;
    sim::SimTransport transport;
    HidDevice device;
    SharedState state;
    RecordingView view;
    CommandThread commandThread;
};

}  // namespace tavlin::testing
