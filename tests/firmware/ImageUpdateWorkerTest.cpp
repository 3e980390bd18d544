#include "firmware/ImageUpdateWorker.h"

#include "base/StringTable.h"
#include "device/DeviceProtocol.h"
#include "firmware/FirmwareFixture.h"
#include "firmware/FirmwareTexts.h"
#include "firmware/VersionInfoRecord.h"
#include "platform/FilePath.h"
#include "platform/LegacyCodePage.h"

namespace tavlin::testing {
namespace {
using namespace tavlin::cmd;

size_t Count(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++n;
    }
    return n;
}

class ImageUpdateTest : public ConsoleTest {
  protected:
    Result RunUpdate(const std::string& package) {
        EXPECT_TRUE(worker.Start(package));
        EXPECT_TRUE(worker.WaitForEnd(10000));
        EXPECT_TRUE(Eventually([&] { return !worker.Running(); }));
        return worker.lastResult();
    }
    // The bytes the device collected at a target, trimmed to what the file held (the wire pads
    // a short last packet).
    std::string Received(int sensor, sim::CodeTarget target, size_t size) {
        const auto t = firmware().completedTransfer(sensor, target);
        return std::string(t.bytes.begin(), t.bytes.begin() + std::min(size, t.bytes.size()));
    }
    int Packets(int sensor, sim::CodeTarget target) {
        return firmware().completedTransfer(sensor, target).packets;
    }
    // Code packet command bytes without their first/last flags, in sending order.
    std::vector<uint8_t> CodePacketTargets() {
        std::vector<uint8_t> out;
        for (const auto& r : OutReports()) {
            const uint8_t base = r[1] & 0x3F;
            if ((base == kCodePacketMaster || base == kCodePacketSlave ||
                 base == kCodePacket2Master || base == kCodePacket2Slave) &&
                (out.empty() || out.back() != base)) {
                out.push_back(base);
            }
        }
        return out;
    }
    RecordingFirmwareView fwView;
    ImageUpdateWorker worker{state, fwView};
};

TEST_F(ImageUpdateTest, AllThreeImagesReachTheirSensorsByteForByteWithTheirVersionRecords) {
    const std::string h = PatternBytes(1000, 1), l = PatternBytes(130, 2), r = PatternBytes(63, 3);
    const std::string package = WriteFile(
        "pkg.ini", PackageText({{"Tavlin HInfo", {1, 7, WriteFile("h.bin", h)}},
                                {"Tavlin LInfo", {1, 305419896, WriteFile("l.bin", l)}},
                                {"Tavlin RInfo", {257, 0xABCDEF, WriteFile("r.bin", r)}}}));
    ASSERT_TRUE(RunUpdate(package).ok());

    EXPECT_EQ(Received(0, sim::CodeTarget::Packet, h.size()), h);
    EXPECT_EQ(Received(1, sim::CodeTarget::Packet, h.size()), h);
    EXPECT_EQ(Received(0, sim::CodeTarget::Packet2, l.size()), l);
    EXPECT_EQ(Received(1, sim::CodeTarget::Packet2, r.size()), r);
    EXPECT_EQ(Packets(0, sim::CodeTarget::Packet), 17);
    EXPECT_EQ(CodePacketTargets(), (std::vector<uint8_t>{kCodePacketMaster, kCodePacketSlave,
                                                         kCodePacket2Master, kCodePacket2Slave}));
    const auto record = ImageVersionInfoRecord(7);
    EXPECT_EQ(firmware().versionInfo(0), record);
    EXPECT_EQ(firmware().versionInfo(1), record);
    EXPECT_EQ(firmware().imageVersion(0), 305419896u);
    EXPECT_EQ(firmware().imageVersion(1), 0xABCDEFu);
    EXPECT_EQ(fwView.version(), "IMAGE Version: M--12345678, S--00abcdef\n");
    EXPECT_EQ(fwView.lastStatus(), fw::kUpdateSucceeded);
    EXPECT_EQ(fwView.progress().back(), 100);
    EXPECT_EQ(state.g_ImageTransferState, 0);
    EXPECT_EQ(state.g_SensorSel, 0);
}

// Qt's file dialog hands over the package as UTF-8; on Windows a narrow file call would read it
// in the ANSI code page and find neither the package nor its images.
TEST_F(ImageUpdateTest, APackageAndImagesInAFolderWithAChineseNameAreFoundAndSent) {
    const std::string h = PatternBytes(200, 4);
    const std::string image = WriteFile("固件包/主图像.bin", h);
    const std::string package =
        WriteFile("固件包/升级.ini", PackageText({{"Tavlin HInfo", {1, 9, image}}}));
    ASSERT_TRUE(RunUpdate(package).ok()) << fwView.lastStatus();
    EXPECT_EQ(Received(0, sim::CodeTarget::Packet, h.size()), h);
    EXPECT_EQ(Received(1, sim::CodeTarget::Packet, h.size()), h);
    EXPECT_EQ(fwView.lastStatus(), fw::kUpdateSucceeded);
}

// Notepad's "ANSI" on a Chinese system: the image names in GBK, the files named in Chinese.
TEST_F(ImageUpdateTest, APackageSavedInGbkNamesItsChineseImages) {
    const std::string h = PatternBytes(300, 6), l = PatternBytes(70, 7);
    WriteFile("\xE5\x9B\xBA\xE4\xBB\xB6.bin", h);  // 固件.bin
    WriteFile("\xE9\x95\x9C\xE5\x83\x8F.bin", l);  // 镜像.bin
    const std::string folder = Utf8FromPath(dir) + "/";
    const std::string package = WriteFile(
        "pkg.ini", PackageText({{"Tavlin HInfo", {1, 3, folder + "\xB9\xCC\xBC\xFE.bin"}},
                                {"Tavlin LInfo", {1, 4, folder + "\xBE\xB5\xCF\xF1.bin"}}}));
    SetLegacyCodePage(kCodePageChinese);
    const Result result = RunUpdate(package);
    SetLegacyCodePage(0);
    ASSERT_TRUE(result.ok()) << fwView.lastStatus();
    EXPECT_EQ(Received(0, sim::CodeTarget::Packet, h.size()), h);
    EXPECT_EQ(Received(0, sim::CodeTarget::Packet2, l.size()), l);
    EXPECT_EQ(firmware().imageVersion(0), 4u);
}

TEST_F(ImageUpdateTest, OnlyLInfoGoesToTheLeftSensorAndLeavesTheRecordsAlone) {
    const std::string l = PatternBytes(32256, 5);
    const std::string package =
        WriteFile("pkg.ini", PackageText({{"Tavlin LInfo", {1, 42, WriteFile("l.bin", l)}}}));
    ASSERT_TRUE(RunUpdate(package).ok());
    EXPECT_EQ(Received(0, sim::CodeTarget::Packet2, l.size()), l);
    EXPECT_EQ(Packets(0, sim::CodeTarget::Packet2), 521);
    EXPECT_EQ(firmware().completedTransferCount(1, sim::CodeTarget::Packet2), 0);
    EXPECT_EQ(firmware().versionInfo(0), sim::SimFirmware::VersionInfo{});
    EXPECT_EQ(firmware().imageVersion(0), 42u);
    const auto status = fwView.status();
    EXPECT_NE(std::find(status.begin(), status.end(), "Write Tavlin Left LInfo 31KB Success!\n"),
              status.end());
}

TEST_F(ImageUpdateTest, PacketsAreMarkedFirstAndLastAtTheEdgesOfAnImage) {
    for (size_t size : {63u, 62u}) {
        transport.recorder().Clear();
        const std::string bytes = PatternBytes(size, 9);
        const std::string package = WriteFile(
            "pkg.ini", PackageText({{"Tavlin RInfo", {1, 1, WriteFile("r.bin", bytes)}}}));
        ASSERT_TRUE(RunUpdate(package).ok()) << size;
        std::vector<uint8_t> commands;
        for (const auto& r : OutReports()) {
            if ((r[1] & 0x3F) == kCodePacket2Slave) {
                commands.push_back(r[1]);
            }
        }
        if (size == 63) {
            EXPECT_EQ(commands,
                      (std::vector<uint8_t>{kCodePacket2Slave | 0x80, kCodePacket2Slave | 0x40}));
        } else {
            EXPECT_EQ(commands, std::vector<uint8_t>{kCodePacket2Slave | 0x40});
            // One packet carries the whole image: the bar shows its whole share at once.
            EXPECT_EQ(fwView.progress().back(), 100);
        }
        EXPECT_EQ(Received(1, sim::CodeTarget::Packet2, size), bytes);
    }
}

TEST_F(ImageUpdateTest, AnEmptyImageSendsNothingAndTheNextImageFollows) {
    const std::string r = PatternBytes(100, 4);
    const uint32_t before = firmware().imageVersion(0);
    const std::string package =
        WriteFile("pkg.ini", PackageText({{"Tavlin LInfo", {1, 3, WriteFile("l.bin", "")}},
                                          {"Tavlin RInfo", {1, 4, WriteFile("r.bin", r)}}}));
    ASSERT_TRUE(RunUpdate(package).ok());
    EXPECT_EQ(firmware().completedTransferCount(0, sim::CodeTarget::Packet2), 0);
    EXPECT_EQ(firmware().imageVersion(0), before);
    EXPECT_EQ(Received(1, sim::CodeTarget::Packet2, r.size()), r);
    EXPECT_EQ(firmware().imageVersion(1), 4u);
}

TEST_F(ImageUpdateTest, AMissingLaterImageStopsTheUpdateBeforeAnythingIsSent) {
    for (const std::string& bad : {std::string("absent.bin"), std::string()}) {
        const std::string name = bad.empty() ? dir.string() : (dir / bad).string();  // a directory
        const std::string package =
            WriteFile("pkg.ini", PackageText({{"Tavlin HInfo", {1, 1, WriteFile("h.bin", "abc")}},
                                              {"Tavlin RInfo", {1, 2, name}}}));
        const Result result = RunUpdate(package);
        EXPECT_EQ(result.code(), ResultCode::BadInput);
        EXPECT_EQ(fwView.lastStatus(), fw::kImageOpenFailed);
        EXPECT_TRUE(OutReports().empty());
        EXPECT_NE(Log().find("cannot be opened"), std::string::npos);
    }
}

TEST_F(ImageUpdateTest, PackageValidityIsJudgedFromTheEnableKeysBeforeAnythingIsWritten) {
    struct Case {
        std::string text;
        const char* status;
    };
    const Case cases[] = {
        {"", fw::kPackageRefused},
        {"[Tavlin LInfo]\nImage_en=511\n", fw::kPackageRefused},
        {PackageText({{"Tavlin HInfo", {0, 0, ""}},
                      {"Tavlin LInfo", {0, 0, ""}},
                      {"Tavlin RInfo", {0, 0, ""}}}),
         fw::kNothingToUpdate},
        {"[Tavlin RInfo]\nImage_en=256\n", fw::kNothingToUpdate},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RunUpdate(WriteFile("pkg.ini", c.text)).code(), ResultCode::BadInput);
        EXPECT_EQ(fwView.lastStatus(), c.status) << c.text;
    }
    EXPECT_EQ(RunUpdate((dir / "no-such.ini").string()).code(), ResultCode::BadInput);
    EXPECT_EQ(fwView.lastStatus(), fw::kPackageRefused);
    EXPECT_TRUE(OutReports().empty());
}

TEST_F(ImageUpdateTest, ARefusedPacketStopsTheImageWithoutItsVersionRecord) {
    transport.faults().Refuse(kCodePacket2Master);  // a middle packet: no flags
    const uint32_t before = firmware().imageVersion(0);
    const std::string package =
        WriteFile("pkg.ini",
                  PackageText({{"Tavlin LInfo", {1, 9, WriteFile("l.bin", PatternBytes(300, 1))}},
                               {"Tavlin RInfo", {1, 9, WriteFile("r.bin", PatternBytes(10, 1))}}}));
    const Result result = RunUpdate(package);
    EXPECT_EQ(result.code(), ResultCode::Refused);
    EXPECT_EQ(fwView.lastStatus(), fw::kUpdateFailed);
    EXPECT_EQ(firmware().imageVersion(0), before);
    EXPECT_EQ(Sent(kImageVersionWriteMaster), 0);
    EXPECT_EQ(Sent(kCodePacket2Slave | 0x40), 0);  // RInfo never started
    EXPECT_TRUE(fwView.version().empty());
    EXPECT_EQ(state.g_ImageTransferState, 0);
}

TEST_F(ImageUpdateTest, AnUnansweredPacketIsLoggedAsATimeOutNotAsARefusal) {
    transport.faults().NoReplyTo(kCodePacket2Master);  // a middle packet
    const std::string package = WriteFile(
        "pkg.ini",
        PackageText({{"Tavlin LInfo", {1, 9, WriteFile("l.bin", PatternBytes(300, 1))}}}));
    const Result result = RunUpdate(package);
    EXPECT_EQ(result.code(), ResultCode::Timeout);
    EXPECT_EQ(fwView.lastStatus(), fw::kUpdateFailed);
    EXPECT_NE(Log().find("Update FW: failed! Timeout: "), std::string::npos) << Log();
    EXPECT_EQ(Log().find("refused by the device"), std::string::npos);
}

TEST_F(ImageUpdateTest, AnUnplugMidUpdateEndsItAndWritesNothingFurther) {
    transport.faults().UnplugAfter(6);
    const std::string package = WriteFile(
        "pkg.ini",
        PackageText({{"Tavlin HInfo", {1, 9, WriteFile("h.bin", PatternBytes(900, 1))}}}));
    const Result result = RunUpdate(package);
    EXPECT_FALSE(result.ok());
    // The first packet that did not get through is the last one tried.
    EXPECT_EQ(Count(view.pane(), "CMD_FPGA_CODE_Process Failed!\n"), 1);
    EXPECT_TRUE(fwView.lastStatus() == fw::kUpdateFailed ||
                fwView.lastStatus() == BuiltInString(IDS_NO_DEVICE));
    EXPECT_EQ(firmware().completedTransferCount(0, sim::CodeTarget::Packet), 0);
    EXPECT_EQ(firmware().versionInfo(0), sim::SimFirmware::VersionInfo{});
    EXPECT_EQ(state.g_ImageTransferState, 0);
}

TEST_F(ImageUpdateTest, AStopBetweenPacketsEndsTheWorkerQuietlyAndSignalsItsEnd) {
    transport.faults().SetLatency(1ms);
    const std::string package = WriteFile(
        "pkg.ini",
        PackageText({{"Tavlin HInfo", {1, 9, WriteFile("h.bin", PatternBytes(62 * 400, 1))}}}));
    ASSERT_TRUE(worker.Start(package));
    ASSERT_TRUE(Eventually([&] { return Sent(kCodePacketMaster) > 3; }));
    worker.StopAndWait();
    EXPECT_FALSE(worker.Running());
    EXPECT_EQ(state.g_ImageUpdateThread, nullptr);
    EXPECT_EQ(worker.lastResult().code(), ResultCode::Stopped);
    EXPECT_LT(Sent(kCodePacketMaster), 390);
    EXPECT_NE(fwView.lastStatus(), fw::kUpdateSucceeded);
    EXPECT_EQ(state.g_isFwDlgClosing, 1);
    EXPECT_EQ(state.g_ImageTransferState, 0);
}

TEST_F(ImageUpdateTest, AnExitWhileAPacketIsNeverAnsweredEndsWithinTheTransferTimeout) {
    transport.faults().NoReplyTo(kCodePacketMaster);
    // 40 packets of 100 ms each: only a stop between packets ends it within a second.
    const std::string package = WriteFile(
        "pkg.ini",
        PackageText({{"Tavlin HInfo", {1, 9, WriteFile("h.bin", PatternBytes(62 * 40, 1))}}}));
    ASSERT_TRUE(worker.Start(package));
    ASSERT_TRUE(Eventually([&] { return Sent(kCodePacketMaster) > 0; }));
    const auto start = std::chrono::steady_clock::now();
    worker.StopAndWait();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);  // the fixture's time-out is 100 ms
    EXPECT_FALSE(worker.lastResult().ok());
}

TEST_F(ImageUpdateTest, AStopThatMeetsTheWorkersEndIsNeverMissed) {
    // The exit handler decides to wait just as the worker ends: repeated so that the two meet
    // at every point of the worker's last steps.
    const std::string package = WriteFile("pkg.ini", "[Tavlin LInfo]\nImage_en=0\n");
#ifdef _WIN32
    // A round costs about 16 ms under Wine, where the Windows build's tests run; a tenth of the
    // rounds still meets every spin count dozens of times.
    constexpr int kRounds = 200;
#else
    constexpr int kRounds = 2000;
#endif
    for (int i = 0; i < kRounds; ++i) {
        state.g_isFwDlgClosing = 0;
        ASSERT_TRUE(worker.Start(package));
        for (int spin = 0; spin < i % 7; ++spin) {
            std::this_thread::yield();
        }
        worker.StopAndWait();
        ASSERT_FALSE(worker.Running());
        ASSERT_EQ(state.g_isWaitImageUpdateExit, 0);
    }
}

}  // namespace
}  // namespace tavlin::testing

namespace tavlin::testing {
namespace {

// The update writes the bytes it read before the first packet, whoever reads the package: a file
// replaced on disk afterwards (between a check and the write) never reaches the device.
TEST_F(ImageUpdateTest, TheBytesReadBeforeTheFirstPacketAreTheBytesWrittenWhateverTheDiskSaysThen) {
    const std::string h = PatternBytes(700, 4), l = PatternBytes(130, 5);
    const std::string hName = WriteFile("h.bin", h);
    const std::string lName = WriteFile("l.bin", l);
    const std::string package = WriteFile(
        "pkg.ini", PackageText({{"Tavlin HInfo", {1, 7, hName}}, {"Tavlin LInfo", {1, 9, lName}}}));
    auto loaded = std::make_shared<LoadedPackage>();
    const char* refusal = nullptr;
    ASSERT_TRUE(LoadPackage(package, loaded.get(), &refusal).ok());
    ASSERT_EQ(loaded->images.size(), 2u);
    WriteFile("h.bin", PatternBytes(700, 77));
    WriteFile("l.bin", "swapped");
    WriteFile("pkg.ini", PackageText({{"Tavlin LInfo", {1, 1234, lName}}}));

    ASSERT_TRUE(worker.Start(loaded));
    ASSERT_TRUE(worker.WaitForEnd(10000));
    ASSERT_TRUE(worker.lastResult().ok()) << worker.lastResult().describe();
    EXPECT_EQ(Received(0, sim::CodeTarget::Packet, h.size()), h);
    EXPECT_EQ(Received(1, sim::CodeTarget::Packet, h.size()), h);
    EXPECT_EQ(Received(0, sim::CodeTarget::Packet2, l.size()), l);
    EXPECT_EQ(firmware().imageVersion(0), 9u);
}

}  // namespace
}  // namespace tavlin::testing
