#include "platform/Event.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace tavlin {
namespace {

TEST(Event, AutoResetReleasesOneWaitAndFallsBack) {
    Event e;
    EXPECT_EQ(e.Wait(0), WAIT_TIMEOUT);
    e.Set();
    EXPECT_EQ(e.Wait(0), WAIT_OBJECT_0);
    EXPECT_EQ(e.Wait(0), WAIT_TIMEOUT) << "an auto-reset event is consumed by the wait";
}

TEST(Event, ManualResetStaysSignalledUntilReset) {
    Event e(Event::Kind::ManualReset);
    e.Set();
    EXPECT_EQ(e.Wait(0), WAIT_OBJECT_0);
    EXPECT_EQ(e.Wait(10), WAIT_OBJECT_0);
    e.Reset();
    EXPECT_EQ(e.Wait(0), WAIT_TIMEOUT);
}

TEST(Event, TimedWaitReturns258AfterItsTime) {
    Event e;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(e.Wait(50), 258u);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(45));
}

TEST(Event, InfiniteWaitWakesOnSetFromAnotherThread) {
    Event e;
    std::thread setter([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        e.Set();
    });
    EXPECT_EQ(e.Wait(INFINITE), WAIT_OBJECT_0);
    setter.join();
}

TEST(Event, InitiallySignalled) {
    Event e(Event::Kind::AutoReset, true);
    EXPECT_TRUE(e.IsSignalled());
    EXPECT_EQ(e.Wait(0), WAIT_OBJECT_0);
    EXPECT_FALSE(e.IsSignalled());
}

}  // namespace
}  // namespace tavlin
