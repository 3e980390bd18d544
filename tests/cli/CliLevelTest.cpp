// `tavlin-cli level` through the whole session on the simulated device.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <future>
#include <sstream>
#include <thread>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "base/StringTable.h"
#include "cli/CliSession.h"
#include "device/DeviceProtocol.h"
#include "device/LogCapture.h"
#include "sim/SimTransport.h"

namespace tavlin::cli {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

class CliLevelTest : public ::testing::Test {
  protected:
    CliLevelTest() {
        dir = std::filesystem::temp_directory_path() /
              ("tavlin-level-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir);
    }
    ~CliLevelTest() override { std::filesystem::remove_all(dir); }

    int Run(std::vector<std::string> args) {
        Invocation inv;
        std::string error;
        EXPECT_TRUE(ParseInvocation(args, &inv, &error)) << error;
        std::FILE* out = std::tmpfile();
        const int status = RunSession(inv, sim, out, 100);
        std::rewind(out);
        output.clear();
        char buf[4096];
        size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, out)) > 0) {
            output.append(buf, n);
        }
        std::fclose(out);
        return status;
    }

    testing::LogCapture log;
    sim::SimTransport sim;
    std::string output;
    std::filesystem::path dir;
};

TEST_F(CliLevelTest, ExposureAndPicturesThenLeavesWithOk) {
    ASSERT_EQ(Run({"level", "--frames", "2", "--exposure", "--png", dir.string()}), kExitSuccess)
        << output;
    const std::string init = BuiltInString(IDS_INITIALISING);
    const std::string searching = BuiltInString(IDS_SEARCHING);
    const std::string exposing = BuiltInString(IDS_EXPOSURE_RUNNING);
    const size_t a = output.find("Master: " + searching + "Slave: " + searching, output.find(init));
    const size_t b = output.find("Master: 确定所用图像行成功！当前光学参数为:240，40，600\n");
    const size_t c = output.find("Master: " + exposing + "Slave: " + exposing);
    const size_t d =
        output.find("Master: 曝光调节结束，当前光学参数为:250，42，598;\n\nMaster: 0x30，0x08。\n");
    EXPECT_TRUE(a != std::string::npos && a < b && b < c && c < d) << output;
    EXPECT_EQ(sim.firmware().mode(), 0xEE);

    for (const char* name : {"master.png", "slave.png"}) {
        QImage picture;
        ASSERT_TRUE(picture.load(QString::fromStdString((dir / name).string()))) << name;
        EXPECT_EQ(picture.size(), QSize(640, 72));
        int red = 0;
        for (int y = 0; y < 72; ++y) {
            red += picture.pixel(320, y) == qRgb(255, 0, 0) ? 1 : 0;
        }
        EXPECT_EQ(red, 2) << name;  // the stitched line, two pixels wide
    }
}

TEST_F(CliLevelTest, WithoutExposureLeavesWithCancel) {
    EXPECT_EQ(Run({"level"}), kExitSuccess) << output;
    EXPECT_EQ(sim.firmware().mode(), 0x22);
    EXPECT_FALSE(std::filesystem::exists(dir / "master.png"));
}

TEST_F(CliLevelTest, AFailedSearchExitsWithFailure) {
    sim::SceneSettings scene = sim.firmware().scene(0);
    scene.searchAnswer = 0xFFFF;
    sim.firmware().setScene(0, scene);
    EXPECT_EQ(Run({"level", "--exposure"}), kExitFailed);
    EXPECT_THAT(output, HasSubstr(BuiltInString(IDS_STARTLINE_SEARCH_FAILED)));
    EXPECT_THAT(output, Not(HasSubstr(BuiltInString(IDS_EXPOSURE_RUNNING))));
    EXPECT_EQ(sim.firmware().mode(), 0x22);
}

// Nobody watches a CLI run: a device that never delivers a whole picture ends it as a failure
// that names the missing chunk, instead of keeping it cycling for ever.
TEST_F(CliLevelTest, PicturesThatNeverArriveWholeEndTheRunWithTheirCause) {
    sim::FaultSettings faults;
    faults.refuseCodes = {cmd::kPreviewMode1Flag | cmd::kPreviewMaster};
    sim.faults().Set(faults);
    auto run = std::async(std::launch::async, [this] { return Run({"level"}); });
    if (run.wait_for(std::chrono::seconds(60)) != std::future_status::ready) {
        ADD_FAILURE() << "tavlin-cli level still cycles after 60 s";
        std::_Exit(1);  // the run cannot be stopped from here
    }
    EXPECT_EQ(run.get(), kExitFailed) << output;
    EXPECT_THAT(output, HasSubstr("tavlin-cli: preview chunk ")) << output;
    EXPECT_EQ(sim.firmware().mode(), 0x22);  // left as the window's Cancel leaves
}

#ifndef _WIN32
// A FIFO put in a picture's place after the folder was checked, while the device is in
// calibration mode: that picture is refused without waiting for a reader, the other is still
// written, and the run leaves as the window's Cancel does, back in work mode.
TEST_F(CliLevelTest, APictureThatBecameAFifoIsRefusedAndTheDeviceStillLeavesCalibrationMode) {
    ASSERT_NE(sim.firmware().mode(), 0xFF);
    sim.faults().SetLatency(std::chrono::milliseconds(2));  // the pictures come well after
    const std::filesystem::path master = dir / "master.png";
    auto fifo = std::async(std::launch::async, [this, &master] {
        for (int i = 0; i < 20000 && sim.firmware().mode() != 0xFF; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return ::mkfifo(master.c_str(), 0600) == 0;
    });
    auto run = std::async(std::launch::async, [this] {
        return Run({"level", "--frames", "2", "--png", dir.string()});
    });
    if (run.wait_for(std::chrono::seconds(60)) != std::future_status::ready) {
        ADD_FAILURE() << "tavlin-cli level waits on the FIFO";
        std::_Exit(1);  // the run cannot be stopped from here
    }
    ASSERT_TRUE(fifo.get());
    EXPECT_EQ(run.get(), kExitFailed) << output;
    EXPECT_THAT(output, HasSubstr("无法写入 " + master.string() + "：not a regular file"));
    EXPECT_THAT(output, HasSubstr("tavlin-cli: cannot write the pictures to " + dir.string()));
    EXPECT_TRUE(std::filesystem::is_regular_file(dir / "slave.png"));
    EXPECT_TRUE(
        log.Contains("Leveling picture not written: " + master.string() + ": not a regular file"))
        << log.Text();
    EXPECT_EQ(sim.firmware().mode(), 0x22);
}

#endif

// The two sensor boxes often say the same: every line says whose it is, blank lines inside a
// text stay blank, and the names are the string table's (translated with the rest).
TEST_F(CliLevelTest, EachStatusLineNamesItsSensor) {
    ASSERT_EQ(Run({"level"}), kExitSuccess) << output;
    EXPECT_THAT(output, HasSubstr("Master: " + std::string(BuiltInString(IDS_INITIALISING)) +
                                  "\nSlave: " + BuiltInString(IDS_INITIALISING) + "\n"));
    EXPECT_THAT(output, HasSubstr("Master: 确定所用图像行成功！当前光学参数为:240，40，600\n"
                                  "\nMaster: 下面请进行曝光调节。\n"));
    EXPECT_THAT(output, HasSubstr("\nSlave: 下面请进行曝光调节。\n"));
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        if (line.find("下面请进行曝光调节") != std::string::npos ||
            line.find(BuiltInString(IDS_SEARCHING)) == 0) {
            EXPECT_TRUE(line.rfind("Master: ", 0) == 0 || line.rfind("Slave: ", 0) == 0) << line;
        }
    }
    SetStringTranslator([](const char* text) {
        return std::string(text) == "Slave: " ? std::string("Esclave : ") : std::string(text);
    });
    const int status = Run({"level"});
    SetStringTranslator(nullptr);
    EXPECT_EQ(status, kExitSuccess);
    EXPECT_THAT(output, HasSubstr("\nEsclave : 下面请进行曝光调节。\n"));
}

// A picture folder that is missing is made before the device work, with its parents; one that
// cannot be made stops the run at once, before the log starts or a report goes out.
TEST_F(CliLevelTest, ThePictureFolderIsMadeFirstOrTheRunRefusedAtOnce) {
    const std::filesystem::path nested = dir / "new" / "pictures";
    ASSERT_EQ(Run({"level", "--png", nested.string()}), kExitSuccess) << output;
    EXPECT_TRUE(std::filesystem::exists(nested / "master.png"));
    EXPECT_TRUE(std::filesystem::exists(nested / "slave.png"));

    std::ofstream(dir / "plain-file") << "not a folder";
    sim.recorder().SetEnabled(true);
    sim.recorder().Clear();
    const std::string logBefore = log.Text();
    const std::filesystem::path under = dir / "plain-file" / "pictures";
    EXPECT_EQ(Run({"level", "--png", under.string()}), kExitFailed);
    EXPECT_EQ(output.rfind("tavlin-cli: cannot create the picture folder " + under.string(), 0), 0u)
        << output;
    EXPECT_EQ(std::count(output.begin(), output.end(), '\n'), 1) << output;
    EXPECT_EQ(sim.recorder().size(), 0u) << "no report may go out";
    EXPECT_EQ(log.Text(), logBefore) << "the session must not start";
}

// Links and FIFOs are POSIX files.
#ifndef _WIN32
// A picture that cannot be written fails the run with the file named and a log line; the other
// picture is still written.
TEST_F(CliLevelTest, APictureThatCannotBeWrittenFailsTheRunAndSaysWhich) {
    // A link to a folder that is not there passes the look before the run and fails the write.
    std::filesystem::create_symlink(dir / "missing" / "master.png", dir / "master.png");
    EXPECT_EQ(Run({"level", "--png", dir.string()}), kExitFailed) << output;
    const std::string master = (dir / "master.png").string();
    EXPECT_THAT(output, HasSubstr("无法写入 " + master + "：")) << output;
    EXPECT_THAT(log.Text(), HasSubstr("Leveling picture not written: " + master + ": "));
    EXPECT_GT(std::filesystem::file_size(dir / "slave.png"), 0u);
}

#endif

TEST_F(CliLevelTest, NoDeviceAndBadOptions) {
    sim.Detach();
    EXPECT_EQ(Run({"level"}), kExitNoDevice);
    Invocation inv;
    std::string error;
    EXPECT_FALSE(ParseInvocation({"level", "--frames", "0"}, &inv, &error));
    EXPECT_FALSE(ParseInvocation({"level", "--png"}, &inv, &error));
    EXPECT_TRUE(ParseInvocation({"level", "--frames", "3", "--png", "d"}, &inv, &error));
    EXPECT_EQ(inv.frames, 3);
    EXPECT_EQ(inv.pngDir, "d");
}

}  // namespace
}  // namespace tavlin::cli
