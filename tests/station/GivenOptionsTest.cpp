// Both command lines are read with one table: what each program takes, what it leaves, and
// what it refuses.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "station/GivenOptions.h"

namespace tavlin::station {
namespace {

using ::testing::ElementsAre;
using Kind = OptionProblem::Kind;

struct Read {
    GivenOptions given;
    std::vector<OptionProblem> problems;
};

Read ReadWords(const std::vector<std::string>& words, unsigned frontEnd) {
    Read read;
    read.problems = TakeOptions(words, frontEnd, &read.given);
    return read;
}

// A word is a problem for one program and left alone or taken by the other; the problem names
// the option (or the word) and comes with the first such word.
TEST(GivenOptions, WhatEachProgramRefuses) {
    struct Case {
        std::vector<std::string> words;
        unsigned frontEnd;
        Kind kind;
        std::string named;  // the option, or the word for an unknown one
        std::string value;  // BadValue: the value turned down
    };
    const Case cases[] = {
        {{"-x"}, kWindow, Kind::Unknown, "-x", ""},
        {{"--simulate", "--bogus=1"}, kWindow, Kind::Unknown, "--bogus", ""},
        {{"--json"}, kWindow, Kind::Unknown, "--json", ""},
        {{"--engineering=yes"}, kWindow, Kind::TakesNoValue, "--engineering", ""},
        {{"--check-calibration=1"}, kWindow, Kind::TakesNoValue, "--check-calibration", ""},
        {{"--simulate", "--log-dir"}, kWindow, Kind::NoValue, "--log-dir", ""},
        {{"versions", "--replay"}, kCli, Kind::NoValue, "--replay", ""},
        {{"--record=", "--replay="}, kCli, Kind::EmptyValue, "--record", ""},
        {{"--device", "", "list"}, kBothFrontEnds, Kind::EmptyValue, "--device", ""},
        {{"--check-tolerance=0"}, kWindow, Kind::BadValue, "--check-tolerance", "0"},
        {{"--check-tolerance", "50.1"}, kWindow, Kind::BadValue, "--check-tolerance", "50.1"},
        {{"--check-tolerance=nan"}, kWindow, Kind::BadValue, "--check-tolerance", "nan"},
        {{"--check-tolerance=2mm"}, kWindow, Kind::BadValue, "--check-tolerance", "2mm"},
        {{"--screen-size=527"}, kWindow, Kind::BadValue, "--screen-size", "527"},
    };
    for (const Case& c : cases) {
        const Read read = ReadWords(c.words, c.frontEnd);
        ASSERT_FALSE(read.problems.empty()) << c.words.front();
        const OptionProblem& first = read.problems.front();
        EXPECT_EQ(first.kind, c.kind) << c.words.front();
        const std::string named =
            first.option != nullptr ? std::string(first.option->name) : first.word;
        EXPECT_EQ(named, c.named) << c.words.front();
        if (c.kind == Kind::BadValue) {
            EXPECT_EQ(first.word, c.value);
        }
    }
    // What the window refuses, the CLI leaves to its command: a command's own option, a word
    // that only looks like one, and a window-only option.
    const Read cli = ReadWords({"level", "--frames", "3", "-x", "--json=1", "--engineering"}, kCli);
    EXPECT_TRUE(cli.problems.empty());
    EXPECT_THAT(cli.given.rest(),
                ElementsAre("level", "--frames", "3", "-x", "--json=1", "--engineering"));
    EXPECT_FALSE(cli.given.has(OptionId::Engineering));
}

TEST(GivenOptions, ValuesInEveryFormTheLastOneCounting) {
    const Read read = ReadWords({"--log-dir", "a", "--check-tolerance=1.5", "--log-dir=b", "-h",
                                 "--device", "--simulate", "--check-calibration"},
                                kWindow);
    EXPECT_TRUE(read.problems.empty());
    EXPECT_EQ(read.given.value(OptionId::LogDir), "b");
    EXPECT_EQ(read.given.value(OptionId::CheckTolerance), "1.5");
    // A value is the word after its option, whatever it looks like.
    EXPECT_EQ(read.given.value(OptionId::Device), "--simulate");
    EXPECT_FALSE(read.given.has(OptionId::Simulate));
    EXPECT_TRUE(read.given.has(OptionId::Help));
    EXPECT_TRUE(read.given.has(OptionId::CheckCalibration));
    EXPECT_FALSE(read.given.has(OptionId::Engineering));
    EXPECT_TRUE(read.given.rest().empty());
}

// --all's copies get what reaches a device, as --name=VALUE in the table's order; never the
// parent's own --all, --json, --log-dir or --device.
TEST(GivenOptions, WhatCopiesAreHanded) {
    const Read read = ReadWords({"--replay-pace", "recorded", "--json", "--device", "d", "--all",
                                 "--record", "-r.trace", "--log-dir=l", "versions", "--simulate"},
                                kCli);
    EXPECT_THAT(read.given.HandedToCopies(),
                ElementsAre("--simulate", "--record=-r.trace", "--replay-pace=recorded"));
    EXPECT_THAT(read.given.rest(), ElementsAre("versions"));
}

// Each copy keeps its own record and checks its own package: what decides where the record goes
// and which packages are taken reaches every copy, each trusted key included.
TEST(GivenOptions, CopiesKeepRecordsAndTrustPackagesAsTheParentWouldHave) {
    const Read read =
        ReadWords({"--all", "--require-signed", "--trusted-key", "a.pub", "--lot=L7", "--results",
                   "r.sqlite", "--trusted-key=b.pub", "--operator", "ann", "--require-record",
                   "--results-server=host=db", "update", "p.ini"},
                  kCli);
    EXPECT_THAT(read.given.HandedToCopies(),
                ElementsAre("--results=r.sqlite", "--results-server=host=db", "--operator=ann",
                            "--lot=L7", "--require-record", "--trusted-key=a.pub",
                            "--trusted-key=b.pub", "--require-signed"));
    EXPECT_THAT(read.given.rest(), ElementsAre("update", "p.ini"));
}

// Each help text belongs to its own option: a paragraph handed to the wrong row would tell the
// user about another option.
TEST(OptionTable, EachCliParagraphTellsItsOwnOption) {
    for (const OptionRow& option : OptionTable()) {
        if (option.cliHelp != nullptr) {
            EXPECT_EQ(std::string(option.cliHelp).rfind(std::string(option.name) + " ", 0), 0u)
                << option.name;
        }
        EXPECT_EQ(FindOption(option.name, option.frontEnds), &option) << option.name;
    }
    EXPECT_EQ(FindOption("-h", kCli), &Option(OptionId::Help));
    EXPECT_EQ(FindOption("--engineering", kCli), nullptr);
    EXPECT_EQ(FindOption("--all", kWindow), nullptr);
}

}  // namespace
}  // namespace tavlin::station
