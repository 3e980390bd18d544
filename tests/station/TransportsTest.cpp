// The factory takes the transport options from the command line and refuses what cannot run
// before anything does.
#include <gmock/gmock.h>

#include "sim/SimTransport.h"
#include "station/GivenOptions.h"
#include "station/OptionValueTexts.h"
#include "station/Transports.h"
#include "trace/TraceTexts.h"

namespace tavlin::station {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using trace::kPaceValue;
using trace::kReplayAlone;

// The transport's options as the CLI reads them (see GivenOptionsTest for the window).
TransportOptions Read(const std::vector<std::string>& words, std::vector<std::string>* rest,
                      std::vector<OptionProblem>* problems = nullptr) {
    GivenOptions given;
    std::vector<OptionProblem> found = TakeOptions(words, kCli, &given);
    *rest = given.rest();
    if (problems != nullptr) {
        *problems = std::move(found);
    }
    return TransportOptionsFrom(given);
}

TEST(TransportSwitch, TakesItsOwnArgumentsAndLeavesTheRest) {
    std::vector<std::string> rest;
    const TransportOptions o = Read({"--simulate", "-x", "--sim-faults=refuse=6", "file"}, &rest);
    EXPECT_TRUE(o.simulate);
    EXPECT_EQ(o.simFaults, "refuse=6");
    EXPECT_THAT(rest, ElementsAre("-x", "file"));

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
    std::vector<std::string> rest;
    const TransportOptions o = Read(
        {"--record=out.trace", "--replay", "in.trace", "--replay-pace", "recorded", "versions"},
        &rest);
    EXPECT_EQ(o.record, "out.trace");
    EXPECT_EQ(o.replay, "in.trace");
    EXPECT_EQ(o.replayPace, "recorded");
    EXPECT_THAT(rest, ElementsAre("versions"));

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
        std::vector<std::string> rest;
        std::vector<OptionProblem> problems;
        Read(c.args, &rest, &problems);
        if (c.named == nullptr) {
            EXPECT_TRUE(problems.empty()) << c.args.front();
            continue;
        }
        ASSERT_FALSE(problems.empty()) << c.args.front();
        EXPECT_EQ(problems.front().option->name, c.named) << c.args.front();
        EXPECT_EQ(problems.front().kind, c.args.back() == "--replay"
                                             ? OptionProblem::Kind::NoValue
                                             : OptionProblem::Kind::EmptyValue);
        // Taken all the same: the option's word is never left for a command to read.
        for (const std::string& word : rest) {
            EXPECT_NE(word.rfind(c.named, 0), 0u) << word;
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
    TransportOptions replayState = replay("in.trace", "");
    replayState.simState = "flash.state";
    TransportOptions stateAlone;
    stateAlone.simState = "flash.state";
    auto kept = [&sim](std::string devices, std::string faults = "") {
        TransportOptions o = sim(std::move(devices), std::move(faults));
        o.simState = "flash.state";
        return o;
    };
    const Case cases[] = {
        {replay("", "recorded"), optiontext::kPaceWithoutReplay},
        {replay("", "immediate"), optiontext::kPaceWithoutReplay},
        {replay("in.trace", "recorded"), nullptr},
        {replay("in.trace", "fast"), kPaceValue},
        {replayRecorded, kReplayAlone},
        {replaySimulated, kReplayAlone},
        {replayFaults, kReplayAlone},
        {replayDevices, kReplayAlone},
        {replayState, kReplayAlone},
        {stateAlone, optiontext::kSimStateNeedSimulate},
        {kept("2"), optiontext::kSimStateOneDevice},
        {kept("", "device=sim-1,refuse=6"), optiontext::kSimStateOneDevice},
        {kept("1", "refuse=6"), nullptr},
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
}  // namespace tavlin::station
