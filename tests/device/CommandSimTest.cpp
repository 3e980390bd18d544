// The command thread against the simulated device, its faults included.
#include <chrono>

#include "CommandTestSupport.h"
#include "sim/SimTransport.h"

namespace tavlin::testing {
namespace {

using namespace std::chrono_literals;

class CommandSimTest : public ::testing::Test {
  protected:
    CommandSimTest() {
        dir = std::filesystem::temp_directory_path() /
              ("tavlin-cmdsim-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        SetLogFilePath((dir / "Tavlin_log.txt").string());
        sim.recorder().SetEnabled(true);
        device.setTimeoutMs(100);
        uint16_t pid = 0;
        EXPECT_EQ(OpenHidDevice(device, &pid), 1);
        thread.Start();
    }
    ~CommandSimTest() override {
        PostRequest(state, WM_EXIT_CMD_THREAD);
        thread.Join();
        std::filesystem::remove_all(dir);
    }
    template <class Block>
    uint32_t Request(uint32_t id, const Block& block, Event& event) {
        return WaitRequest(PostRequest(state, id, meaning, &block, sizeof block), event, 3000);
    }
    Event& done() { return state.g_RegAccessDoneEvent; }

    sim::SimTransport sim;
    HidDevice device{sim};
    SharedState state;
    RequestMeaning meaning;  // what Request() posts with
    RecordingHost host;
    CommandThread thread{state, device, host};
    std::filesystem::path dir;
};

TEST_F(CommandSimTest, ARegisterWrittenIsReadBackThroughTheWholeStack) {
    ASSERT_EQ(Request(WM_FPGA_PORT_WRITE, RegWriteBlock{0x10000123, 1, 0x5A}, done()),
              WAIT_OBJECT_0);
    EXPECT_EQ(sim.firmware().fpgaRegister(1, 0x0123), 0x5A);
    const SingleReadBlock read{0x10000123};
    ASSERT_EQ(WaitRequest(PostScriptRequest(state, WM_FPGA_SINGLE_READ, &read, sizeof read), done(),
                          3000),
              WAIT_OBJECT_0);
    EXPECT_EQ(host.pane().back(), "Slave: FPGASingleRead Addr: 0x0123  value: 0x5a\n");
}

TEST_F(CommandSimTest, BothSensorVersionsComeFromOneRead) {
    sim.firmware().setImageVersion(0, 0x01020304);
    sim.firmware().setImageVersion(1, 0x0A0B0C0D);
    meaning.sensor = kBothSensors;
    ASSERT_EQ(
        Request(WM_READ_IMAGE_VERSION, RegReadBlock{0x02013000, 4}, state.g_ReadImageVersionEvent),
        WAIT_OBJECT_0);
    EXPECT_EQ(state.g_ReadImageVersionSuc, 1);
    EXPECT_EQ(state.g_ImageVersionM, 0x01020304u);
    EXPECT_EQ(state.g_ImageVersionS, 0x0A0B0C0Du);
    EXPECT_EQ(sim.recorder().outReports().size(), 1u);
}

TEST_F(CommandSimTest, NoReplyAndRefusedReplyAreErrorsNotSuccesses) {
    sim.faults().NoReplyTo(0x06);
    sim.faults().Refuse(0x17);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Request(WM_FPGA_SINGLE_READ, SingleReadBlock{0x0001}, done()), WAIT_TIMEOUT);
    EXPECT_GE(std::chrono::steady_clock::now() - start, 90ms);
    EXPECT_EQ(Request(WM_FPGA_PORT_WRITE, RegWriteBlock{0x10000001, 1, 1}, done()), WAIT_OBJECT_0);
    EXPECT_EQ(host.readValues(), std::vector<std::string>{"0xff"});
    EXPECT_EQ(host.pane(), (std::vector<std::string>{"Master: FPGASingleRead error\n",
                                                     "Slave: FPGAPortWrite error\n"}));
    // The late reply of the timed-out read is not taken for the next exchange's.
    sim.faults().Clear();
    sim.firmware().setFpgaRegister(0, 0x0002, 0x33);
    EXPECT_EQ(Request(WM_FPGA_PORT_READ, RegReadBlock{0x0002, 1}, done()), WAIT_OBJECT_0);
    EXPECT_EQ(host.pane().back(), "Master: FPGAPortRead Addr: 0x0002  value: 0x33\n");
}

TEST_F(CommandSimTest, CalibrationPointWithoutAnswerLeavesTheWorkerToItsLimit) {
    int worker = 0;
    state.g_CalThread = &worker;
    sim.faults().NoReplyTo(0x1E);
    const uint8_t payload[7] = {0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(
        WaitRequest(PostRequest(state, WM_CAL_POINT, payload, 7), state.g_CalPointEvent, 3000),
        WAIT_TIMEOUT);
    EXPECT_EQ(state.g_CalPointFlag, 0);
    EXPECT_EQ(state.g_CalCheckFlag, 0);
    EXPECT_EQ(state.g_isDeviceCommunicate, 0);
    EXPECT_EQ(state.g_CalPointEvent.Wait(0), WAIT_TIMEOUT);
}

// Unplugged in the middle of a read: that request and every later one fail, each with its
// flag at 0 and its error line, and no poster is left waiting.
TEST_F(CommandSimTest, UnpluggingMidRequestFailsEveryRequestCleanly) {
    sim.faults().UnplugAt(0x05);
    EXPECT_EQ(Request(WM_FPGA_PORT_READ, RegReadBlock{0x0010, 1}, done()), WAIT_OBJECT_0);
    EXPECT_FALSE(sim.attached());
    EXPECT_EQ(Request(WM_I2C_WRITE, RegWriteBlock{0x01000010, 1, 2}, done()), WAIT_OBJECT_0);
    const uint8_t mode = 0xFF;
    EXPECT_EQ(
        WaitRequest(PostRequest(state, WM_SWITCH_MODE, &mode, 1), state.g_WorkSwitchEvent, 3000),
        WAIT_OBJECT_0);
    EXPECT_EQ(state.g_isWorkSwitchSuc, 0);
    EXPECT_EQ(Request(WM_READ_VERSION_INFO, VersionInfoReadBlock{0x02010000, 38},
                      state.g_ReadVersionInfoEvent),
              WAIT_OBJECT_0);
    EXPECT_EQ(state.g_ReadImageVersionSuc, 0);
    EXPECT_EQ(host.pane(), (std::vector<std::string>{"Master: FPGAPortRead error\n",
                                                     "Master: I2CWrite error\n"}));
    EXPECT_EQ(host.cmdDone(), 4);
}

}  // namespace
}  // namespace tavlin::testing
