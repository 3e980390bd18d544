#include "platform/CommandLine.h"

#include <gtest/gtest.h>

#include <cstring>

namespace tavlin {
namespace {

TEST(Utf8Arguments, GivesArgvThatFunctionsMayShortenAndThatEndsInNull) {
    Utf8Arguments arguments(std::vector<std::string>{"tavlin-cli", "--log-dir", "日志"});
    ASSERT_EQ(arguments.argc(), 3);
    EXPECT_STREQ(arguments.argv()[2], "日志");
    EXPECT_EQ(arguments.argv()[3], nullptr);
    arguments.argc() = 1;  // as an option parser that took the rest does
    EXPECT_EQ(arguments.all().size(), 3u);
}

#ifdef _WIN32
// The wide arguments become UTF-8 whatever the ANSI code page, also for names it cannot hold.
TEST(Utf8Arguments, TakesTheWideArgumentsAsUtf8) {
    wchar_t program[] = L"tavlin-cli.exe";
    wchar_t chinese[] = L"\u65e5\u5fd7";
    wchar_t cyrillic[] = L"\u0436\u0443\u0440\u043d\u0430\u043b";
    wchar_t* argv[] = {program, chinese, cyrillic, nullptr};
    Utf8Arguments arguments(3, argv);
    EXPECT_EQ(arguments.all(), (std::vector<std::string>{"tavlin-cli.exe", "日志", "журнал"}));
}

TEST(Utf8Arguments, ReadsTheProcessCommandLine) {
    const Utf8Arguments arguments = Utf8Arguments::OfProcess();
    ASSERT_FALSE(arguments.all().empty());
    EXPECT_NE(arguments.all()[0].find("platform_tests"), std::string::npos);
}
#endif

}  // namespace
}  // namespace tavlin
