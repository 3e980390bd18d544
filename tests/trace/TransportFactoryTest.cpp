// The factory takes the transport options from the command line and refuses what cannot run
// before anything does.
#include <gmock/gmock.h>

#include "sim/SimTransport.h"
#include "trace/TransportFactory.h"

namespace tavlin::trace {
namespace {

using ::testing::HasSubstr;

TEST(TransportSwitch, TakesItsOwnArgumentsAndLeavesTheRest) {
    char a0[] = "tavlin", a1[] = "--simulate", a2[] = "-x", a3[] = "--sim-faults=refuse=6",
         a4[] = "file";
    char* argv[] = {a0, a1, a2, a3, a4, nullptr};
    int argc = 5;
    const TransportOptions o = ConsumeTransportOptions(&argc, argv);
    EXPECT_TRUE(o.simulate);
    EXPECT_EQ(o.simFaults, "refuse=6");
    ASSERT_EQ(argc, 3);
    EXPECT_STREQ(argv[1], "-x");
    EXPECT_STREQ(argv[2], "file");
    EXPECT_EQ(argv[3], nullptr);

    std::string error;
    CreatedTransport t = CreateTransport(o, &error);
    ASSERT_TRUE(t) << error;
    ASSERT_NE(t.sim, nullptr);
    EXPECT_EQ(t.sim->productId(), kProductIdWork);
    EXPECT_EQ(t.sim->faults().settings().refuseCodes.count(6), 1u);

    TransportOptions bad;
    bad.simulate = true;
    bad.simFaults = "refuse=x";
    EXPECT_FALSE(CreateTransport(bad, &error));
    EXPECT_THAT(error, HasSubstr("'refuse=x'"));
    bad.simulate = false;
    bad.simFaults = "refuse=6";
    EXPECT_FALSE(CreateTransport(bad, &error));
    EXPECT_THAT(error, HasSubstr("--simulate"));
}

// A session to record or replay is taken from the command line with the other transport
// options; what cannot run is refused before anything does.
TEST(TransportOptions, SessionRecordingsAreTakenAndCheckedBeforeAnythingRuns) {
    char a0[] = "tavlin-cli", a1[] = "--record=out.trace", a2[] = "--replay", a3[] = "in.trace",
         a4[] = "--replay-pace", a5[] = "recorded", a6[] = "versions";
    char* argv[] = {a0, a1, a2, a3, a4, a5, a6, nullptr};
    int argc = 7;
    const TransportOptions o = ConsumeTransportOptions(&argc, argv);
    EXPECT_EQ(o.record, "out.trace");
    EXPECT_EQ(o.replay, "in.trace");
    EXPECT_EQ(o.replayPace, "recorded");
    ASSERT_EQ(argc, 2);
    EXPECT_STREQ(argv[1], "versions");

    std::string error;
    TransportOptions both;
    both.simulate = true;
    both.replay = "in.trace";
    EXPECT_FALSE(CreateTransport(both, &error));
    EXPECT_THAT(error, HasSubstr("--replay"));

    TransportOptions pace;
    pace.replay = "in.trace";
    pace.replayPace = "fast";
    error.clear();
    EXPECT_FALSE(CreateTransport(pace, &error));
    EXPECT_THAT(error, HasSubstr("--replay-pace"));

    TransportOptions unwritable;
    unwritable.simulate = true;
    unwritable.record = "/proc/no-such-folder/session.trace";
    error.clear();
    EXPECT_FALSE(CreateTransport(unwritable, &error));
    EXPECT_THAT(error, HasSubstr(unwritable.record));
}

}  // namespace
}  // namespace tavlin::trace
