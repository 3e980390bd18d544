#include <gtest/gtest.h>

#include <sstream>

#include "console/NumberText.h"
#include "console/ScriptParser.h"

namespace tavlin {
namespace {

using Kind = ScriptCommand::Kind;
using Step = ScriptParser::Step;

struct Parsed {
    std::vector<Step> steps;
    std::vector<ScriptCommand> commands;
    std::string error;
};

// Runs the parser the way the runner does: one step per line, end of file tested after each.
Parsed Parse(const std::string& text) {
    std::istringstream in(text);
    ScriptParser parser(in);
    Parsed out;
    for (int guard = 0; guard < 1000; ++guard) {
        ScriptCommand command;
        const Step step = parser.Next(&command);
        out.steps.push_back(step);
        if (step == Step::Command) {
            out.commands.push_back(command);
        }
        if (step == Step::BadOperand) {
            out.error = parser.error();
            break;
        }
        if (step == Step::End || parser.AtEnd()) {
            break;
        }
    }
    return out;
}

TEST(StrToIntEx, DecimalUnlessPrefixedAndStopsAtFirstNonDigit) {
    uint32_t v = 0;
    ASSERT_TRUE(StrToIntEx("30", &v));
    EXPECT_EQ(v, 30u);
    ASSERT_TRUE(StrToIntEx("0x30", &v));
    EXPECT_EQ(v, 0x30u);
    ASSERT_TRUE(StrToIntEx("0X1fz", &v));
    EXPECT_EQ(v, 0x1Fu);
    ASSERT_TRUE(StrToIntEx("12ab", &v));
    EXPECT_EQ(v, 12u);
    ASSERT_TRUE(StrToIntEx("  \t7", &v));
    EXPECT_EQ(v, 7u);
    ASSERT_TRUE(StrToIntEx("-1", &v));
    EXPECT_EQ(v, 0xFFFFFFFFu);
    ASSERT_TRUE(StrToIntEx("4294967295", &v));
    EXPECT_EQ(v, 0xFFFFFFFFu);
}

TEST(StrToIntEx, NoNumberOrTooBigFailsAndLeavesTheOutputAlone) {
    for (const char* text : {"", "abc", "0x", "-", " x1", "0x100000000", "4294967296"}) {
        uint32_t v = 0xA5A5;
        EXPECT_FALSE(StrToIntEx(text, &v)) << text;
        EXPECT_EQ(v, 0xA5A5u) << text;
    }
}

TEST(ScriptParser, BlankLinesAndLineBreaksInsideACommandChangeNothing) {
    const Parsed p = Parse("\n\n1 pwd\n\n  10\n1\n 5A\n\n1\nsrd 3\n");
    ASSERT_EQ(p.commands.size(), 2u);
    EXPECT_EQ(p.commands[0].address, 0x10u);
    EXPECT_EQ(p.commands[0].count, 1u);
    EXPECT_EQ(p.commands[0].data, 0x5Au);
    EXPECT_EQ(p.commands[0].line, 3);
    EXPECT_EQ(p.commands[1].kind, Kind::SingleRead);
    EXPECT_EQ(p.commands[1].address, 3u);
}

TEST(ScriptParser, TextAfterTheLastOperandIsAComment) {
    const Parsed p = Parse("1 srd 10 then 1 pwd 1 1 1\n1 srd 11\r\n1 srd 12\r\n");
    ASSERT_EQ(p.commands.size(), 3u);
    EXPECT_EQ(p.commands[1].address, 0x11u);
    EXPECT_EQ(p.commands[2].address, 0x12u);
}

TEST(ScriptParser, UnknownAndWrongCaseKeywordsDoNothing) {
    const std::string longWord(64, 'k');
    const Parsed p = Parse("1 nop 1 2 3\n1 SRD 10\n1 " + longWord + " 1\n1 srd 4\n");
    EXPECT_EQ(p.steps[0], Step::Unknown);
    EXPECT_EQ(p.steps[1], Step::Unknown);
    EXPECT_EQ(p.steps[2], Step::Unknown);
    ASSERT_EQ(p.commands.size(), 1u);
    EXPECT_EQ(p.commands[0].address, 4u);
}

TEST(ScriptParser, ALongCommentLineIsDiscardedWhole) {
    const Parsed p = Parse("note " + std::string(600, '.') + " 1 pwd 1 1 1\n1 srd 2\n");
    ASSERT_EQ(p.commands.size(), 1u);
    EXPECT_EQ(p.commands[0].kind, Kind::SingleRead);
}

TEST(ScriptParser, EndOfFileRunsNothingMore) {
    // C's reading keeps the last keyword and operands when the next read meets the end, and
    // would write once more.
    Parsed p = Parse("1 pwd 10 1 5\n");
    EXPECT_EQ(p.commands.size(), 1u);
    EXPECT_EQ(p.steps.back(), Step::End);
    p = Parse("1 pwd 10 1 5");
    EXPECT_EQ(p.commands.size(), 1u);
    EXPECT_EQ(p.steps.size(), 1u);  // the end is seen after that line
    p = Parse("1 srd 4\n1");
    EXPECT_EQ(p.commands.size(), 1u);
}

TEST(ScriptParser, MissingOrBadOperandsStopWithTheLineNumber) {
    Parsed p = Parse("1 srd 7\n1 srd zz\n");
    EXPECT_EQ(p.commands.size(), 1u);
    EXPECT_EQ(p.error, "Script line 2: missing or bad operand, script stopped!\n");
    p = Parse("\n\n1 pwd 10 1\n");
    EXPECT_EQ(p.error, "Script line 3: missing or bad operand, script stopped!\n");
    EXPECT_TRUE(p.commands.empty());
    for (const char* bad :
         {"1 srd 100000000\n", "1 # 99999999999\n", "1 # x\n", "1 brd 10 4 name_of_16_bytes\n",
          "1 brd 10 4 ../x\n", "1 bwd x 10 4 f\n"}) {
        EXPECT_EQ(Parse(bad).steps.back(), Step::BadOperand) << bad;
    }
}

TEST(ScriptParser, CountsTheRequestsCannotCarryAreRefused) {
    for (const char* bad : {"1 pwd 10 2 5\n", "1 prd 10 0\n", "1 i2cwd 1000030 3 1\n",
                            "1 i2crd 1000030 2\n", "1 brd 10 81 f\n", "1 bwd 0 10 0 f\n"}) {
        const Parsed p = Parse(bad);
        EXPECT_EQ(p.error, "Script line 1: count out of range, script stopped!\n") << bad;
    }
    EXPECT_EQ(Parse("1 brd 10 80 f.bin\n").commands.size(), 1u);
}

TEST(ScriptParser, BurstWriteOperandsAfterTheDecimalAreAddressCountName) {
    const Parsed p = Parse("1 bwd 7 30 0x10 in.bin\n");
    ASSERT_EQ(p.commands.size(), 1u);
    EXPECT_EQ(p.commands[0].kind, Kind::BurstWrite);
    EXPECT_EQ(p.commands[0].address, 0x30u);
    EXPECT_EQ(p.commands[0].count, 0x10u);
    EXPECT_EQ(p.commands[0].fileName, "in.bin");
}

}  // namespace
}  // namespace tavlin
