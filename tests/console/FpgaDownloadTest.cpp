#include "console/FpgaDownload.h"

#include "base/ControlIds.h"
#include "base/StringTable.h"
#include "console/ConsoleFixture.h"
#include "console/ConsoleTexts.h"
#include "console/FpgaScrambler.h"
#include "console/WorkerSlot.h"
#include "sim/FpgaScrambling.h"

namespace tavlin::testing {
namespace {

constexpr uint8_t kPacket = cmd::kCodePacketMaster;

TEST(FpgaScrambler, KeyRotatesPerByteAndRunsAcrossChunks) {
    uint8_t zeros[4] = {};
    FpgaScrambler first;
    first.Scramble(zeros, 4);
    EXPECT_EQ(zeros[0], 0x3B);  // zero bytes show the key itself
    EXPECT_EQ(zeros[1], 0x76);
    EXPECT_EQ(zeros[2], 0xEC);
    EXPECT_EQ(zeros[3], 0xD9);

    std::vector<uint8_t> whole(63, 0), split(63, 0);
    FpgaScrambler a, b;
    a.Scramble(whole.data(), whole.size());
    b.Scramble(split.data(), 62);
    b.Scramble(split.data() + 62, 1);
    EXPECT_EQ(whole, split);
    EXPECT_EQ(split[62], 0xCE);  // 0x3B after 62 rotations, not 0x3B again
    EXPECT_EQ(sim::UnscrambleFpgaCode(whole), std::vector<uint8_t>(63, 0));
}

class FpgaDownloadTest : public ConsoleTest {
  protected:
    static std::string Pattern(size_t size) {
        std::string bytes(size, '\0');
        for (size_t i = 0; i < size; ++i) {
            bytes[i] = static_cast<char>((i * 7 + i / 256) & 0xFF);
        }
        return bytes;
    }
    // Runs one download to its end.
    void Download(const std::string& path, FpgaDownload::Progress progress = {}) {
        EXPECT_TRUE(fpga.Start(path, std::move(progress)));
        ASSERT_EQ(state.g_FpgaFinishedEvent.Wait(30000), WAIT_OBJECT_0);
        fpga.Stop();
        EXPECT_EQ(state.g_FpgaDownloadThread, nullptr);
        EXPECT_EQ(state.g_ImageTransferState, 0);
    }
    // What the device stored, unscrambled and without the padding of a short last packet.
    std::vector<uint8_t> Received(size_t size) {
        auto bytes =
            sim::UnscrambleFpgaCode(firmware().completedTransfer(0, sim::CodeTarget::Packet).bytes);
        bytes.resize(std::min(bytes.size(), size));
        return bytes;
    }
    static std::vector<uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }

    FpgaDownload fpga{state, view};
};

TEST_F(FpgaDownloadTest, OneChunkFileIsMarkedLastAndNeverFirst) {
    const std::string code = Pattern(62);
    Download(WriteFile("a.bin", code));
    EXPECT_EQ(Sent(kPacket | kLastPacketFlag), 1);
    EXPECT_EQ(Sent(kPacket | kFirstPacketFlag), 0);
    EXPECT_EQ(Received(62), Bytes(code));
    EXPECT_EQ(view.pane(),
              "The FPGA script begins to burn!\nSuccess!\nWrite FPGA Code 0KB Success!\n");
}

TEST_F(FpgaDownloadTest, SixtyThreeBytesGoAsFirstAndLastPacket) {
    const std::string code = Pattern(63);
    Download(WriteFile("a.bin", code));
    const auto out = OutReports();
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0][1], kPacket | kFirstPacketFlag);
    EXPECT_EQ(out[1][1], kPacket | kLastPacketFlag);
    EXPECT_EQ(Received(63), Bytes(code));
}

TEST_F(FpgaDownloadTest, LargeFileArrivesWholeAndIsReportedInKilobytes) {
    const std::string code = Pattern(100000);
    int lastSent = 0, lastTotal = 0;
    Download(WriteFile("big.bin", code), [&](int sent, int total) {
        lastSent = sent;
        lastTotal = total;
    });
    EXPECT_EQ(firmware().completedTransfer(0, sim::CodeTarget::Packet).packets, 1613);
    EXPECT_EQ(Received(100000), Bytes(code));
    EXPECT_EQ(lastSent, 1613);
    EXPECT_EQ(lastTotal, 1613);
    const std::string pane = view.pane();
    EXPECT_NE(pane.find("Success!\nWrite FPGA Code 97KB Success!\n"), std::string::npos);
    EXPECT_EQ(pane.find("Failed"), std::string::npos);
    EXPECT_EQ(view.hidden(), (std::vector<int>{1000, 1003, 1002, 1004, 1063}));
    EXPECT_GE(view.cmdDone(), 1);
}

TEST_F(FpgaDownloadTest, EmptyOrMissingFileSendsNothingAndEndsIdle) {
    Download(WriteFile("empty.bin", ""));
    EXPECT_EQ(view.pane(), "");
    Download((dir / "missing.bin").string());
    EXPECT_EQ(view.pane(), "FPGA File Open Fail!");
    // Above the device's 32-bit size: refused before a packet goes (a sparse file, no disk used).
    view.ClearPane();
    const std::string huge = WriteFile("huge.bin", "");
    std::filesystem::resize_file(huge, 0x80000000u);
    Download(huge);
    EXPECT_EQ(view.pane(), "FPGA File Open Fail!");
    EXPECT_TRUE(OutReports().empty());
    EXPECT_TRUE(view.hidden().empty());
}

TEST_F(FpgaDownloadTest, StartIsRefusedWithoutDeviceOrFileAndWhileRunning) {
    state.g_bDevExist = 0;
    EXPECT_FALSE(fpga.Start("x.bin"));
    EXPECT_EQ(view.status().back(), LoadString(IDS_NO_DEVICE));
    state.g_bDevExist = 1;
    EXPECT_FALSE(fpga.Start(""));
    EXPECT_EQ(view.status().back(), LoadString(IDS_DETECT_DONE));
    EXPECT_EQ(view.pane(), "Please Open The .bin Document First!\n");

    transport.faults().SetLatency(2ms);
    const std::string path = WriteFile("a.bin", Pattern(62 * 50));
    EXPECT_TRUE(fpga.Start(path));
    EXPECT_FALSE(fpga.Start(path));
    EXPECT_NE(view.pane().find("is running,waiting....\n"), std::string::npos);
    ASSERT_EQ(state.g_FpgaFinishedEvent.Wait(30000), WAIT_OBJECT_0);
    EXPECT_EQ(firmware().completedTransferCount(0, sim::CodeTarget::Packet), 1);
}

TEST_F(FpgaDownloadTest, RefusedPacketOrUnplugEndsWithoutSuccess) {
    transport.faults().Refuse(kPacket);  // a middle packet
    Download(WriteFile("a.bin", Pattern(62 * 5)));
    EXPECT_EQ(view.pane(),
              "The FPGA script begins to burn!\nCMD_FPGA_CODE_Process Failed!\n"
              "Download FPGA failed!\n");
    EXPECT_EQ(Sent(kPacket), 1);  // nothing more after the refusal

    transport.faults().Clear();
    transport.faults().UnplugAfter(3);
    Download(WriteFile("b.bin", Pattern(62 * 10)));
    EXPECT_EQ(view.pane().find("Success!"), std::string::npos);
}

TEST_F(FpgaDownloadTest, StopEndsADownloadBetweenPacketsAndAStaleStopIsDropped) {
    transport.faults().SetLatency(2ms);
    EXPECT_TRUE(fpga.Start(WriteFile("a.bin", Pattern(62 * 1000))));
    ASSERT_TRUE(view.WaitForPane("begins to burn"));
    const auto before = std::chrono::steady_clock::now();
    fpga.Stop();
    EXPECT_LT(std::chrono::steady_clock::now() - before, 1s);
    EXPECT_EQ(state.g_FpgaDownloadThread, nullptr);
    EXPECT_TRUE(state.g_FpgaFinishedEvent.IsSignalled());
    EXPECT_EQ(view.pane().find("Success!"), std::string::npos);

    transport.faults().Clear();
    state.g_FpgaStopEvent.Set();  // an exit that came after a download had ended
    Download(WriteFile("b.bin", Pattern(100)));
    EXPECT_NE(view.pane().find("Write FPGA Code 0KB Success!\n"), std::string::npos);
}

TEST_F(FpgaDownloadTest, AnotherCodeTransferIsNotJoined) {
    state.g_ImageTransferState = 2;
    EXPECT_TRUE(fpga.Start(WriteFile("a.bin", Pattern(10))));
    ASSERT_EQ(state.g_FpgaFinishedEvent.Wait(5000), WAIT_OBJECT_0);
    fpga.Stop();
    EXPECT_EQ(view.pane(), console::kTransferBusy);
    EXPECT_EQ(state.g_ImageTransferState, 2);
    EXPECT_TRUE(OutReports().empty());
}

// The sensor is taken once, as the download is pressed: the leveling window selecting the other
// sensor while the packets go out does not split the transfer.
TEST_F(FpgaDownloadTest, TheSensorSelectedAtThePressTakesTheWholeDownload) {
    const std::string code = Pattern(62 * 5);
    state.g_SensorSel = kSlave;
    Download(WriteFile("a.bin", code), [&](int, int) { state.g_SensorSel = kMaster; });
    const auto transfer = firmware().completedTransfer(kSlave, sim::CodeTarget::Packet);
    EXPECT_EQ(transfer.packets, 5);
    EXPECT_EQ(firmware().completedTransferCount(kMaster, sim::CodeTarget::Packet), 0);
    EXPECT_EQ(Sent(kPacket), 0);
}

TEST_F(FpgaDownloadTest, RunningPreviewIsStoppedFirst) {
    // A stand-in for the preview worker in its slot: it runs until it is stopped.
    int previewTag = 0;
    WorkerSlot preview(state.g_PreviewThread, state.g_PreviewStopEvent, state.g_PreviewExitEvent);
    ASSERT_TRUE(preview.Start(&previewTag, [&] { state.g_PreviewStopEvent.Wait(INFINITE); }));
    Download(WriteFile("a.bin", Pattern(62)));
    EXPECT_EQ(state.g_PreviewThread, nullptr);
    preview.Stop();
    EXPECT_EQ(view.caption(control::kLeveling), "Preview");
    EXPECT_NE(view.pane().find("Success!\n"), std::string::npos);
}

}  // namespace
}  // namespace tavlin::testing
