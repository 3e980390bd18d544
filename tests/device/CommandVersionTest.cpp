// Mode, update control and version requests; the thread's lifecycle.
#include <thread>

#include "CommandTestSupport.h"

namespace tavlin::testing {
namespace {

class VersionRequestTest : public CommandThreadTest {
  protected:
    VersionRequestTest() {
        transport.answer = [](const Report& out, size_t) {
            switch (out[1]) {
                case 0x36: {
                    std::vector<uint8_t> record(38);
                    for (size_t i = 0; i < record.size(); ++i) {
                        record[i] = static_cast<uint8_t>(i + 1);
                    }
                    return Accepted(record);
                }
                case 0x0E:
                    return out[2] == 0xEE ? WithStatus(0x00) : Accepted();
                default:
                    return Accepted();
            }
        };
    }
};

TEST_F(VersionRequestTest, AFailedVersionReadFillsFfAndOtherAreasAreRefused) {
    transport.answer = [](const Report&, size_t) { return TimedOut(); };
    ASSERT_EQ(
        Request(WM_READ_IMAGE_VERSION, RegReadBlock{0x02013000, 4}, state.g_ReadImageVersionEvent),
        WAIT_OBJECT_0);
    EXPECT_EQ(state.g_ReadImageVersionSuc, 0);
    EXPECT_EQ(state.g_ImageVersionM, 0xFFFFFFFFu);
    Sent();
    ASSERT_EQ(
        Request(WM_READ_IMAGE_VERSION, RegReadBlock{0x02010000, 4}, state.g_ReadImageVersionEvent),
        WAIT_OBJECT_0);
    ASSERT_EQ(Request(WM_READ_VERSION_INFO, VersionInfoReadBlock{0x02013000, 38},
                      state.g_ReadVersionInfoEvent),
              WAIT_OBJECT_0);
    AreaWriteBlock toCodeArea{{0x00, 0x40, 0x00}, 2, {}};
    ASSERT_EQ(Request(WM_WRITE_IMAGE_VERSION, toCodeArea, state.g_WriteImageVersionEvent),
              WAIT_OBJECT_0);
    EXPECT_EQ(state.g_ReadImageVersionSuc, 0);
    EXPECT_TRUE(Sent().empty());
}

TEST_F(VersionRequestTest, VersionInfoIsReadIntoTheSelectedRecordAndWrittenAsPosted) {
    meaning.sensor = kSlave;
    ASSERT_EQ(Request(WM_READ_VERSION_INFO, VersionInfoReadBlock{0x02010000, 38},
                      state.g_ReadVersionInfoEvent),
              WAIT_OBJECT_0);
    EXPECT_EQ(state.g_VersionInfoS[37], 38);
    EXPECT_EQ(state.g_VersionInfoM[0], 0);
    AreaWriteBlock info{{0x00, 0x00, 0x01}, 3, {7, 8, 9}};
    meaning.sensor = kMaster;
    ASSERT_EQ(Request(WM_WRITE_VERSION_INFO, info, state.g_WriteVersionInfoEvent), WAIT_OBJECT_0);
    EXPECT_EQ(state.g_ReadImageVersionSuc, 1);
    const auto sent = Sent();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ((std::vector<uint8_t>(sent[1].begin() + 1, sent[1].begin() + 10)),
              (std::vector<uint8_t>{0x31, 0x00, 0x00, 0x01, 3, 7, 8, 9, 0}));
}

TEST_F(VersionRequestTest, ModeSwitchAndUpdateControlSetTheirFlags) {
    const uint8_t work = 0x22;
    const uint8_t leveled = 0xEE;
    EXPECT_EQ(
        WaitRequest(PostRequest(state, WM_SWITCH_MODE, &work, 1), state.g_WorkSwitchEvent, 3000),
        WAIT_OBJECT_0);
    EXPECT_EQ(state.g_isWorkSwitchSuc, 1);
    EXPECT_EQ(
        WaitRequest(PostRequest(state, WM_SWITCH_MODE, &leveled, 1), state.g_WorkSwitchEvent, 3000),
        WAIT_OBJECT_0);
    EXPECT_EQ(state.g_isWorkSwitchSuc, 0);
    const uint8_t code = 0x42;
    EXPECT_EQ(
        WaitRequest(PostRequest(state, WM_UPDATE_CONTROL, &code, 1), state.g_UpdateCtrlEvent, 3000),
        WAIT_OBJECT_0);
    EXPECT_EQ(state.g_UpdateCtrlSuc, 1);
    // No mode byte at all: refused, not read past the block.
    EXPECT_EQ(Request(WM_SWITCH_MODE, state.g_WorkSwitchEvent), WAIT_OBJECT_0);
    EXPECT_EQ(state.g_isWorkSwitchSuc, 0);
    EXPECT_EQ(Sent().size(), 3u);
    EXPECT_EQ(host.cmdDone(), 4);
}

TEST_F(VersionRequestTest, AQuitDoesNotEndTheThreadAndUnknownIdsRefresh) {
    thread.queue().PostQuit();
    EXPECT_EQ(WaitRequest(PostRequest(state, WM_USER + 122), state.g_RegAccessDoneEvent, 3000),
              WAIT_TIMEOUT);
    EXPECT_EQ(Request(WM_CAL_PARAM, CalParamBlock{1, 2}, state.g_CalParamEvent), WAIT_OBJECT_0);
    EXPECT_EQ(host.cmdDone(), 2);
    EXPECT_EQ(state.g_CmdThread, &thread);
}

// Exit settles every request still queued, so no waiter hangs even without a limit; later
// posts fail.
TEST_F(VersionRequestTest, ExitSettlesQueuedRequestsAndLaterPostsFail) {
    std::atomic<bool> release{false};
    transport.answer = [&](const Report&, size_t) {
        while (!release) {
            std::this_thread::yield();
        }
        return Accepted();
    };
    const uint8_t mode = 0x22;
    auto busy = PostRequest(state, WM_SWITCH_MODE, &mode, 1);
    auto exit = PostRequest(state, WM_EXIT_CMD_THREAD);
    auto left = PostRequest(state, WM_SWITCH_MODE, &mode, 1);
    std::thread waiter(
        [&] { EXPECT_EQ(WaitRequest(left, state.g_WorkSwitchEvent, INFINITE), WAIT_TIMEOUT); });
    release = true;
    EXPECT_EQ(WaitRequest(busy, state.g_WorkSwitchEvent, 3000), WAIT_OBJECT_0);
    EXPECT_EQ(WaitRequest(exit, state.g_CmdThreadExitEvent, 3000), WAIT_OBJECT_0);
    waiter.join();
    thread.Join();
    EXPECT_EQ(state.g_CmdThread, nullptr);
    EXPECT_EQ(PostRequest(state, WM_SWITCH_MODE, &mode, 1), nullptr);
    EXPECT_EQ(WaitRequest(nullptr, state.g_WorkSwitchEvent, INFINITE), WAIT_FAILED);
    EXPECT_EQ(host.cmdDone(), 1);
}

// A request whose poster gave up is still served, but publishes nothing and signals nothing: by
// then a later request's poster may be reading the shared results and waiting on the event.
TEST_F(VersionRequestTest, ARequestGivenUpPublishesNothingAndSignalsNothing) {
    state.g_ImageVersionM = 0x12345678;
    transport.answer = [](const Report&, size_t) {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        return Accepted({1, 2, 3, 4});
    };
    const RegReadBlock block{0x02013000, 4};
    const RequestHandle request =
        PostRequest(state, WM_READ_IMAGE_VERSION, meaning, &block, sizeof block);
    EXPECT_EQ(WaitRequest(request, state.g_ReadImageVersionEvent, 20), WAIT_TIMEOUT);
    ASSERT_EQ(request->handled.Wait(3000), WAIT_OBJECT_0);
    EXPECT_TRUE(request->result.ok()) << request->result.describe();
    EXPECT_FALSE(request->signalled);
    EXPECT_EQ(state.g_ImageVersionM, 0x12345678u);
    EXPECT_NE(state.g_ReadImageVersionEvent.Wait(0), WAIT_OBJECT_0);
}

// The reason travels with the request: a refusal names the status and the command.
TEST_F(VersionRequestTest, ARefusedRequestCarriesItsReason) {
    transport.answer = [](const Report&, size_t) { return WithStatus(0x23); };
    const uint8_t mode = 0xFF;
    const RequestHandle request = PostRequest(state, WM_SWITCH_MODE, &mode, sizeof mode);
    ASSERT_EQ(WaitRequest(request, state.g_WorkSwitchEvent, 3000), WAIT_OBJECT_0);
    EXPECT_EQ(request->result.code(), ResultCode::Refused);
    EXPECT_EQ(request->result.reason(), "status 0x23 for command 0x0E");
    EXPECT_EQ(state.g_isWorkSwitchSuc, 0);
}

}  // namespace
}  // namespace tavlin::testing
