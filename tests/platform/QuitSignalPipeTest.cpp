#include "platform/QuitSignalPipe.h"

#include <gtest/gtest.h>

#include <csignal>

namespace tavlin {
namespace {

TEST(QuitSignalPipe, SignalsArriveAsBytesAndAreIgnoredOnceTheExitPathRan) {
    QuitSignalPipe pipe;
    ASSERT_TRUE(pipe.Open(QuitSignalPipe::Reading::Blocking));
    QuitSignalPipe second;
    EXPECT_FALSE(second.Open(QuitSignalPipe::Reading::Blocking)) << "handlers are global";

    std::raise(SIGTERM);
    std::raise(SIGINT);
    EXPECT_EQ(pipe.Next(), QuitSignalPipe::kSignalled);
    EXPECT_EQ(pipe.Next(), QuitSignalPipe::kSignalled);
    pipe.Send('e');
    EXPECT_EQ(pipe.Next(), 'e');

    pipe.Close(QuitSignalPipe::Afterwards::Ignore);
    std::raise(SIGTERM);  // would end the test program if it were not ignored
    std::signal(SIGTERM, SIG_DFL);
    std::signal(SIGINT, SIG_DFL);
}

TEST(QuitSignalPipe, ANonBlockingReaderEmptiesThePipeWithoutWaiting) {
    QuitSignalPipe pipe;
    ASSERT_TRUE(pipe.Open(QuitSignalPipe::Reading::NonBlocking));
    EXPECT_FALSE(pipe.Drain()) << "nothing came yet, and it does not wait";
    for (int i = 0; i < 3; ++i) {
        std::raise(SIGINT);
    }
    EXPECT_TRUE(pipe.Drain());
    EXPECT_FALSE(pipe.Drain()) << "all three were taken at once";
}

}  // namespace
}  // namespace tavlin
