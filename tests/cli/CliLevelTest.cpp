// `tavlin-cli level` through the whole session on the simulated device.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QImage>
#include <cstdio>
#include <filesystem>

#include "base/StringTable.h"
#include "cli/CliSession.h"
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
        const int status = RunSession(inv, sim, &sim, out, 100);
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
    const size_t a = output.find(searching + searching, output.find(init));
    const size_t b = output.find("确定所用图像行成功！当前光学参数为:240，40，600\n");
    const size_t c = output.find(exposing + exposing);
    const size_t d = output.find("曝光调节结束，当前光学参数为:250，42，598;\n\n0x30，0x08。\n");
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
