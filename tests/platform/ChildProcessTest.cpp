// Runs child_echo (ChildEcho.cpp), built beside this test, as the CLI runs a copy of itself per
// device: arguments, both pipes, the exit status, the interruption, a program that is not there.
#include "platform/ChildProcess.h"
#include "platform/FilePath.h"
#include "platform/ProgramPath.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/prctl.h>
#include <sys/wait.h>

#include <csignal>
#include <sstream>
#endif

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <future>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace tavlin {
namespace {

using namespace std::chrono_literals;

#ifdef _WIN32
constexpr const char* kExtension = ".exe";
#else
constexpr const char* kExtension = "";
#endif

std::string Beside(const std::string& name) {
    std::string path = CurrentProgramPath();
    path.erase(path.find_last_of("/\\") + 1);
    return path + name + kExtension;
}

// The running program's own file, whole: a name carrying what is left of the buffer it was
// read into still starts a copy (exec stops at the NUL), but is no file name to show or compare.
TEST(ProgramPath, IsTheProgramsOwnFile) {
    const std::string path = CurrentProgramPath();
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(path.find('\0'), std::string::npos);
    EXPECT_TRUE(std::filesystem::is_regular_file(PathFromUtf8(path))) << path;
    EXPECT_EQ(PathFromUtf8(path).stem().string(), "platform_tests") << path;
}

// The stderr lines as they come, for a test to wait for one.
class Lines {
  public:
    ChildProcess::LineSink Sink() {
        return [this](const std::string& line) {
            {
                std::lock_guard lock(mutex_);
                lines_.push_back(line);
            }
            changed_.notify_all();
        };
    }
    bool WaitFor(const std::string& line, std::chrono::milliseconds limit) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, limit, [&] {
            return std::find(lines_.begin(), lines_.end(), line) != lines_.end();
        });
    }
    std::vector<std::string> All() {
        std::lock_guard lock(mutex_);
        return lines_;
    }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::string> lines_;
};

// Waits at most `limit` for the child's end. One still going then is ended (by dropping it), so
// that a stall shows as a failure rather than as a hung test.
std::optional<int> WaitAtMost(std::unique_ptr<ChildProcess>& child,
                              std::chrono::milliseconds limit) {
    ChildProcess* const running = child.get();
    auto status = std::async(std::launch::async, [running] { return running->Wait(); });
    if (status.wait_for(limit) == std::future_status::ready) {
        return status.get();
    }
    child.reset();
    status.wait();
    return std::nullopt;
}

std::unique_ptr<ChildProcess> StartEcho(const std::vector<std::string>& arguments, Lines* lines) {
    std::string error;
    auto child = ChildProcess::Start(Beside("child_echo"), arguments,
                                     lines != nullptr ? lines->Sink() : nullptr, &error);
    EXPECT_NE(child, nullptr) << error;
    return child;
}

TEST(ChildProcess, EachArgumentArrivesWhole) {
    const std::vector<std::string> table = {
        "plain",
        "two words",
        "",
        "say \"hi\"",
        "\"",
        "a\\b\\c",
        "trailing\\",
        "trailing two\\\\",
        "back\\\"slash quote",
        "\\\\\"",
        "tab\there",
        "C:\\Program Files\\",
        "固件 路径\\",
        "--device=1400-4.2",
    };
    std::vector<std::string> arguments = {"echo"};
    arguments.insert(arguments.end(), table.begin(), table.end());
    auto child = StartEcho(arguments, nullptr);
    ASSERT_NE(child, nullptr);
    ASSERT_EQ(WaitAtMost(child, 10s), 0);

    std::string expected;
    for (const std::string& argument : table) {
        expected += argument + "\n";
    }
    EXPECT_EQ(child->StandardOutput(), expected);
}

TEST(ChildProcess, KeepsALargeOutputWholeWhileErrorsFlowToo) {
    constexpr size_t kBytes = 1 << 20;
    std::atomic<size_t> errorLines{0};
    std::string error;
    auto child = ChildProcess::Start(
        Beside("child_echo"), {"flood", std::to_string(kBytes)},
        [&](const std::string& line) {
            EXPECT_EQ(line, std::string(4095, 'e'));
            ++errorLines;
        },
        &error);
    ASSERT_NE(child, nullptr) << error;
    ASSERT_EQ(WaitAtMost(child, 10s), 0) << "stalled";
    EXPECT_EQ(child->StandardOutput(), std::string(kBytes, 'o'));
    EXPECT_EQ(errorLines, kBytes / 4096);
}

TEST(ChildProcess, HandsOnErrorLinesInOrderTheLastOneWithoutLineFeedToo) {
    Lines lines;
    auto child = StartEcho({"lines", "3"}, &lines);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(WaitAtMost(child, 10s), 3) << "its exit status";
    EXPECT_EQ(lines.All(),
              (std::vector<std::string>{"first line", "second line", "third", "no line feed"}));
    EXPECT_EQ(child->StandardOutput(), "");
}

TEST(ChildProcess, InterruptEndsTheChildThroughItsOwnHandler) {
    Lines lines;
    auto child = StartEcho({"wait", "5"}, &lines);
    ASSERT_NE(child, nullptr);
    ASSERT_TRUE(lines.WaitFor("ready", 10s));
    child->Interrupt();
    EXPECT_EQ(WaitAtMost(child, 10s), 5);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(child->StandardOutput(), "interrupted\n");
    child->Interrupt();  // after its end: nothing happens
    EXPECT_EQ(child->Wait(), 5);
}

#ifndef _WIN32
// A signal cannot wait for a Windows program to set up its handler; on POSIX it waits pending.
TEST(ChildProcess, AnInterruptBeforeTheChildsHandlerIsReadyWaitsForIt) {
    auto child = StartEcho({"wait", "6"}, nullptr);
    ASSERT_NE(child, nullptr);
    child->Interrupt();
    EXPECT_EQ(WaitAtMost(child, 10s), 6);
}

// A parent killed outright: its child is asked to stop as Interrupt would ask it and ends
// through its own handler, not 10 s later on its own. This process takes the orphan in (a
// subreaper) to see its exit status.
TEST(ChildProcess, AParentKilledOutrightAsksItsChildToStop) {
    ASSERT_EQ(::prctl(PR_SET_CHILD_SUBREAPER, 1), 0);
    Lines lines;
    auto parent = StartEcho({"parent", "7"}, &lines);
    ASSERT_NE(parent, nullptr);
    ASSERT_TRUE(lines.WaitFor("ready", 10s));
    pid_t parentId = 0;
    pid_t childId = 0;
    for (const std::string& line : lines.All()) {
        if (line.rfind("ids ", 0) == 0) {
            std::istringstream(line.substr(4)) >> parentId >> childId;
        }
    }
    ASSERT_GT(parentId, 0);
    ASSERT_GT(childId, 0);
    ::kill(parentId, SIGKILL);
    EXPECT_EQ(WaitAtMost(parent, 10s), -1);
    int status = 0;
    ASSERT_EQ(::waitpid(childId, &status, 0), childId);
    ::prctl(PR_SET_CHILD_SUBREAPER, 0);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 7) << "99: the child was never asked";
}
#endif

// A child that crashed must not pass for one that exited: its status is no exit status, and what
// ended it is named. One that exited, with any status, names nothing.
TEST(ChildProcess, AChildEndedByAFaultIsToldFromOneThatExited) {
#ifdef _WIN32
    const std::string fault = "STATUS_ACCESS_VIOLATION";
#else
    const std::string fault = "SIGKILL";
#endif
    struct Case {
        std::vector<std::string> arguments;
        int status;
        std::string ending;
        std::string output;
    };
    const Case cases[] = {
        {{"echo", "x"}, 0, "", "x\n"},
        {{"lines", "3"}, 3, "", ""},
        {{"die"}, -1, fault, "dying\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.front());
        auto child = StartEcho(c.arguments, nullptr);
        ASSERT_NE(child, nullptr);
        EXPECT_EQ(WaitAtMost(child, 10s), c.status);
        ASSERT_NE(child, nullptr);
        EXPECT_EQ(child->EndingSignal(), c.ending);
        EXPECT_EQ(child->StandardOutput(), c.output);
    }
}

TEST(ChildProcess, AProgramThatIsNotThereGivesNoChildAndSaysWhy) {
    std::string error;
    EXPECT_EQ(ChildProcess::Start(Beside("no_such_program"), {}, nullptr, &error), nullptr);
    EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace tavlin
