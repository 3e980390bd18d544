// The Linux hot-plug sources: udev's socket and the thread that watches it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "device/HotplugThread.h"
#include "device/UdevMonitor.h"

namespace tavlin::testing {
namespace {

using namespace std::chrono_literals;

// A pipe stands in for the udev socket: a byte is a notice.
class PipeSource : public HotplugSource {
  public:
    PipeSource() { EXPECT_EQ(pipe(fds_), 0); }
    ~PipeSource() override {
        close(fds_[0]);
        close(fds_[1]);
    }
    int fd() const override { return fds_[0]; }
    bool DrainEvents() override {
        char b[16];
        return read(fds_[0], b, sizeof b) > 0;
    }
    void Notify() { EXPECT_EQ(write(fds_[1], "x", 1), 1); }

  private:
    int fds_[2];
};

TEST(HotplugThreadTest, CallsBackOnNoticesAndStopsPromptly) {
    PipeSource source;
    std::atomic<int> changes{0};
    HotplugThread watcher(source, [&] { ++changes; });
    ASSERT_TRUE(watcher.Start());
    source.Notify();
    for (int i = 0; i < 1000 && changes == 0; ++i) {
        std::this_thread::sleep_for(1ms);
    }
    EXPECT_EQ(changes, 1);
    const auto start = std::chrono::steady_clock::now();
    watcher.Stop();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
}

TEST(UdevMonitorTest, OpensAndHasNothingToDrainWhenNothingHappened) {
    UdevMonitor monitor;
    EXPECT_EQ(monitor.fd(), -1);
    EXPECT_FALSE(monitor.DrainEvents());
    if (!monitor.Open()) {
        GTEST_SKIP() << "no udev netlink socket here";
    }
    EXPECT_GE(monitor.fd(), 0);
    EXPECT_FALSE(monitor.DrainEvents());
}

}  // namespace
}  // namespace tavlin::testing
