// Leveling and calibration requests: their guards, fills and events; code packets.
#include <chrono>

#include "CommandTestSupport.h"

namespace tavlin::testing {
namespace {

class GuardedRequestTest : public CommandThreadTest {
  protected:
    GuardedRequestTest() {
        state.AllocatePreviewBuffers();
        transport.answer = [this](const Report& out, size_t) { return Answer(out); };
    }
    FakeReply Answer(const Report& out) {
        if (refuse == out[1]) {
            return WithStatus(0x01);
        }
        switch (out[1]) {
            case 0x11:
                return Accepted({0x10, 0x01});  // start line 272
            case 0x24:
                return Accepted({0x20, 0x01});  // 288
            case 0x13:
                return Accepted({0x64, 0x00, 0xC8, 0x00});  // 100, 200
            case 0x14:
            case 0x27:
                return Accepted({0x22, 1, 2, 3, 4, 5, 6, 7, 0x21, 0x43, 0x65, 0x07});
            case 0x2A:
                return Accepted({0x05, 0x06, 0x0A, 0x00, 0x0B, 0x00});
            case 0x2B:
                return Accepted({0x07, 0x08, 0x0C, 0x00, 0x0D, 0x00});
            case 0x1E:
                return Accepted(calReply);
            default:
                if ((out[1] & 0x3F) <= 1) {  // preview rows: the source's low byte
                    return Accepted(std::vector<uint8_t>(out[4], out[2]));
                }
                return Accepted();
        }
    }
    int refuse = -1;
    std::vector<uint8_t> calReply = {0, 0, 0, 0, 0};
    int worker = 0;  // what the worker handles point to
};

// Without its worker a guarded request sends nothing and signals nothing; the poster's wait
// returns as soon as it was dropped. Only 1135 and 1142 skip the refresh.
TEST_F(GuardedRequestTest, WithoutTheirWorkerRequestsAreDroppedAndWaitsReturnAtOnce) {
    const PreviewChunkRequest preview{0, 0, 4, 0};
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Request(WM_GET_PREVIEW_DATA, preview, state.g_PreviewDataEvent), WAIT_TIMEOUT);
    EXPECT_EQ(
        Request(WM_SEARCH_START_LINE, StartLineSearchParam{200, 300}, state.g_SearchStartLineEvent),
        WAIT_TIMEOUT);
    EXPECT_EQ(Request(WM_CONFIG_START_LINE, state.g_ConfigStartLineEvent), WAIT_TIMEOUT);
    EXPECT_EQ(Request(WM_SEARCH_COLUMN, state.g_SearchColumnEvent), WAIT_TIMEOUT);
    EXPECT_EQ(Request(WM_OPTIMIZE_LINE, state.g_OptimumLineEvent), WAIT_TIMEOUT);
    EXPECT_EQ(Request(WM_EXPOSURE, state.g_ExposureEvent), WAIT_TIMEOUT);
    EXPECT_EQ(Request(WM_CAL_INIT, state.g_CalInitEvent), WAIT_TIMEOUT);
    EXPECT_EQ(Request(WM_CAL_POINT, CalPointBlock{}, state.g_CalPointEvent), WAIT_TIMEOUT);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(host.cmdDone(), 6);
    // The parameter pair has no guard.
    EXPECT_EQ(Request(WM_CAL_PARAM, CalParamBlock{1, 2}, state.g_CalParamEvent), WAIT_OBJECT_0);
    EXPECT_EQ(state.g_CalParamSuc, 1);
    EXPECT_EQ(state.g_StartLineM, 255);
    EXPECT_EQ(state.g_SearchStartLineEvent.Wait(0), WAIT_TIMEOUT);
}

TEST_F(GuardedRequestTest, LevelingRequestsFillBothSensorsWhileThePreviewRuns) {
    state.g_PreviewThread = &worker;
    ASSERT_EQ(
        Request(WM_SEARCH_START_LINE, StartLineSearchParam{200, 300}, state.g_SearchStartLineEvent),
        WAIT_OBJECT_0);
    EXPECT_EQ(state.g_StartLineM, 272);
    EXPECT_EQ(state.g_StartLineS, 288);
    EXPECT_EQ(state.g_SearchStartLine, 1);

    meaning.sensor = kSlave;
    meaning.startLine = state.g_StartLineS;
    ASSERT_EQ(Request(WM_CONFIG_START_LINE, state.g_ConfigStartLineEvent), WAIT_OBJECT_0);
    EXPECT_EQ(state.g_OptimumStartLine, 1);
    EXPECT_EQ(Sent().back()[1], 0x25);  // the Slave's configuration

    meaning.sensor = kMaster;
    ASSERT_EQ(Request(WM_SEARCH_COLUMN, state.g_SearchColumnEvent), WAIT_OBJECT_0);
    EXPECT_EQ(state.g_ColumnM[0], 100);
    EXPECT_EQ(state.g_ColumnM[1], 200);
    EXPECT_EQ(state.g_ColumnS[0], 255);

    ASSERT_EQ(Request(WM_OPTIMIZE_LINE, state.g_OptimumLineEvent), WAIT_OBJECT_0);
    EXPECT_EQ(state.g_OptimumLineFlag, 1);
    EXPECT_EQ(state.g_LineInfoS[2].position, 30);
    EXPECT_EQ(state.g_LineInfoS[3].level, 4);  // high nibble of 0x43

    ASSERT_EQ(Request(WM_EXPOSURE, state.g_ExposureEvent), WAIT_OBJECT_0);
    EXPECT_EQ(state.g_isExposureSuc, 1);
    EXPECT_EQ(state.g_ExposureM[0], 0x06);
    EXPECT_EQ(state.g_ExposureS[1], 0x07);
    EXPECT_EQ(state.g_ColumnS[1], 13);
    // 1142 does not refresh the window; the other four do.
    EXPECT_EQ(host.cmdDone(), 4);
}

TEST_F(GuardedRequestTest, AMasterFailureSkipsTheSlaveAndLeavesFillValues) {
    state.g_PreviewThread = &worker;
    state.g_ColumnM[0] = 40;
    refuse = 0x11;
    ASSERT_EQ(
        Request(WM_SEARCH_START_LINE, StartLineSearchParam{200, 300}, state.g_SearchStartLineEvent),
        WAIT_OBJECT_0);
    EXPECT_EQ(state.g_StartLineM, 0xFFFF);
    EXPECT_EQ(state.g_StartLineS, 255);
    EXPECT_EQ(state.g_SearchStartLine, 0);
    EXPECT_EQ(Sent().size(), 1u);
    refuse = 0x2A;
    ASSERT_EQ(Request(WM_EXPOSURE, state.g_ExposureEvent), WAIT_OBJECT_0);
    EXPECT_EQ(state.g_isExposureSuc, 0);
    EXPECT_EQ(state.g_isDeviceCommunicate, 0);
    EXPECT_EQ(state.g_ExposureM[0], 0xFF);
    EXPECT_EQ(state.g_ColumnM[0], 40);  // left as it was
    EXPECT_EQ(Sent().size(), 1u);
    refuse = 0x14;
    ASSERT_EQ(Request(WM_OPTIMIZE_LINE, state.g_OptimumLineEvent), WAIT_OBJECT_0);
    EXPECT_EQ(state.g_LineInfoM[0].position, 0xFFFF);
    EXPECT_EQ(state.g_OptimumLineFlag, 0);
}

TEST_F(GuardedRequestTest, PreviewRowsLandAtTheirOffsetAndOverrunsAreRefused) {
    state.g_PreviewThread = &worker;
    ASSERT_EQ(Request(WM_GET_PREVIEW_DATA, PreviewChunkRequest{1, 0x0280, 3, 640},
                      state.g_PreviewDataEvent),
              WAIT_OBJECT_0);
    EXPECT_EQ(state.g_PreviewSucFlag, 1);
    EXPECT_EQ(state.g_PreviewBufM.load()[640], 0x80);
    EXPECT_EQ(state.g_PreviewBufS.load()[642], 0x80);
    EXPECT_EQ(state.g_PreviewBufS.load()[643], 0x00);
    const auto sent = Sent();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ((std::vector<uint8_t>{sent[0][1], sent[1][1]}), (std::vector<uint8_t>{0x80, 0x81}));
    ASSERT_EQ(
        Request(WM_GET_PREVIEW_DATA, PreviewChunkRequest{0, 0, 61, 5740}, state.g_PreviewDataEvent),
        WAIT_OBJECT_0);
    EXPECT_EQ(state.g_PreviewSucFlag, 0);
    EXPECT_EQ(state.g_isDeviceCommunicate, 0);
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(host.cmdDone(), 0);
}

TEST_F(GuardedRequestTest, CalibrationPointOutcomes) {
    state.g_CalThread = &worker;
    ASSERT_EQ(Request(WM_CAL_INIT, state.g_CalInitEvent), WAIT_OBJECT_0);
    EXPECT_EQ(state.g_CalDataInitSuc, 1);
    state.g_CalPointCount = 5;
    calReply = {0, 1, 0, 0, 9};  // r = 2
    ASSERT_EQ(Request(WM_CAL_POINT, CalPointBlock{{1, 2, 3, 4, 5, 6}, 0}, state.g_CalPointEvent),
              WAIT_OBJECT_0);
    EXPECT_EQ(state.g_CalPointFlag, 1);
    EXPECT_EQ(state.g_CalPointCount, 5);
    const auto sent = Sent();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ((std::vector<uint8_t>(sent[1].begin() + 1, sent[1].begin() + 8)),
              (std::vector<uint8_t>{0x1E, 1, 2, 3, 4, 5, 6}));
    calReply = {0, 0, 0, 0, 0};  // r = 0
    ASSERT_EQ(Request(WM_CAL_POINT, CalPointBlock{{}, 0}, state.g_CalPointEvent), WAIT_OBJECT_0);
    EXPECT_EQ(state.g_CalPointFlag, 0);
    EXPECT_EQ(state.g_CalPointCount, 0);
    ASSERT_EQ(Request(WM_CAL_POINT, CalPointBlock{{}, 1}, state.g_CalCheckEvent), WAIT_OBJECT_0);
    EXPECT_EQ(state.g_CalCheckFlag, 1);
    EXPECT_EQ(state.g_CalPointEvent.Wait(0), WAIT_TIMEOUT);
}

// No valid answer: flags cleared and no event; the worker's own limit applies.
TEST_F(GuardedRequestTest, CalibrationPointWithoutAnAnswerSignalsNothing) {
    state.g_CalThread = &worker;
    state.g_CalPointFlag = 1;
    transport.answer = [](const Report&, size_t) { return TimedOut(); };
    EXPECT_EQ(Request(WM_CAL_POINT, CalPointBlock{{}, 0}, state.g_CalPointEvent), WAIT_TIMEOUT);
    EXPECT_EQ(state.g_CalPointFlag, 0);
    EXPECT_EQ(state.g_isDeviceCommunicate, 0);
    EXPECT_EQ(state.g_CalCheckEvent.Wait(0), WAIT_TIMEOUT);
    EXPECT_EQ(host.cmdDone(), 1);
}

// The flags are the sender's; the transfer state is the sender's to move on, never the command
// thread's (a sender that gave up on a packet must not find it moved afterwards).
TEST_F(GuardedRequestTest, CodePacketsCarryTheFlagsTheirSenderMarked) {
    const std::vector<uint8_t> packet(62, 0xAB);
    state.g_ImageTransferState = kTransferFirst;
    meaning.sensor = kSlave;
    meaning.transferPhase = kTransferFirst;
    ASSERT_EQ(WaitRequest(PostRequest(state, WM_CODE_PACKET, meaning, packet.data(), 62, 62),
                          state.g_CodePacketEvent, 3000),
              WAIT_OBJECT_0);
    EXPECT_EQ(state.g_CodePacketSuc, 1);
    EXPECT_EQ(state.g_ImageTransferState, kTransferFirst);
    meaning.sensor = kMaster;
    meaning.transferPhase = kTransferLast;
    ASSERT_EQ(WaitRequest(PostRequest(state, WM_CODE_PACKET_2, meaning, packet.data(), 10, 10),
                          state.g_CodePacketEvent, 3000),
              WAIT_OBJECT_0);
    auto sent = Sent();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0][1], 0x9F);
    EXPECT_EQ(sent[0][63], 0xAB);
    EXPECT_EQ(sent[1][1], 0x6E);
    EXPECT_EQ(sent[1][11], 0xAB);
    EXPECT_EQ(sent[1][12], 0x00);
    // A length in lParam beyond the bytes posted is refused, never read past the block.
    ASSERT_EQ(WaitRequest(PostRequest(state, WM_CODE_PACKET, meaning, packet.data(), 4, 40),
                          state.g_CodePacketEvent, 3000),
              WAIT_OBJECT_0);
    EXPECT_EQ(state.g_CodePacketSuc, 0);
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(host.pane(), std::vector<std::string>{"CMD_FPGA_CODE_Process Failed!\n"});
}

}  // namespace
}  // namespace tavlin::testing
