#include "base/Log.h"
#include "platform/FileLock.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <sstream>
#include <thread>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace tavlin {
namespace {

namespace fs = std::filesystem;

std::string Slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class LogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("tavlin_log_" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        SetLogFilePath((dir_ / "Tavlin_log.txt").string());
        SetLogClock([] {
            std::tm t{};
            t.tm_year = 2026 - 1900;
            t.tm_mon = 2;
            t.tm_mday = 7;
            t.tm_hour = 9;
            t.tm_min = 5;
            t.tm_sec = 3;
            return t;
        });
    }
    void TearDown() override {
        SetLogClock({});
        SetLogFilePath("Tavlin_log.txt");
        fs::permissions(dir_, fs::perms::owner_all);
        fs::remove_all(dir_);
    }
    std::string Log() const { return Slurp(dir_ / "Tavlin_log.txt"); }
    fs::path dir_;
};

TEST_F(LogTest, PrefixOfSeventhMarch) {
    WriteLog("Open hid device success!\n");
    EXPECT_EQ(Log(), "(2026-3-7 09:05:03) Open hid device success!\n");
}

TEST_F(LogTest, StartEmptiesAndEndAppends) {
    WriteLog("left over from an earlier run\n");
    LogStart();
    WriteLog("ret=%d,g_isWorkSwitchSuc=%d\n,", 258, 0);
    LogEnd();
    EXPECT_EQ(Log(),
              "(2026-3-7 09:05:03) Tavlin log start!\n"
              "(2026-3-7 09:05:03) ret=258,g_isWorkSwitchSuc=0\n,"
              "(2026-3-7 09:05:03) Tavlin log end!\n");
}

TEST_F(LogTest, StartKeepsFivePreviousRuns) {
    for (int run = 1; run <= 7; ++run) {
        LogStart();
        WriteLog("run %d\n", run);
    }
    EXPECT_NE(Log().find("run 7"), std::string::npos);
    EXPECT_NE(Slurp(dir_ / "Tavlin_log.1.txt").find("run 6"), std::string::npos);
    EXPECT_NE(Slurp(dir_ / "Tavlin_log.5.txt").find("run 2"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir_ / "Tavlin_log.6.txt"));
}

// Another run owns the log's name: this one leaves that log and the kept ones alone, writes
// its own under another name and says which. (The processes' end-to-end check is the CLI's.)
// Its own is named by its process id before the extension, so that it still opens as a text file
// and sorts beside the log; one a dead run of the same id left is not taken over.
TEST_F(LogTest, ALogOwnedByAnotherRunIsNeitherRotatedNorEmptied) {
    const std::string id = std::to_string(::getpid());
    for (const bool leftOver : {false, true}) {
        SCOPED_TRACE(leftOver ? "a dead run's log of the same id" : "first");
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        SetLogFilePath((dir_ / "Tavlin_log.txt").string());
        WriteLog("the other run\n");
        if (leftOver) {
            std::ofstream(dir_ / ("Tavlin_log-" + id + ".txt")) << "left over\n";
        }
        FileLock other;
        ASSERT_EQ(other.TryLock((dir_ / "Tavlin_log.txt.lock").string()),
                  FileLock::Outcome::Locked);
        LogStart();
        LogEnd();
        EXPECT_EQ(Log(), "(2026-3-7 09:05:03) the other run\n");
        EXPECT_FALSE(fs::exists(dir_ / "Tavlin_log.1.txt"));
        const fs::path own = LogFilePath();
        EXPECT_EQ(own, dir_ / ("Tavlin_log-" + id + (leftOver ? "-2" : "") + ".txt"));
        EXPECT_EQ(Slurp(own),
                  "(2026-3-7 09:05:03) Tavlin log start!\n(2026-3-7 09:05:03) Tavlin log end!\n");
    }
}

#ifndef _WIN32
// Runs `step` and fails, ending the program, if it still runs after a few seconds: a log that
// opens a FIFO waits for a reader for ever, and the test could not go on.
template <typename Step>
void WithinSeconds(Step step) {
    auto done = std::async(std::launch::async, step);
    if (done.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
        ADD_FAILURE() << "the log waits on a FIFO";
        std::_Exit(1);
    }
}

// A FIFO under the log's name takes no entry and holds nobody: the entries are lost, and the
// run can tell.
TEST_F(LogTest, AFifoUnderTheLogsNameLosesTheEntriesInsteadOfWaiting) {
    fs::remove(dir_ / "Tavlin_log.txt");
    ASSERT_EQ(::mkfifo((dir_ / "Tavlin_log.txt").c_str(), 0600), 0);
    WithinSeconds([] {
        LogStart();
        WriteLog("lost\n");
    });
    EXPECT_FALSE(LogComplete());
    EXPECT_FALSE(fs::exists(dir_ / "Tavlin_log.1.txt"));  // not taken for a run to keep
    EXPECT_TRUE(fs::is_fifo(dir_ / "Tavlin_log.txt"));
}

// The side name of a run whose log another run owns is taken by a FIFO: the next free name is
// used, as for a file left by a dead run.
TEST_F(LogTest, ASideNameTakenByAFifoIsPassedOver) {
    FileLock other;
    ASSERT_EQ(other.TryLock((dir_ / "Tavlin_log.txt.lock").string()), FileLock::Outcome::Locked);
    const std::string pid = std::to_string(::getpid());
    ASSERT_EQ(::mkfifo((dir_ / ("Tavlin_log-" + pid + ".txt")).c_str(), 0600), 0);
    WithinSeconds([] {
        LogStart();
        LogEnd();
    });
    EXPECT_EQ(fs::path(LogFilePath()), dir_ / ("Tavlin_log-" + pid + "-2.txt"));
    EXPECT_TRUE(LogComplete());
    EXPECT_EQ(Slurp(LogFilePath()),
              "(2026-3-7 09:05:03) Tavlin log start!\n(2026-3-7 09:05:03) Tavlin log end!\n");
}
#endif

TEST_F(LogTest, OverlongEntryIsCutNotOverrun) {
    const std::string path(600, 'p');
    WriteLog("Update FW: openfile dir:%s!\n", path.c_str());
    EXPECT_EQ(Log().size(), kLogBufferSize - 1);
    WriteLogSized(kHidLogBufferSize, "%s", path.c_str());
    EXPECT_EQ(Log().size(), kLogBufferSize - 1 + kHidLogBufferSize - 1);
}

TEST_F(LogTest, UnopenableFileDropsTheEntrySilently) {
    SetLogFilePath((dir_ / "no_such_dir" / "Tavlin_log.txt").string());
    WriteLog("lost\n");
    LogStart();
    LogEnd();
    EXPECT_FALSE(fs::exists(dir_ / "no_such_dir"));
}

#ifdef __linux__
// An entry that does not reach the file is dropped without stopping the program, but the run
// can tell its log is not whole; a new log starts whole again.
TEST_F(LogTest, AnEntryThatDoesNotReachTheFileMakesTheLogIncomplete) {
    LogStart();
    WriteLog("kept\n");
    EXPECT_TRUE(LogComplete());
    SetLogFilePath("/dev/full");  // opens, but takes nothing: a full disk
    WriteLog("lost\n");
    EXPECT_FALSE(LogComplete());
    SetLogFilePath((dir_ / "gone" / "Tavlin_log.txt").string());  // a folder removed meanwhile
    SetLogFilePath((dir_ / "Tavlin_log.txt").string());
    LogStart();
    EXPECT_TRUE(LogComplete());
    SetLogFilePath((dir_ / "gone" / "Tavlin_log.txt").string());
    WriteLog("lost\n");
    EXPECT_FALSE(LogComplete());
}
#endif

TEST_F(LogTest, EntriesOfDifferentThreadsNeverMix) {
    std::vector<std::thread> writers;
    for (int t = 0; t < 4; ++t) {
        writers.emplace_back([t] {
            for (int i = 0; i < 50; ++i) {
                WriteLog("thread %d entry %d with a longer tail to widen the window\n", t, i);
            }
        });
    }
    for (auto& w : writers) {
        w.join();
    }
    std::istringstream lines(Log());
    std::string line;
    int count = 0;
    while (std::getline(lines, line)) {
        ++count;
        EXPECT_EQ(line.rfind("(2026-3-7 09:05:03) thread ", 0), 0u) << line;
        EXPECT_NE(line.find("widen the window"), std::string::npos) << line;
    }
    EXPECT_EQ(count, 200);
}

}  // namespace
}  // namespace tavlin
