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
    std::vector<std::string> warnings;  // "line: kind token"
};

const char* KindName(ScriptWarning::Kind kind) {
    switch (kind) {
        case ScriptWarning::Kind::UnknownCommand:
            return "unknown";
        case ScriptWarning::Kind::NotANumber:
            return "not a number";
        case ScriptWarning::Kind::Negative:
            return "negative";
    }
    return "?";
}

// Runs the parser the way the runner does: one step per line, end of file tested after each.
Parsed Parse(const std::string& text) {
    std::istringstream in(text);
    ScriptParser parser(in);
    Parsed out;
    for (int guard = 0; guard < 1000; ++guard) {
        ScriptCommand command;
        const Step step = parser.Next(&command);
        out.steps.push_back(step);
        for (const ScriptWarning& w : parser.warnings()) {
            out.warnings.push_back(std::to_string(w.line) + ": " + KindName(w.kind) + " " +
                                   w.token);
        }
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

// Lines that are read other than they are written keep their reading (stored scripts may rely
// on it) and are named; lines that say what they do are not.
TEST(ScriptParser, LinesNotReadAsWrittenAreWarnedOf) {
    struct Case {
        const char* script;
        std::vector<std::string> warnings;
        std::vector<uint32_t> values;  // the operand each command read acts on, in order
    };
    const Case cases[] = {
        // A typo for "pwd": nothing is written, the next line still runs.
        {"1 pwr 0x20 1 0x7E\n1 srd 5\n", {"1: unknown pwr"}, {5}},
        {"1 pwd 0x20 1 0xZZ\n", {"1: not a number 0xZZ"}, {0}},
        {"1 pwd 0x20 1 0x\n", {"1: not a number 0x"}, {0}},
        {"\n1 pwd 20 1 7E;set\n", {"2: not a number 7E;set"}, {0x7E}},
        {"1 srd 12g\n", {"1: not a number 12g"}, {0x12}},
        {"1 # 250ms\n", {"1: not a number 250ms"}, {250}},
        {"1 bwd 7x 30 10 in.bin\n", {"1: not a number 7x"}, {}},
        {"1 pwd 0x20 1 -1\n", {"1: negative -1"}, {0xFFFFFFFF}},
        {"1 i2cwd 1000030 1 -0x7\n", {"1: negative -0x7"}, {0xFFFFFFF9}},
        {"1 pwd 0x20 1 -1Z\n", {"1: not a number -1Z"}, {0xFFFFFFFF}},
        // A negative count is named, and still cannot run.
        {"1 prd 10 -1\n", {"1: negative -1"}, {}},
        {"1 brd 10 -4 f.bin\n", {"1: negative -4"}, {}},
        // Lines that do what they say.
        {"1 pwd 0x20 1 0x7E\n1 srd 0X10 ; read back\n1 # 5\n1 prd -10 1\n1 brd 0 0x80 f\n",
         {},
         {0x7E, 0x10, 5, 0xFFFFFFF0, 0x80}},
        {"1pwd 20 1 7E\n0 nop 1\n12abc pwd\nnote 1 nop\n1 srd 10\n", {}, {0x7E, 0x10}},
    };
    for (const Case& c : cases) {
        const Parsed p = Parse(c.script);
        EXPECT_EQ(p.warnings, c.warnings) << c.script;
        std::vector<uint32_t> values;
        for (const ScriptCommand& command : p.commands) {
            switch (command.kind) {
                case Kind::PortWrite:
                case Kind::I2cWrite:
                    values.push_back(command.data);
                    break;
                case Kind::BurstRead:
                case Kind::BurstWrite:
                    values.push_back(command.count);
                    break;
                case Kind::Delay:
                    values.push_back(static_cast<uint32_t>(command.delayMs));
                    break;
                default:
                    values.push_back(command.address);
            }
        }
        EXPECT_EQ(values, c.values) << c.script;
    }
}

// The operand read ahead for a warning is still there for the next read, as the C reading has it.
TEST(ScriptParser, AWarnedOperandLeavesTheRestOfTheLineAsItWas) {
    const Parsed p = Parse("1 pwd 1Z 1 5\n1 srd 3\n");
    EXPECT_EQ(p.warnings, std::vector<std::string>{"1: not a number 1Z"});
    EXPECT_EQ(p.error, "Script line 1: missing or bad operand, script stopped!\n");
    // A warning shows a bounded part of an operand, however long it is.
    const Parsed zeros = Parse("1 srd " + std::string(100000, '0') + "7Z\n");
    ASSERT_EQ(zeros.commands.size(), 1u);
    EXPECT_EQ(zeros.commands[0].address, 7u);
    EXPECT_EQ(zeros.warnings,
              std::vector<std::string>{"1: not a number " + std::string(63, '0') + "Z"});
    const Parsed ok = Parse("1 # 5x\n1 srd 3\n");
    ASSERT_EQ(ok.commands.size(), 2u);
    EXPECT_EQ(ok.commands[0].delayMs, 5);
    EXPECT_EQ(ok.commands[1].line, 2);
}

}  // namespace
}  // namespace tavlin
