// Waits that sleep in the kernel: every test here turns spinning off on its waiting threads so
// that each wait goes through the sleep and wake path, where a lost wake-up shows as a hang.
#include "platform/ParkingWord.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "platform/Event.h"
#include "platform/MessageQueue.h"

namespace tavlin {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

void SleepingWaitsOnly() {
    ParkingWord::AllowSpinningOnThisThread(false);
}

// For the test's own thread, which later tests share.
struct SleepingWaitsInThisTest {
    SleepingWaitsInThisTest() { SleepingWaitsOnly(); }
    ~SleepingWaitsInThisTest() { ParkingWord::AllowSpinningOnThisThread(true); }
};

TEST(ParkingWord, PingPongBetweenSleepingThreadsLosesNoWake) {
    // Each side sets the other's event and goes to sleep on its own at once, so a wake sent
    // just as the other side counts itself in as a sleeper is the common case, not a rare one.
    Event ping, pong;
    constexpr int kRounds = 3000;
    std::atomic<int> lost{0};
    std::thread other([&] {
        SleepingWaitsOnly();
        for (int i = 0; i < kRounds; ++i) {
            if (ping.Wait(2000) != WAIT_OBJECT_0) {
                ++lost;
                return;
            }
            pong.Set();
        }
    });
    const SleepingWaitsInThisTest sleeping;
    int rounds = 0;
    for (; rounds < kRounds; ++rounds) {
        ping.Set();
        if (pong.Wait(2000) != WAIT_OBJECT_0) {
            ++lost;
            ping.Set();  // lets the other side end if it still waits
            break;
        }
    }
    other.join();
    EXPECT_EQ(lost.load(), 0);
    EXPECT_EQ(rounds, kRounds);
}

TEST(ParkingWord, OneSetReleasesOneSleeperOfAnAutoResetEventAndEverySleeperOfAManualOne) {
    for (const auto kind : {Event::Kind::AutoReset, Event::Kind::ManualReset}) {
        SCOPED_TRACE(kind == Event::Kind::AutoReset ? "auto-reset" : "manual-reset");
        Event event(kind);
        std::atomic<int> asleep{0}, released{0};
        std::vector<std::thread> waiters;
        for (int i = 0; i < 3; ++i) {
            waiters.emplace_back([&] {
                SleepingWaitsOnly();
                ++asleep;
                if (event.Wait(5000) == WAIT_OBJECT_0) {
                    ++released;
                }
            });
        }
        while (asleep.load() < 3) {
            std::this_thread::yield();
        }
        std::this_thread::sleep_for(milliseconds(30));  // all three are in the kernel by now
        const auto set = Clock::now();
        event.Set();
        if (kind == Event::Kind::AutoReset) {
            std::this_thread::sleep_for(milliseconds(100));
            EXPECT_EQ(released.load(), 1) << "one signal, one waiter";
            EXPECT_FALSE(event.IsSignalled()) << "the released waiter took the signal";
            // One at a time: a second Set before the first signal was taken adds nothing.
            for (int expected = 2; expected <= 3; ++expected) {
                event.Set();
                const auto limit = Clock::now() + milliseconds(1000);
                while (released.load() < expected && Clock::now() < limit) {
                    std::this_thread::sleep_for(milliseconds(1));
                }
            }
        }
        for (auto& waiter : waiters) {
            waiter.join();
        }
        EXPECT_EQ(released.load(), 3);
        EXPECT_LT(Clock::now() - set, milliseconds(1500)) << "a waiter slept until its time limit";
    }
}

TEST(ParkingWord, ASleepingQueueReaderWakesForEachPost) {
    MessageQueue queue;
    queue.Open();
    constexpr int kPosts = 2000;
    std::atomic<int> received{0};
    std::thread reader([&] {
        SleepingWaitsOnly();
        ThreadMessage message;
        while (queue.Get(message)) {
            ++received;
        }
    });
    for (int i = 0; i < kPosts; ++i) {
        ThreadMessage message;
        message.id = WM_USER + 1;
        ASSERT_TRUE(queue.Post(std::move(message)));
        if (i % 50 == 0) {
            std::this_thread::sleep_for(std::chrono::microseconds(200));  // lets it fall asleep
        }
    }
    queue.PostQuit();
    reader.join();
    EXPECT_EQ(received.load(), kPosts);
}

TEST(ParkingWord, ATimedSleepEndsAtItsDeadlineAndReportsTheTimeOut) {
    const SleepingWaitsInThisTest sleeping;
    ParkingWord word;
    const auto start = Clock::now();
    EXPECT_FALSE(word.WaitUntil([&] { return word.Value() != 0; }, 40));
    const auto took = Clock::now() - start;
    EXPECT_GE(took, milliseconds(39));
    EXPECT_LT(took, milliseconds(1000));
    word.Publish(7, ParkingWord::Wake::All);
    EXPECT_TRUE(word.WaitUntil([&] { return word.Value() == 7; }, 0));
}

}  // namespace
}  // namespace tavlin
