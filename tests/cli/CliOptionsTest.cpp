// The commands' own arguments and the choice of a device by its port: what is refused, and in
// which words (the built-in texts: no language is loaded here).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "cli/CliArgs.h"
#include "cli/RecordTexts.h"
#include "cli/UsageTexts.h"
#include "station/OptionValueTexts.h"

namespace tavlin::cli {
namespace {

std::string Filled(const char* text, const std::string& value) {
    std::string out = text;
    out.replace(out.find("%s"), 2, value);
    return out;
}

// An empty word is refused whatever it stands for; a sub-option's empty value names the option,
// a command's empty operand the command.
TEST(CliArguments, AnEmptyWordIsRefusedAndNamed) {
    struct Case {
        std::vector<std::string> args;
        std::string error;
    };
    const Case cases[] = {
        {{"script", ""}, Filled(usage::kEmptyArgument, "script")},
        {{"fpga", ""}, Filled(usage::kEmptyArgument, "fpga")},
        {{"update", ""}, Filled(usage::kEmptyArgument, "update")},
        {{"write", "0x10", ""}, Filled(usage::kEmptyArgument, "write")},
        {{"write", "", "1"}, Filled(usage::kEmptyArgument, "write")},
        {{"read", "--i2c", ""}, Filled(usage::kEmptyArgument, "read")},
        {{"update", "p.ini", "--verify", ""}, Filled(usage::kEmptyArgument, "update")},
        {{"level", "--png", ""}, Filled(optiontext::kEmptyValue, "--png")},
        {{"level", "--frames", ""}, Filled(optiontext::kEmptyValue, "--frames")},
        {{"update", "p.ini", "--replug-timeout", ""},
         Filled(optiontext::kEmptyValue, "--replug-timeout")},
        {{"calibrate", "--screen", ""}, Filled(optiontext::kEmptyValue, "--screen")},
        {{"calibrate", "--target-limit", ""}, Filled(optiontext::kEmptyValue, "--target-limit")},
        {{"layout", ""}, Filled(usage::kEmptyArgument, "layout")},
    };
    for (const Case& c : cases) {
        Invocation invocation;
        std::string error;
        EXPECT_FALSE(ParseInvocation(c.args, &invocation, &error)) << c.args[0];
        EXPECT_EQ(error, c.error) << c.args[0];
    }
}

// The other usage errors in the program's own words, filled in.
TEST(CliArguments, UsageErrorsComeFromTheTextTable) {
    struct Case {
        std::vector<std::string> args;
        std::string error;
    };
    const Case cases[] = {
        {{}, usage::kNoCommand},
        {{"bogus"}, Filled(usage::kUnknownCommand, "bogus")},
        {{"detect", "x"}, Filled(usage::kTakesNoArgument, "detect")},
        {{"script"}, Filled(usage::kTakesOneArgument, "script")},
        {{"write", "0x10"}, "'write' 需要 2 个参数"},
        {{"mode", "fast"}, Filled(usage::kModeWord, "fast")},
        {{"read", "zz"}, Filled(usage::kNotAnAddress, "zz")},
        {{"update"}, usage::kUpdateNeedsPackage},
        {{"update", "p.ini", "q.ini"}, Filled(usage::kUpdateArgument, "q.ini")},
        {{"update", "p.ini", "--replug-timeout", "0"}, usage::kReplugTimeout},
        {{"update", "--resume", "p.ini"}, usage::kResumeTakesNoPackage},
        {{"update", "p.ini", "--resume"}, usage::kResumeTakesNoPackage},
        {{"level", "--frames", "0"}, Filled(usage::kFrames, "0")},
        {{"level", "--png"}, Filled(usage::kLevelOption, "--png")},
        {{"layout"}, usage::kLayoutArgument},
        {{"layout", "1920by1080"}, Filled(usage::kScreenSize, "1920by1080")},
        {{"calibrate", "--screen"}, usage::kCalibrateOptions},
        {{"calibrate", "--target-limit", "0"}, Filled(usage::kSeconds, "0")},
        {{"results", "--last", "0"}, Filled(recordtext::kResultsLast, "0")},
        {{"results", "--since", "2026-13-01"}, Filled(recordtext::kResultsSince, "2026-13-01")},
        {{"results", "--since", "yesterday"}, Filled(recordtext::kResultsSince, "yesterday")},
        {{"results", "--last"}, Filled(recordtext::kResultsOption, "--last")},
        {{"results", "export"}, Filled(recordtext::kResultsOption, "export")},
        {{"results", "export", "a.json", "b.json"}, Filled(recordtext::kResultsOption, "b.json")},
        {{"results", "--csv", "x.csv"}, Filled(recordtext::kResultsOption, "--csv")},
    };
    for (const Case& c : cases) {
        Invocation invocation;
        std::string error;
        EXPECT_FALSE(ParseInvocation(c.args, &invocation, &error))
            << (c.args.empty() ? "" : c.args[0]);
        EXPECT_EQ(error, c.error);
    }
    Invocation version;
    std::string error;
    ASSERT_TRUE(ParseInvocation({"--version"}, &version, &error)) << error;
    EXPECT_EQ(version.command, Command::Version);
    // Windows and Linux tell exit status 4 each their own way; the rest is one text.
    const std::string text = UsageText();
    EXPECT_EQ(text.rfind(std::string(usage::kUsageHeading) + "  tavlin-cli [--simulate", 0), 0u);
#ifdef _WIN32
    const std::string end = std::string(usage::kUsageEnd) + usage::kExitNoAccessWindows;
#else
    const std::string end = std::string(usage::kUsageEnd) + usage::kExitNoAccess;
#endif
    ASSERT_GE(text.size(), end.size());
    EXPECT_EQ(text.substr(text.size() - end.size()), end);
}

}  // namespace
}  // namespace tavlin::cli
