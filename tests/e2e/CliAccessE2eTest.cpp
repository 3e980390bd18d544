// tavlin-cli on a station without the udev rules: the device is plugged in, but its node refuses
// the user. The run must say so on stderr and end with its own exit status, not call the device
// absent. The CLI is a child process in the mock environment.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "CliChild.h"
#include "NodeRefusal.h"
#include "UmockdevFixture.h"
#include "base/StringTable.h"
#include "device/HidTransport.h"

namespace tavlin::e2e {
namespace {

using namespace std::chrono_literals;

constexpr int kExitNoDevice = 3;
constexpr int kExitNoAccess = 4;

// The program's own (Chinese) texts, whatever the machine's locale.
bool ChineseAndUnprivileged() {
    setenv("LC_ALL", "zh_CN.UTF-8", 1);
    return NodeRefusal::BecomeUnprivilegedForGood();
}

size_t CountOf(const std::string& text, const std::string& needle) {
    size_t n = 0;
    for (size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1)) {
        ++n;
    }
    return n;
}

class CliAccessE2eTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (const std::string why = MockEnvironmentMissing(); !why.empty()) {
            GTEST_SKIP() << "umockdev not available: " << why;
        }
        bed = std::make_unique<UmockdevBed>();
    }
    std::unique_ptr<UmockdevBed> bed;
};

TEST_F(CliAccessE2eTest, ARefusedNodeIsExitStatus4WithTheRemedyOnStderr) {
    const int plug = bed->PlugOurs(kProductIdWork);
    const NodeRefusal refusal(*bed, plug);
    ASSERT_EQ(refusal.problem(), "");
    const std::string noAccess = BuiltInString(IDS_NO_ACCESS);
    const std::string noDevice = BuiltInString(IDS_NO_DEVICE);

    // detect, and a command that needs the device: both stop at the refusal.
    for (const char* command : {"detect", "versions"}) {
        const ChildResult run = RunCli(refusal.workDir(), {command}, 30s, ChineseAndUnprivileged);
        ASSERT_TRUE(run.ended) << command << ": the CLI did not end\n" << run.out << run.err;
        EXPECT_EQ(run.exitStatus, kExitNoAccess) << command << "\n" << run.out << run.err;
        EXPECT_EQ(CountOf(run.err, noAccess), 1u) << command << "\n" << run.err;
        EXPECT_EQ(run.out.find(noAccess), std::string::npos) << run.out;
        EXPECT_EQ(run.out.find(noDevice), std::string::npos) << run.out;
        EXPECT_EQ(run.err.find(noDevice), std::string::npos) << run.err;
        const std::string log = ReadFile(refusal.workDir() / "Tavlin_log.txt");
        EXPECT_NE(log.find("permission denied"), std::string::npos) << log;
    }
}

// Without a device of ours, exit status 3 and string 104 are what the run ends with.
TEST_F(CliAccessE2eTest, NoDeviceOfOursIsStillExitStatus3) {
    bed->PlugForeign(0x046D, 0xC077);
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("tavlin-e2e-absent-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const ChildResult run = RunCli(dir, {"versions"}, 30s, [] {
        setenv("LC_ALL", "zh_CN.UTF-8", 1);
        return true;
    });
    std::filesystem::remove_all(dir);
    ASSERT_TRUE(run.ended) << run.out << run.err;
    EXPECT_EQ(run.exitStatus, kExitNoDevice) << run.out << run.err;
    EXPECT_NE(run.out.find(BuiltInString(IDS_NO_DEVICE)), std::string::npos) << run.out;
    EXPECT_EQ(run.err.find(BuiltInString(IDS_NO_ACCESS)), std::string::npos) << run.err;
}

}  // namespace
}  // namespace tavlin::e2e
