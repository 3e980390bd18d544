// Requests served by what their poster said they mean, while another poster changes the shared
// selections between this poster's decision and its post, and again before the command thread
// gets to the request.
#include <array>

#include "CommandTestSupport.h"
#include "sim/SimTransport.h"

namespace tavlin::testing {
namespace {

// Holds the command thread once, after it has served the barrier request, until released: what
// is posted meanwhile waits in the queue, so the test can change the shared selections between
// a post and its serving.
class HoldingHost : public RecordingHost {
  public:
    void PostCmdDone() override {
        RecordingHost::PostCmdDone();
        if (holdNext_.exchange(false)) {
            held_.Set();
            release_.Wait(INFINITE);
        }
    }
    void HoldNext() { holdNext_ = true; }
    void WaitHeld() { held_.Wait(INFINITE); }
    void Release() { release_.Set(); }

  private:
    std::atomic<bool> holdNext_{false};
    Event held_;
    Event release_;
};

class RequestParametersTest : public ::testing::Test {
  protected:
    RequestParametersTest() {
        device.setTimeoutMs(100);
        uint16_t pid = 0;
        EXPECT_EQ(OpenHidDevice(device, &pid), 1);
        sim.recorder().SetEnabled(true);
        thread.Start();
    }
    ~RequestParametersTest() override {
        host.Release();  // in case a failed assertion left the thread held
        PostRequest(state, WM_EXIT_CMD_THREAD);
        thread.Join();
    }
    // Returns once the command thread is held; everything posted from now on waits.
    void Hold() {
        host.HoldNext();
        ASSERT_TRUE(PostRequest(state, kUnhandledMessage));
        host.WaitHeld();
    }
    // A packet for the Master; the leveling window selects the Slave, and the transfer state
    // moves on, after the sender decided and before it posts.
    RequestHandle CodePacket(uint8_t fill, uint8_t phase) {
        RequestMeaning meaning;
        meaning.sensor = kMaster;
        meaning.transferPhase = phase;
        state.g_SensorSel = kSlave;
        state.g_ImageTransferState = kTransferLast;
        const std::vector<uint8_t> packet(62, fill);
        return PostRequest(state, WM_CODE_PACKET, meaning, packet.data(), packet.size(), 62);
    }
    static RequestMeaning For(int sensor, int startLine = 0) {
        RequestMeaning meaning;
        meaning.sensor = sensor;
        meaning.startLine = startLine;
        return meaning;
    }
    uint32_t Wait(const RequestHandle& request, Event& event) {
        return WaitRequest(request, event, 3000);
    }
    int Sent(uint8_t command) {
        int n = 0;
        for (const auto& r : sim.recorder().outReports()) {
            n += r[1] == command ? 1 : 0;
        }
        return n;
    }

    sim::SimTransport sim;
    HidDevice device{sim};
    SharedState state;
    HoldingHost host;
    CommandThread thread{state, device, host};
};

// An image transfer to the Master while the leveling window selects the Slave, and while the
// sender has already moved on to the last packet when a middle one is served: the Master's area
// collects the whole transfer, the Slave's nothing.
TEST_F(RequestParametersTest, CodePacketsKeepTheSensorAndPhaseTheirSenderPostedWith) {
    Hold();
    const RequestHandle first = CodePacket(0x11, kTransferFirst);
    state.g_ImageTransferState = kTransferIdle;
    host.Release();
    ASSERT_EQ(Wait(first, state.g_CodePacketEvent), WAIT_OBJECT_0);

    Hold();
    const RequestHandle middle = CodePacket(0x22, kTransferOn);
    state.g_ImageTransferState = kTransferFirst;
    host.Release();
    ASSERT_EQ(Wait(middle, state.g_CodePacketEvent), WAIT_OBJECT_0);
    ASSERT_EQ(Wait(CodePacket(0x33, kTransferLast), state.g_CodePacketEvent), WAIT_OBJECT_0);

    EXPECT_EQ(Sent(kFirstPacketFlag | cmd::kCodePacketMaster), 1);
    EXPECT_EQ(Sent(cmd::kCodePacketMaster), 1);
    EXPECT_EQ(Sent(kLastPacketFlag | cmd::kCodePacketMaster), 1);
    const auto transfer = sim.firmware().completedTransfer(kMaster, sim::CodeTarget::Packet);
    EXPECT_EQ(transfer.packets, 3);
    ASSERT_EQ(transfer.bytes.size(), 3u * 62);
    EXPECT_EQ(transfer.bytes[0], 0x11);
    EXPECT_EQ(transfer.bytes[62], 0x22);
    EXPECT_EQ(transfer.bytes[124], 0x33);
    EXPECT_EQ(sim.firmware().completedTransferCount(kSlave, sim::CodeTarget::Packet), 0);
    EXPECT_TRUE(sim.firmware().anomalies().empty());
}

// The version button asks for the Master while the leveling window selects the Slave, and the
// other way round for a version information record.
TEST_F(RequestParametersTest, VersionReadsAnswerTheSensorTheirPosterSelected) {
    sim.firmware().setImageVersion(kMaster, 0x01020304);
    sim.firmware().setImageVersion(kSlave, 0x0A0B0C0D);
    Hold();
    const RegReadBlock version{0x02013000, 4};
    const RequestMeaning master = For(kMaster);
    state.g_SensorSel = kSlave;
    const RequestHandle read =
        PostRequest(state, WM_READ_IMAGE_VERSION, master, &version, sizeof version);
    state.g_SensorSel = kBothSensors;
    host.Release();
    ASSERT_EQ(Wait(read, state.g_ReadImageVersionEvent), WAIT_OBJECT_0);
    EXPECT_EQ(state.g_ImageVersionM, 0x01020304u);
    EXPECT_EQ(state.g_ImageVersionS, 0u);
    EXPECT_EQ(Sent(cmd::kImageVersionReadMaster), 1);
    EXPECT_EQ(Sent(cmd::kImageVersionReadSlave), 0);

    // The Slave's record is written and read back while the Master is selected meanwhile.
    AreaWriteBlock record{{0x00, 0x00, 0x01}, kVersionInfoSize, {}};
    for (size_t i = 0; i < kVersionInfoSize; ++i) {
        record.data[i] = static_cast<uint8_t>(0xC0 + i);
    }
    Hold();
    const RequestMeaning slave = For(kSlave);
    state.g_SensorSel = kMaster;
    const RequestHandle write =
        PostRequest(state, WM_WRITE_VERSION_INFO, slave, &record, sizeof record);
    const VersionInfoReadBlock info{0x02010000, 38};
    const RequestHandle infoRead =
        PostRequest(state, WM_READ_VERSION_INFO, slave, &info, sizeof info);
    host.Release();
    ASSERT_EQ(Wait(write, state.g_WriteVersionInfoEvent), WAIT_OBJECT_0);
    ASSERT_EQ(Wait(infoRead, state.g_ReadVersionInfoEvent), WAIT_OBJECT_0);
    EXPECT_EQ(sim.firmware().versionInfo(kSlave)[0], 0xC0);
    EXPECT_EQ(sim.firmware().versionInfo(kMaster)[0], 0x00);
    EXPECT_EQ(state.g_VersionInfoS[37], 0xC0 + 37);
    EXPECT_EQ(state.g_VersionInfoM, (std::array<uint8_t, kVersionInfoSize>{}));
}

// A slider of the Master posts its start line; before it posts, and again before it is served,
// the search (or the other slider) changes the shared start line and selection. The device gets
// what the slider said.
TEST_F(RequestParametersTest, StartLineConfigurationSendsThePostedSensorsPostedLine) {
    int worker = 0;
    state.g_PreviewThread = &worker;
    Hold();
    state.g_StartLineM = 250;
    const RequestMeaning slider = For(kMaster, 250);
    state.g_SensorSel = kSlave;  // the search's next configuration lands before this post
    state.g_StartLineM = 240;
    const RequestHandle config = PostRequest(state, WM_CONFIG_START_LINE, slider);
    state.g_StartLineM = 260;
    state.g_StartLineS = 270;
    host.Release();
    ASSERT_EQ(Wait(config, state.g_ConfigStartLineEvent), WAIT_OBJECT_0);
    EXPECT_EQ(state.g_OptimumStartLine, 1);
    EXPECT_EQ(sim.firmware().startLine(kMaster), 250);
    EXPECT_EQ(Sent(cmd::kStartLineConfig + cmd::kSlaveOffset), 0);
    state.g_PreviewThread = nullptr;
}

// The register panel reads while a script's read is marked on g_ScriptRequestEvent: the panel's
// value goes to the Value box, and the script gets its own answer.
TEST_F(RequestParametersTest, APanelReadNeverTakesTheAnswerOfAScriptsRead) {
    sim.firmware().setFpgaRegister(kMaster, 0x0020, 0x5A);
    sim.firmware().setFpgaRegister(kMaster, 0x0021, 0xA5);
    Hold();
    state.g_ScriptRequestEvent.Set();  // the script marks its request, then posts it
    const SingleReadBlock panelRead{0x0020};
    const RequestHandle panel =
        PostRequest(state, WM_FPGA_SINGLE_READ, &panelRead, sizeof panelRead);
    const SingleReadBlock scriptRead{0x0021};
    const RequestHandle script =
        PostScriptRequest(state, WM_FPGA_SINGLE_READ, &scriptRead, sizeof scriptRead);
    host.Release();
    EXPECT_EQ(Wait(script, state.g_RegAccessDoneEvent), WAIT_OBJECT_0);
    EXPECT_EQ(Wait(panel, state.g_RegAccessDoneEvent), WAIT_TIMEOUT);  // the panel never waits
    EXPECT_EQ(host.readValues(), std::vector<std::string>{"0x5a"});
    EXPECT_EQ(state.g_ScriptRequestEvent.Wait(0), WAIT_TIMEOUT);  // the script's mark was taken
}

}  // namespace
}  // namespace tavlin::testing
