// --all: what each device's copy is given, what is shown of its lines where there is no terminal,
// the log folders checked before any copy starts, and each device's outcome held against how
// its copy's process ended (device_run_stand_in, built beside this test, as the copies).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <string>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>
#endif

#include "base/FillText.h"
#include "base/StringTable.h"
#include "cli/AllDevices.h"
#include "cli/AllDevicesTexts.h"
#include "cli/CliDevices.h"
#include "cli/CliSession.h"
#include "cli/ProgressBoard.h"
#include "cli/RunOptions.h"
#include "cli/StationTexts.h"
#include "platform/FilePath.h"
#include "platform/ProgramPath.h"

namespace tavlin::cli {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

// Everything written to a temporary file, which is closed.
std::string Drain(std::FILE* out) {
    std::rewind(out);
    std::string text;
    for (int c = std::fgetc(out); c != EOF; c = std::fgetc(out)) {
        text += static_cast<char>(c);
    }
    std::fclose(out);
    return text;
}

std::string Joined(const std::string& folder, const std::string& name) {
    return Utf8FromPath(PathFromUtf8(folder) / PathFromUtf8(name));
}

TEST(AllDevices, EachCopyGetsItsOwnDeviceLogFolderAndObject) {
    // What a copy is handed comes from the options as read, whatever their order and form; the
    // parent's own (--all, --json, --log-dir, --device) are replaced by the copy's.
    const std::vector<std::string> given{"--simulate",    "--all",
                                         "update",        "--log-dir=old",
                                         "pkg.ini",       "--json",
                                         "--device",      "x",
                                         "--sim-devices", "2",
                                         "--verify",      "--log-dir",
                                         "older",         "--sim-faults=device=sim-2:refuse=6"};
    RunOptions options;
    std::vector<std::string> command;
    std::string error;
    ASSERT_TRUE(ReadRunOptions(given, &options, &command, &error)) << error;
    EXPECT_EQ(options.logDir, "older");
    std::vector<std::string> arguments = options.handedToCopies;
    arguments.insert(arguments.end(), command.begin(), command.end());
    EXPECT_THAT(DeviceRunArguments(arguments, "1-1.2", "station", true),
                ElementsAre("--simulate", "--sim-faults=device=sim-2:refuse=6", "--sim-devices=2",
                            "update", "pkg.ini", "--verify", "--device", "1-1.2", "--json",
                            "--log-dir", Joined("station", "1-1.2")));
    // A lone device: its copy follows it wherever it comes back, but logs under its port.
    EXPECT_THAT(DeviceRunArguments({"update"}, "1-1.2", "station", false),
                ElementsAre("update", "--json", "--log-dir", Joined("station", "1-1.2")));
    // A port the system does not tell: the copy keeps to the one device there by itself.
    EXPECT_THAT(DeviceRunArguments({"versions"}, "", "", true),
                ElementsAre("versions", "--json", "--log-dir", Joined(".", "_")));
    for (const auto& [port, folder] : std::vector<std::pair<std::string, std::string>>{
             {"1-1.4.2", "1-1.4.2"}, {"1400-4.2", "1400-4.2"}, {"a:b/c\\d*?", "a_b_c_d__"}}) {
        EXPECT_EQ(PortFolderName(port), folder) << port;
    }
}

// On a terminal each device keeps its line, redrawn in place.
TEST(AllDevices, OnATerminalEachDeviceHasOneLineRedrawnInPlace) {
    std::FILE* out = std::tmpfile();
    ASSERT_NE(out, nullptr);
    {
        ProgressBoard board(out, {"sim-1", "sim-2"}, true);
        board.Show(1, "Writing the images has begun");
    }
    const std::string text = Drain(out);
    EXPECT_EQ(text,
              "\r\x1b[2K[sim-1] \n\r\x1b[2K[sim-2] \n\x1b[2A"
              "\r\x1b[2K[sim-1] \n\r\x1b[2K[sim-2] Writing the images has begun\n");
}

#ifndef _WIN32
// The board is redrawn in place only where it fits with the line the cursor rests on below it;
// a terminal that does not tell its rows is taken to have room, a file is never redrawn.
TEST(AllDevices, TheBoardIsRedrawnOnlyOnATerminalWithRowsForIt) {
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(::grantpt(master), 0);
    ASSERT_EQ(::unlockpt(master), 0);
    std::FILE* terminal = std::fopen(::ptsname(master), "w");
    ASSERT_NE(terminal, nullptr);
    struct Case {
        unsigned short rows;
        size_t ports;
        bool inPlace;
    };
    for (const Case& c : {Case{24, 3, true}, Case{4, 3, true}, Case{3, 3, false}, Case{2, 3, false},
                          Case{2, 1, true}, Case{1, 1, false}, Case{0, 16, true}}) {
        winsize size{};
        size.ws_row = c.rows;
        size.ws_col = 80;
        ASSERT_EQ(::ioctl(master, TIOCSWINSZ, &size), 0);
        EXPECT_EQ(ProgressBoard::CanRedraw(terminal, c.ports), c.inPlace)
            << c.rows << " rows, " << c.ports << " ports";
    }
    std::fclose(terminal);
    ::close(master);
    std::FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    EXPECT_FALSE(ProgressBoard::CanRedraw(file, 1));
    std::fclose(file);
}
#endif

TEST(AllDevices, WithoutATerminalLinesAreLedByTheirPortAndProgressShownByTenths) {
    std::FILE* out = std::tmpfile();
    ASSERT_NE(out, nullptr);
    {
        ProgressBoard board(out, {"sim-1", "sim-2"}, false);
        board.Show(1, "Writing the images has begun, please wait...");
        for (int percent : {0, 3, 9, 10, 55, 59, 100}) {
            std::string bar = "[" + std::string(40, '.') + "] ";
            bar += (percent < 10    ? "  "
                    : percent < 100 ? " "
                                    : "") +
                   std::to_string(percent) + "% (" + std::to_string(percent) + "/100)";
            board.Show(0, bar);
        }
        board.Finish();
        board.Show(0, "after the end");
    }
    const std::string text = Drain(out);
    const std::string bar = "[" + std::string(40, '.') + "] ";
    EXPECT_EQ(text,
              "[sim-2] Writing the images has begun, please wait...\n"
              "[sim-1] " +
                  bar +
                  "  0% (0/100)\n"
                  "[sim-1] " +
                  bar +
                  " 10% (10/100)\n"
                  "[sim-1] " +
                  bar +
                  " 55% (55/100)\n"
                  "[sim-1] " +
                  bar + "100% (100/100)\n");
}

// A folder of the test's own, gone afterwards.
class Folder {
  public:
    Folder()
        : path_(std::filesystem::temp_directory_path() /
                ("tavlin-all-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                 "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name())) {
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~Folder() { std::filesystem::remove_all(path_); }
    std::string operator/(const std::string& name) const {
        return Joined(Utf8FromPath(path_), name);
    }
    void File(const std::string& name) const { std::ofstream(PathFromUtf8(*this / name)) << "x"; }

  private:
    std::filesystem::path path_;
};

// A folder in the way is refused whichever level it is at, and named; root is refused too, as a
// regular file stands where a folder should be. Folders that can be had are made.
TEST(AllDevices, EveryDevicesLogFolderIsCheckedBeforeAnyCopyStarts) {
    struct Case {
        const char* name;
        std::string file;     // made first, in the test's folder; "" = none
        std::string logDir;   // in the test's folder
        std::string refused;  // the folder the refusal names; "" = none
    };
    const Case cases[] = {
        {"all fine", "", "logs", ""},
        {"the folder is a file", "logs", "logs", "logs"},
        {"under a file", "logs", Joined("logs", "deeper"), Joined("logs", "deeper")},
        {"a device's folder is a file", Joined("logs", "p2"), "logs", Joined("logs", "p2")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Folder folder;
        if (!c.file.empty()) {
            std::filesystem::create_directories(PathFromUtf8(folder / "logs"));
            std::filesystem::remove(PathFromUtf8(folder / c.file));
            folder.File(c.file);
        }
        std::string message;
        const Result checked = CheckDeviceLogFolders(folder / c.logDir, {"p1", "p2"}, &message);
        if (c.refused.empty()) {
            EXPECT_TRUE(checked.ok()) << checked.reason();
            EXPECT_TRUE(std::filesystem::is_directory(PathFromUtf8(folder / Joined("logs", "p2"))));
            continue;
        }
        EXPECT_EQ(checked.code(), ResultCode::BadInput);
        EXPECT_THAT(message,
                    HasSubstr(folder / c.refused + "（"));  // the reason follows the folder
    }
}

// Each device's outcome as both its object and its process tell it: a copy succeeded only when
// both say so. An object's own failure is kept; a crash is named; a device no copy was started
// for has an object all the same.
TEST(AllDevices, ADeviceSucceedsOnlyWhenItsObjectAndItsProcessBothSaySo) {
#ifdef _WIN32
    const std::string fault = "STATUS_ACCESS_VIOLATION";
    const std::string extension = ".exe";
#else
    const std::string fault = "SIGKILL";
    const std::string extension;
#endif
    struct Case {
        const char* how;
        int exit;
        std::string reason;
    };
    const std::map<std::string, Case> cases = {
        {"p1", {"ok", 0, ""}},
        {"p2", {"failed", 1, "as told"}},
        {"p3", {"silent", 1, FillText(Tr(kChildNoReport), {"0"})}},
        {"p4", {"silent-3", 3, FillText(Tr(kChildNoReport), {"3"})}},
        {"p5", {"liar", 3, FillText(Tr(alltext::kChildStatusDisagrees), {"3"})}},
        {"p6", {"killed", 1, FillText(Tr(alltext::kChildKilled), {fault})}},
        // One of several whose port is not told is not started: any copy could take it.
        {"", {"unstarted", 1, tavlin::Tr(kPortUnknown)}},
    };
    AllDevicesRun run;
    run.program = CurrentProgramPath();
    run.program.erase(run.program.find_last_of("/\\") + 1);
    run.program += "device_run_stand_in" + extension;
    std::vector<std::string> ports;
    for (const auto& [port, c] : cases) {
        ports.push_back(port);
        run.arguments.push_back(port + "=" + c.how);
    }
    Folder folder;
    run.logDir = folder / "logs";
    std::FILE* out = std::tmpfile();
    ASSERT_NE(out, nullptr);
    CliOutput output(out);
    Interruption interruption;
    RunReport report;
    EXPECT_EQ(RunOnAllDevices(run, ports, output, interruption, &report), kExitFailed);
    const std::string text = Drain(out);

    ASSERT_EQ(report.deviceRuns.size(), cases.size());
    for (const std::string& line : report.deviceRuns) {
        const auto object = nlohmann::json::parse(line);
        const Case& c = cases.at(object.at("port").get<std::string>());
        SCOPED_TRACE(c.how);
        EXPECT_EQ(object.at("exit"), c.exit);
        if (c.exit == 0) {
            EXPECT_EQ(object.at("result"), "ok");
            continue;
        }
        EXPECT_NE(object.at("result"), "ok");
        EXPECT_EQ(object.at("reason"), c.reason);
        EXPECT_THAT(report.result.reason(), HasSubstr(object.at("port").get<std::string>() + ": "));
        EXPECT_EQ(object.value("signal", ""), std::string(c.how) == "killed" ? fault : "");
    }
    EXPECT_THAT(report.result.reason(), Not(HasSubstr("p1")));
    EXPECT_THAT(text, HasSubstr(FillText(Tr(kDeviceSucceeded), {"p1"}) + "\n"));
}

}  // namespace
}  // namespace tavlin::cli
