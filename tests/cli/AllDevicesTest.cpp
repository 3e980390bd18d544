// --all's pieces that need no child: what each device's copy is given, and what is shown of its
// lines where there is no terminal.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>
#endif

#include "cli/AllDevices.h"
#include "cli/ProgressBoard.h"
#include "platform/FilePath.h"

namespace tavlin::cli {
namespace {

using ::testing::ElementsAre;

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
    const std::vector<std::string> given{"--simulate", "--all",     "update",   "--log-dir=old",
                                         "pkg.ini",    "--json",    "--device", "x",
                                         "--verify",   "--log-dir", "older"};
    EXPECT_THAT(DeviceRunArguments(given, "1-1.2", "station", true),
                ElementsAre("--simulate", "update", "pkg.ini", "--verify", "--device", "1-1.2",
                            "--json", "--log-dir", Joined("station", "1-1.2")));
    // A lone device: its copy follows it wherever it comes back, but logs under its port.
    EXPECT_THAT(DeviceRunArguments(given, "1-1.2", "station", false),
                ElementsAre("--simulate", "update", "pkg.ini", "--verify", "--json", "--log-dir",
                            Joined("station", "1-1.2")));
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

}  // namespace
}  // namespace tavlin::cli
