#include "platform/ProcessIdentity.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace tavlin {
namespace {

TEST(ProcessIdentityTest, OwnIdentityIsStable) {
    const std::string own = ProcessStartIdentity(CurrentProcessId());
    EXPECT_FALSE(own.empty());
    EXPECT_EQ(ProcessStartIdentity(CurrentProcessId()), own);
    EXPECT_FALSE(HostName().empty());
}

TEST(ProcessIdentityTest, NoProcessHasNone) {
    for (std::int64_t pid : {std::int64_t{0}, std::int64_t{-1}, std::int64_t{0x7FFFFFF0}}) {
        EXPECT_EQ(ProcessStartIdentity(pid), "") << pid;
    }
}

#ifndef _WIN32
TEST(ProcessIdentityTest, ChildHasItsOwnUntilItEnds) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        for (;;) {
            ::pause();
        }
    }
    const std::string identity = ProcessStartIdentity(child);
    EXPECT_FALSE(identity.empty());
    EXPECT_NE(identity, ProcessStartIdentity(CurrentProcessId()));
    ::kill(child, SIGKILL);
    // Ended but not yet collected counts as ended.
    for (int i = 0; i < 200 && !ProcessStartIdentity(child).empty(); ++i) {
        ::usleep(5000);
    }
    EXPECT_EQ(ProcessStartIdentity(child), "");
    ::waitpid(child, nullptr, 0);
    EXPECT_EQ(ProcessStartIdentity(child), "");
}
#endif

}  // namespace
}  // namespace tavlin
