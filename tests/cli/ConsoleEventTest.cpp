// The console handler as Windows calls it, on a thread of its own: Ctrl+C asks the run to stop
// and returns; closing the console, logging off and shutting down ask it to stop and hold the
// event until the run has ended, because Windows ends the process when the handler returns, but
// never past the bound.
#include <gtest/gtest.h>

#include <chrono>
#include <future>

#include "cli/QuitSignalWatch.h"

namespace tavlin::cli {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr unsigned long kCtrlC = 0;      // CTRL_C_EVENT
constexpr unsigned long kCtrlBreak = 1;  // CTRL_BREAK_EVENT
constexpr unsigned long kClose = 2;      // CTRL_CLOSE_EVENT
constexpr unsigned long kLogoff = 5;     // CTRL_LOGOFF_EVENT
constexpr unsigned long kShutdown = 6;   // CTRL_SHUTDOWN_EVENT

TEST(ConsoleEvents, CtrlCAndCtrlBreakAskToStopAndReturnAtOnce) {
    for (const unsigned long event : {kCtrlC, kCtrlBreak}) {
        Interruption interruption;
        QuitSignalWatch watch(interruption);
        const auto start = Clock::now();
        EXPECT_TRUE(QuitSignalWatch::HandleConsoleEvent(event, 5s)) << event;
        EXPECT_LT(Clock::now() - start, 1s) << event;
        EXPECT_TRUE(interruption.requested()) << event;
    }
}

class EndingEvent : public ::testing::TestWithParam<unsigned long> {};

TEST_P(EndingEvent, IsHeldUntilTheRunHasEnded) {
    Interruption interruption;
    QuitSignalWatch watch(interruption);
    auto handled = std::async(std::launch::async,
                              [] { return QuitSignalWatch::HandleConsoleEvent(GetParam(), 10s); });
    EXPECT_EQ(handled.wait_for(300ms), std::future_status::timeout)
        << "the handler returned while the run was still going";
    EXPECT_TRUE(interruption.requested());
    watch.RunEnded();
    ASSERT_EQ(handled.wait_for(2s), std::future_status::ready);
    EXPECT_TRUE(handled.get());
}

TEST_P(EndingEvent, IsHeldNoLongerThanTheBound) {
    Interruption interruption;
    QuitSignalWatch watch(interruption);
    const auto start = Clock::now();
    EXPECT_TRUE(QuitSignalWatch::HandleConsoleEvent(GetParam(), 200ms));
    const auto held = Clock::now() - start;
    EXPECT_GE(held, 190ms);
    EXPECT_LT(held, 2s);
}

INSTANTIATE_TEST_SUITE_P(CloseLogoffShutdown, EndingEvent,
                         ::testing::Values(kClose, kLogoff, kShutdown));

TEST(ConsoleEvents, WithoutAWatchTheNextHandlerDecides) {
    EXPECT_FALSE(QuitSignalWatch::HandleConsoleEvent(kClose, 1s));
    Interruption interruption;
    QuitSignalWatch watch(interruption);
    EXPECT_FALSE(QuitSignalWatch::HandleConsoleEvent(3, 1s)) << "an event of no meaning to us";
    EXPECT_FALSE(interruption.requested());
}

}  // namespace
}  // namespace tavlin::cli
