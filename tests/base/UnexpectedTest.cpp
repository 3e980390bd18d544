// An exception nobody expected ends the run in words: a message on stderr, a line in the log and
// exit status 1, whether it leaves a thread's body or reaches std::terminate.
#include "base/Unexpected.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "base/Log.h"

namespace tavlin {
namespace {

class UnexpectedDeathTest : public ::testing::Test {
  protected:
    void SetUp() override {
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        log_ = (std::filesystem::temp_directory_path() /
                ("tavlin_unexpected_" +
                 std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
                 ".txt"))
                   .string();
        std::filesystem::remove(log_);
        SetLogFilePath(log_);
    }
    void TearDown() override {
        SetLogFilePath("Tavlin_log.txt");
        std::filesystem::remove(log_);
    }
    std::string Log() const {
        std::ifstream in(log_, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    std::string log_;
};

void ThrowInAThread(bool guarded) {
    std::thread thread([guarded] {
        const auto body = [] { throw std::runtime_error("the link broke"); };
        if (guarded) {
            RunGuarded(body);
        } else {
            body();  // no edge of ours: std::terminate
        }
    });
    thread.join();
}

TEST_F(UnexpectedDeathTest, AnExceptionLeavingAThreadEndsTheRunWithStatus1) {
    EXPECT_EXIT(ThrowInAThread(true), ::testing::ExitedWithCode(1), "tavlin: .*the link broke");
    EXPECT_NE(Log().find("Unexpected error, the run ends: the link broke"), std::string::npos)
        << Log();
}

TEST_F(UnexpectedDeathTest, TerminateEndsTheRunWithStatus1AndTheMessage) {
    EXPECT_EXIT(
        {
            InstallUnexpectedTerminate();
            ThrowInAThread(false);
        },
        ::testing::ExitedWithCode(1), "tavlin: .*the link broke");
    EXPECT_NE(Log().find("the link broke"), std::string::npos) << Log();
}

TEST_F(UnexpectedDeathTest, TheFrontEndReportsOnceAndSaysItsOwnWords) {
    EXPECT_EXIT(
        {
            SetUnexpectedReport([](const std::string& what) {
                std::fprintf(stderr, "front end: %s\n", what.c_str());
            });
            ReportUnexpected("first");
            ReportUnexpected("second");  // another thread, the same failure: logged only
            std::fflush(stderr);
            std::exit(ReportUnexpected("third") ? 3 : 1);
        },
        ::testing::ExitedWithCode(1), "front end: first\n$");
    EXPECT_NE(Log().find("Unexpected error, the run ends: second"), std::string::npos) << Log();
}

// A text of the C++ library may carry bytes of the ANSI code page: what is reported is UTF-8.
TEST(Unexpected, TheExceptionTextIsUtf8) {
    try {
        throw std::runtime_error("\xC8\xD5 ok");
    } catch (...) {
        EXPECT_EQ(CurrentExceptionText(), "\xEF\xBF\xBD\xEF\xBF\xBD ok");
    }
    try {
        throw 7;
    } catch (...) {
        EXPECT_EQ(CurrentExceptionText(), "unknown exception");
    }
}

}  // namespace
}  // namespace tavlin
