// --json and --log-dir: taken out of the arguments wherever they stand, and a log folder that is
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

namespace tavlin::cli {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

TEST(RunOptions, AreTakenOutWhereverTheyStand) {
    std::vector<std::string> args{"--json", "read", "--log-dir", "logs", "0x10"};
    RunOptions options;
    std::string error;
    ASSERT_TRUE(ConsumeRunOptions(&args, &options, &error)) << error;
    EXPECT_TRUE(options.json);
    EXPECT_EQ(options.logDir, "logs");
    EXPECT_THAT(args, ElementsAre("read", "0x10"));

    args = {"versions", "--log-dir=/var/log/station"};
    options = {};
    ASSERT_TRUE(ConsumeRunOptions(&args, &options, &error));
    EXPECT_FALSE(options.json);
    EXPECT_EQ(options.logDir, "/var/log/station");
    EXPECT_THAT(args, ElementsAre("versions"));

    args = {"--all", "update", "--device=1-1.4", "pkg.ini"};
    options = {};
    ASSERT_TRUE(ConsumeRunOptions(&args, &options, &error));
    EXPECT_TRUE(options.all);
    EXPECT_EQ(options.device, "1-1.4");
    EXPECT_THAT(args, ElementsAre("update", "pkg.ini"));

    // A folder-less --log-dir is a usage error, and --json is still known for its object.
    for (std::vector<std::string> bad : {std::vector<std::string>{"--json", "detect", "--log-dir"},
                                         std::vector<std::string>{"--json", "--log-dir="},
                                         std::vector<std::string>{"--json", "--device"},
                                         std::vector<std::string>{"--json", "--device", ""}}) {
        options = {};
        const std::string& last = bad.back().empty() ? bad[bad.size() - 2] : bad.back();
        const std::string option = last.substr(0, last.find('='));
        EXPECT_FALSE(ConsumeRunOptions(&bad, &options, &error));
        EXPECT_TRUE(options.json);
        EXPECT_THAT(error, HasSubstr(option));
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
