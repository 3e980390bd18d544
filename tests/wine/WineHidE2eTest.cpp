// tavlin-cli.exe as built for Windows, under Wine, against a umockdev device read by Wine's own
// HID stack: SetupDi enumeration, HidD attributes and capabilities, overlapped ReadFile and
// WriteFile, and the device notices, all on Wine's winebus/hidclass. Nothing of the program is
// replaced. Where Wine 8 differs from Windows the bed adapts (UmockdevBed::ServeWine): one
// interface for all of a device's collections, so the vendor collection is listed first and
// the touch reports arrive on the vendor handle; a read pending at an unplug fails with error 5.
// Neither no-access cause can be shown under Wine 8: it lets a second program open a device
// that another holds without sharing, and its bus driver opens the node itself, so a node it
// may not open is a device it does not list. The faked API covers them (WinHidTransportTest).
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "WineBedTest.h"
#include "base/StringTable.h"
#include "device/HidTransport.h"

namespace tavlin::e2e {
namespace {

using namespace std::chrono_literals;

// The machine is slow and shared: generous limits, each one bounded.
constexpr auto kRunLimit = 120s;
constexpr auto kDeviceSeenLimit = 90s;

std::string Describe(const WineRun& run) {
    return "exit " + std::to_string(run.exitStatus) + (run.ended ? "" : " (killed)") +
           "\nstdout:\n" + run.out + "\nstderr:\n" + run.err;
}

class WineHidE2eTest : public WineBedTest {
  protected:
    std::string FolderName() const override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        return "tavlin-wine-hid-" + std::to_string(getpid()) + "-" + info->name();
    }

    WineRun Cli(const std::vector<std::string>& args) {
        return session->Run(dir, settings.cliExe, args, kRunLimit);
    }

    // The first program of a session starts Wine's device host, which finds the device a few
    // seconds later: detect until it is seen. Covers `detect` on the way.
    void WaitUntilSeen() {
        const auto deadline = std::chrono::steady_clock::now() + kDeviceSeenLimit;
        WineRun run;
        while (std::chrono::steady_clock::now() < deadline) {
            run = Cli({"detect"});
            if (run.exitStatus == 0) {
                EXPECT_NE(run.out.find(BuiltInString(IDS_DETECT_DONE)), std::string::npos)
                    << Describe(run);
                return;
            }
            ASSERT_EQ(run.exitStatus, 3) << "only 'no device' may come before it is seen\n"
                                         << Describe(run);
            std::this_thread::sleep_for(500ms);
        }
        FAIL() << "Wine never listed the device\n" << Describe(run);
    }

    std::string Log() const { return ReadText(dir / "Tavlin_log.txt"); }
};

TEST_F(WineHidE2eTest, DetectVersionsReadAndWriteGoThroughWinesHidStack) {
    bed->PlugOurs(kProductIdWork);
    bed->firmware().setImageVersion(0, 0x12345678);
    bed->firmware().setImageVersion(1, 0x00abcdef);
    bed->firmware().setFpgaRegister(0, 0x0010, 0x42);
    ASSERT_NO_FATAL_FAILURE(WaitUntilSeen());
    EXPECT_NE(Log().find("Open hid device success!"), std::string::npos) << Log();

    const WineRun versions = Cli({"versions"});
    EXPECT_EQ(versions.exitStatus, 0) << Describe(versions);
    EXPECT_NE(versions.out.find("IMAGE Version: M--12345678, S--00abcdef"), std::string::npos)
        << Describe(versions);

    const WineRun read = Cli({"read", "0x0010"});
    EXPECT_EQ(read.exitStatus, 0) << Describe(read);
    EXPECT_NE(read.out.find("0x42"), std::string::npos) << Describe(read);

    const WineRun write = Cli({"write", "0x0011", "0x5a"});
    EXPECT_EQ(write.exitStatus, 0) << Describe(write);
    EXPECT_EQ(bed->firmware().fpgaRegister(0, 0x0011), 0x5A);
    const WineRun back = Cli({"read", "0x0011"});
    EXPECT_EQ(back.exitStatus, 0) << Describe(back);
    EXPECT_NE(back.out.find("0x5a"), std::string::npos) << Describe(back);
}

// Under Wine the touch collection shares the vendor handle (on Windows it has one of its own):
// touch reports arriving while a register read waits must not be taken for its reply.
TEST_F(WineHidE2eTest, TouchReportsOnTheSameHandleAreNotTakenForAReply) {
    bed->PlugOurs(kProductIdWork);
    bed->firmware().setFpgaRegister(0, 0x0010, 0x42);
    ASSERT_NO_FATAL_FAILURE(WaitUntilSeen());
    bed->StreamTouches(true);  // one before and one after every reply
    for (const char* address : {"0x0010", "0x0010"}) {
        const WineRun read = Cli({"read", address});
        EXPECT_EQ(read.exitStatus, 0) << Describe(read);
        EXPECT_NE(read.out.find("0x42"), std::string::npos) << Describe(read);
    }
}

TEST_F(WineHidE2eTest, AnUnplugDuringAReadEndsAsDeviceGoneNotAsAnErrorCode) {
    const int plug = bed->PlugOurs(kProductIdWork);
    ASSERT_NO_FATAL_FAILURE(WaitUntilSeen());
    const size_t before = bed->Received().size();
    bed->SetAnswering(false);
    const pid_t cli = session->Start(dir, settings.cliExe, {"read", "0x0010"});
    ASSERT_TRUE(bed->WaitReceived(before + 1, 60s)) << "the read's request never came";
    bed->Unplug(plug);
    const WineRun run = session->Wait(cli, dir, kRunLimit);
    EXPECT_EQ(run.exitStatus, 1) << Describe(run);
    const std::string all = run.out + run.err;
    // What the panel and the CLI say when the device is pulled, as on Linux.
    EXPECT_NE(all.find("Master: FPGASingleRead error\n0xff\ntavlin-cli: read: device went away"),
              std::string::npos)
        << Describe(run);
    EXPECT_EQ(all.find("error 5"), std::string::npos) << Describe(run);
    EXPECT_NE(Log().find("ret=1167 ERROR_DEVICE_NOT_CONNECTED!"), std::string::npos) << Log();
}

std::string PatternBytes(size_t size, unsigned seed) {
    std::mt19937 gen(seed);
    std::string bytes(size, '\0');
    for (char& c : bytes) {
        c = static_cast<char>(gen());
    }
    return bytes;
}

TEST_F(WineHidE2eTest, AnUpdateFollowsTheDeviceIntoItsUpdateEnvironmentAndBack) {
    const std::string h = PatternBytes(1000, 1), l = PatternBytes(130, 2), r = PatternBytes(200, 3);
    std::ofstream(dir / "h.bin", std::ios::binary) << h;
    std::ofstream(dir / "l.bin", std::ios::binary) << l;
    std::ofstream(dir / "r.bin", std::ios::binary) << r;
    std::ofstream(dir / "pkg.ini")
        << "[Tavlin HInfo]\nImage_en=1\nImage_version=7\nImage_name=h.bin\n"
           "[Tavlin LInfo]\nImage_en=1\nImage_version=305419896\nImage_name=l.bin\n"
           "[Tavlin RInfo]\nImage_en=1\nImage_version=11259375\nImage_name=r.bin\n";
    bed->FollowUpdateControl(true);
    bed->PlugOurs(kProductIdWork);
    ASSERT_NO_FATAL_FAILURE(WaitUntilSeen());

    const WineRun run = Cli({"update", "pkg.ini", "--verify", "--replug-timeout", "30"});
    EXPECT_EQ(run.exitStatus, 0) << Describe(run);
    const std::string all = run.out + run.err;
    EXPECT_NE(all.find("Write Tavlin Right HInfo 1KB Success!"), std::string::npos)
        << Describe(run);
    EXPECT_NE(all.find("IMAGE Version: M--12345678, S--00abcdef"), std::string::npos)
        << Describe(run);
    EXPECT_EQ(bed->PluggedProductIds(),
              (std::vector<uint16_t>{kProductIdWork, kProductIdUpdate, kProductIdWork}));
    const auto received = [&](int sensor, sim::CodeTarget target, size_t size) {
        const auto t = bed->firmware().completedTransfer(sensor, target);
        return std::string(t.bytes.begin(), t.bytes.begin() + std::min(size, t.bytes.size()));
    };
    EXPECT_EQ(received(0, sim::CodeTarget::Packet, h.size()), h);
    EXPECT_EQ(received(1, sim::CodeTarget::Packet2, r.size()), r);
}

}  // namespace
}  // namespace tavlin::e2e
