// The stop request that SIGINT and SIGTERM become: who gets told, and when.
#include <gtest/gtest.h>

#include "cli/Interruption.h"

namespace tavlin::cli {
namespace {

TEST(Interruption, ARequestStopsTheWorkerOnceAndOnlyWhileItsHookLives) {
    Interruption interruption;
    int stops = 0;
    {
        const auto hook = interruption.OnRequest([&] { ++stops; });
        interruption.Request();
        interruption.Request();  // a second Ctrl+C
    }
    EXPECT_EQ(stops, 1);
    EXPECT_TRUE(interruption.requested());
}

// The signal may come between a worker's start and its hook: the hook must still stop it.
TEST(Interruption, AHookSetAfterTheRequestStopsAtOnce) {
    Interruption interruption;
    interruption.Request();
    int stops = 0;
    const auto hook = interruption.OnRequest([&] { ++stops; });
    EXPECT_EQ(stops, 1);
}

TEST(Interruption, AnEndedHookGivesTheStopBackToTheOneBefore) {
    Interruption interruption;
    int outer = 0, inner = 0;
    const auto outerHook = interruption.OnRequest([&] { ++outer; });
    {
        const auto innerHook = interruption.OnRequest([&] { ++inner; });
    }
    interruption.Request();
    EXPECT_EQ(inner, 0);
    EXPECT_EQ(outer, 1);
}

}  // namespace
}  // namespace tavlin::cli
