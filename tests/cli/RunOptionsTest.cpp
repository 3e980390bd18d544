// The CLI's options: taken out of the arguments wherever they stand, and a log folder that is
// made when missing and refused when it cannot be written.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#ifdef __linux__
#include <sys/resource.h>

#include <csignal>
#endif
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "base/Log.h"
#include "base/LogFolder.h"
#include "cli/RunOptions.h"
#include "station/OptionTexts.h"

namespace tavlin::cli {
namespace {

using ::testing::HasSubstr;

TEST(RunOptions, AreTakenOutWhereverTheyStand) {
    struct Case {
        std::vector<std::string> args;
        bool json;
        bool all;
        std::string logDir;
        std::string device;
        std::vector<std::string> command;
    };
    const Case cases[] = {
        {{"--json", "read", "--log-dir", "logs", "0x10"},
         true,
         false,
         "logs",
         "",
         {"read", "0x10"}},
        {{"versions", "--log-dir=/var/log/station"},
         false,
         false,
         "/var/log/station",
         "",
         {"versions"}},
        {{"--all", "update", "--device=1-1.4", "pkg.ini"},
         false,
         true,
         "",
         "1-1.4",
         {"update", "pkg.ini"}},
        // A command's own options, and words that only look like options, are the command's.
        {{"level", "--frames", "3", "-x", "--json=1"},
         false,
         false,
         "",
         "",
         {"level", "--frames", "3", "-x", "--json=1"}},
    };
    for (const Case& c : cases) {
        RunOptions options;
        std::vector<std::string> command;
        std::string error;
        ASSERT_TRUE(ReadRunOptions(c.args, &options, &command, &error)) << error;
        EXPECT_EQ(options.json, c.json) << c.args[0];
        EXPECT_EQ(options.all, c.all) << c.args[0];
        EXPECT_EQ(options.logDir, c.logDir) << c.args[0];
        EXPECT_EQ(options.device, c.device) << c.args[0];
        EXPECT_EQ(command, c.command) << c.args[0];
    }

    // A folder-less --log-dir or a port-less --device is a usage error in its own words, and
    // --json is still known for its object; the transport's options name themselves.
    struct Bad {
        std::vector<std::string> args;
        std::string error;
    };
    const Bad bad[] = {
        {{"--json", "detect", "--log-dir"}, options::kLogDirTakesFolder},
        {{"--json", "--log-dir="}, options::kLogDirTakesFolder},
        {{"--json", "--device"}, options::kDeviceTakesPort},
        {{"--json", "--device", ""}, options::kDeviceTakesPort},
        {{"--json", "versions", "--replay"}, "选项 --replay 缺少值"},
        {{"--json", "--record=", "--replay="}, "选项 --record 的值为空"},
    };
    for (const Bad& b : bad) {
        RunOptions options;
        std::vector<std::string> command;
        std::string error;
        EXPECT_FALSE(ReadRunOptions(b.args, &options, &command, &error));
        EXPECT_TRUE(options.json);
        EXPECT_EQ(error, b.error);
    }
}

class LogFolderTest : public ::testing::Test {
  protected:
    LogFolderTest()
        : dir(std::filesystem::temp_directory_path() /
              ("tavlin-logdir-" + std::to_string(::getpid()))) {
        std::filesystem::create_directories(dir);
    }
    ~LogFolderTest() override {
        SetLogFilePath("Tavlin_log.txt");
        std::filesystem::remove_all(dir);
    }
    std::filesystem::path dir;
};

TEST_F(LogFolderTest, AMissingFolderIsMadeAndTheLogLandsThere) {
    const std::filesystem::path folder = dir / "station" / "logs";
    std::string message;
    ASSERT_TRUE(UseLogFolder(folder.string(), &message));
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    LogStart();
    WriteLog("one entry\n");
    std::ifstream in(folder / "Tavlin_log.txt");
    std::string first;
    std::getline(in, first);
    EXPECT_THAT(first, HasSubstr("Tavlin log start!"));
    // The check that the folder takes a file leaves nothing behind: the log and the lock that
    // keeps its name for this run are all there is.
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    EXPECT_EQ(names, (std::set<std::string>{"Tavlin_log.txt", "Tavlin_log.txt.lock"}));
}

// A path under a regular file can be neither made nor written, not even by root.
TEST_F(LogFolderTest, AFolderThatCannotBeWrittenIsRefusedAndTheLogStaysWhereItWas) {
    std::ofstream(dir / "file") << "x";
    SetLogFilePath((dir / "before.txt").string());
    std::string message;
    const Result result = UseLogFolder((dir / "file" / "sub").string(), &message);
    EXPECT_EQ(result.code(), ResultCode::BadInput);
    EXPECT_THAT(message, HasSubstr("无法写入日志文件夹 " + (dir / "file" / "sub").string()));
    EXPECT_EQ(LogFilePath(), (dir / "before.txt").string());
#ifdef __linux__
    // A folder that is there but takes no file.
    EXPECT_FALSE(UseLogFolder("/proc", &message));
    EXPECT_EQ(LogFilePath(), (dir / "before.txt").string());
#endif
    // A folder named with %s in it: the message holds the whole name and the reason.
    const std::string odd = (dir / "file" / "a%sb").string();
    EXPECT_FALSE(UseLogFolder(odd, &message));
    EXPECT_THAT(message, HasSubstr("无法写入日志文件夹 " + odd + "（"));
    EXPECT_THAT(message, HasSubstr("Not a directory"));
}

#ifdef __linux__
// A folder that takes a new file but not what is written to it (a full disk): the probe writes
// a whole entry, so the run is refused instead of going on with an empty log.
TEST_F(LogFolderTest, AFolderOnAFullDiskIsRefused) {
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit full = saved;
    full.rlim_cur = 0;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &full), 0);
    std::string message;
    const Result result = UseLogFolder((dir / "full").string(), &message);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    EXPECT_EQ(result.code(), ResultCode::BadInput);
    EXPECT_THAT(message, HasSubstr("无法写入日志文件夹 " + (dir / "full").string()));
}
#endif

}  // namespace
}  // namespace tavlin::cli
