// The factory takes the transport options from the command line and refuses what cannot run
// before anything does.
#include <gmock/gmock.h>

#include "sim/SimTransport.h"
#include "trace/OptionValueTexts.h"
#include "trace/TraceTexts.h"
#include "trace/TransportFactory.h"

namespace tavlin::trace {
namespace {

using ::testing::HasSubstr;

TEST(TransportSwitch, TakesItsOwnArgumentsAndLeavesTheRest) {
    char a0[] = "tavlin", a1[] = "--simulate", a2[] = "-x", a3[] = "--sim-faults=refuse=6",
         a4[] = "file";
    char* argv[] = {a0, a1, a2, a3, a4, nullptr};
    int argc = 5;
    std::string problem;
    const TransportOptions o = ConsumeTransportOptions(&argc, argv, &problem);
    EXPECT_EQ(problem, "");
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
    std::string problem;
    const TransportOptions o = ConsumeTransportOptions(&argc, argv, &problem);
    EXPECT_EQ(problem, "");
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

// A value given empty (a station script's variable that came out empty) or missing at the end of
// the line is refused, naming the option; the first such option is the one named.
TEST(TransportOptions, AnEmptyOrMissingValueIsRefused) {
    struct Case {
        std::vector<std::string> args;
        const char* named;  // nullptr: accepted
    };
    const Case cases[] = {
        {{"--replay", "", "versions"}, "--replay"},
        {{"--replay=", "versions"}, "--replay"},
        {{"--record=", "--simulate", "versions"}, "--record"},
        {{"--simulate", "--sim-faults="}, "--sim-faults"},
        {{"--simulate", "--sim-devices", "", "list"}, "--sim-devices"},
        {{"--replay-pace="}, "--replay-pace"},
        {{"versions", "--replay"}, "--replay"},
        {{"--record=", "--replay="}, "--record"},
        {{"--simulate", "--sim-devices", "2", "--record", "r.trace", "versions"}, nullptr},
    };
    for (const Case& c : cases) {
        std::vector<std::string> words = c.args;
        words.insert(words.begin(), "tavlin-cli");
        std::vector<char*> argv;
        for (std::string& word : words) {
            argv.push_back(word.data());
        }
        argv.push_back(nullptr);
        int argc = static_cast<int>(words.size());
        std::string problem;
        ConsumeTransportOptions(&argc, argv.data(), &problem);
        if (c.named == nullptr) {
            EXPECT_EQ(problem, "") << c.args.front();
            continue;
        }
        std::string expected =
            c.args.back() == "--replay" ? optiontext::kNoValue : optiontext::kEmptyValue;
        expected.replace(expected.find("%s"), 2, c.named);
        EXPECT_EQ(problem, expected) << c.args.front();
        // Taken all the same: the option's word is never left for a command to read.
        for (int i = 1; i < argc; ++i) {
            EXPECT_NE(std::string(argv[i]).rfind(c.named, 0), 0u) << argv[i];
        }
    }
}

// What the values say together is checked by both front ends before anything runs.
TEST(TransportOptions, CombinationsAreCheckedBeforeAnythingRuns) {
    struct Case {
        TransportOptions options;
        const char* refusal;  // nullptr: accepted
    };
    auto sim = [](std::string devices, std::string faults = "") {
        TransportOptions o;
        o.simulate = true;
        o.simDevices = std::move(devices);
        o.simFaults = std::move(faults);
        return o;
    };
    auto replay = [](std::string file, std::string pace) {
        TransportOptions o;
        o.replay = std::move(file);
        o.replayPace = std::move(pace);
        return o;
    };
    TransportOptions faultsAlone;
    faultsAlone.simFaults = "refuse=6";
    TransportOptions devicesAlone;
    devicesAlone.simDevices = "2";
    // A replay takes the device's place: with anything that makes or records a device it is
    // refused, whichever of them is given.
    TransportOptions replayRecorded = replay("in.trace", "");
    replayRecorded.record = "out.trace";
    TransportOptions replaySimulated = replay("in.trace", "");
    replaySimulated.simulate = true;
    TransportOptions replayFaults = replay("in.trace", "");
    replayFaults.simFaults = "refuse=6";
    TransportOptions replayDevices = replay("in.trace", "");
    replayDevices.simDevices = "2";
    const Case cases[] = {
        {replay("", "recorded"), optiontext::kPaceWithoutReplay},
        {replay("", "immediate"), optiontext::kPaceWithoutReplay},
        {replay("in.trace", "recorded"), nullptr},
        {replay("in.trace", "fast"), kPaceValue},
        {replayRecorded, kReplayAlone},
        {replaySimulated, kReplayAlone},
        {replayFaults, kReplayAlone},
        {replayDevices, kReplayAlone},
        {faultsAlone, optiontext::kSimFaultsNeedSimulate},
        {devicesAlone, optiontext::kSimDevicesNeedSimulate},
        {sim("1"), nullptr},
        {sim("64"), nullptr},
        {sim("9"), nullptr},
        {sim("65"), "1 到 64 "},
        {sim("0"), "1 到 64 "},
        {sim("00"), "1 到 64 "},
        {sim("100"), "1 到 64 "},
        {sim("x"), "1 到 64 "},
        {sim("3x"), "1 到 64 "},
        {sim("", "refuse=6"), nullptr},
    };
    for (const Case& c : cases) {
        std::string error;
        const bool ok = CheckTransportOptions(c.options, &error);
        const std::string what = c.options.simDevices + "|" + c.options.replayPace;
        EXPECT_EQ(ok, c.refusal == nullptr) << what << ": " << error;
        if (c.refusal != nullptr) {
            EXPECT_THAT(error, HasSubstr(c.refusal)) << what;
            // The factory refuses the same, so a front end that forgot to ask cannot run it.
            std::string again;
            EXPECT_FALSE(CreateTransport(c.options, &again)) << what;
            EXPECT_EQ(again, error);
        }
    }
    std::string error;
    CreatedTransport station = CreateTransport(sim("3"), &error);
    ASSERT_TRUE(station) << error;
}

}  // namespace
}  // namespace tavlin::trace
