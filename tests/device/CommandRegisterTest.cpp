// The single-value register requests: reports sent, pane lines, events and the Value box.
#include "CommandTestSupport.h"

namespace tavlin::testing {
namespace {

FakeReply Registers(const Report& out, size_t) {
    switch (out[1]) {
        case 0x05:
        case 0x18:
            return Accepted({0x77});
        case 0x06:
        case 0x19:
            return Accepted({0x5A});
        case 0x08:
        case 0x1B:
            return Accepted({0x3C});
        default:
            return Accepted();
    }
}

class RegisterRequestTest : public CommandThreadTest {
  protected:
    RegisterRequestTest() { transport.answer = Registers; }
    Event& done() { return state.g_RegAccessDoneEvent; }
};

TEST_F(RegisterRequestTest, WritesSendOneByteAndReportTheirAddressAndValue) {
    EXPECT_EQ(Request(WM_FPGA_PORT_WRITE, RegWriteBlock{0x10001234, 1, 0x1A5}, done()),
              WAIT_OBJECT_0);
    EXPECT_EQ(Request(WM_I2C_WRITE, RegWriteBlock{0x0100030C, 1, 0x40}, done()), WAIT_OBJECT_0);
    const auto sent = Sent();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ((std::vector<uint8_t>(sent[0].begin(), sent[0].begin() + 7)),
              (std::vector<uint8_t>{0x03, 0x17, 0x34, 0x12, 0x01, 0xA5, 0x00}));
    EXPECT_EQ((std::vector<uint8_t>(sent[1].begin(), sent[1].begin() + 5)),
              (std::vector<uint8_t>{0x03, 0x07, 0x0C, 0x40, 0x00}));
    EXPECT_EQ(host.pane(),
              (std::vector<std::string>{"Slave: FPGAPortWrite Addr: 0x1234  value: 0xa5\n",
                                        "Master: I2CWrite Addr: 0x000c  value: 0x40\n"}));
    EXPECT_EQ(host.cmdDone(), 2);
}

// One data byte, one byte read: anything else is refused before a report goes out, and the
// poster is told at once (error line and the usual event) rather than left to its time limit.
TEST_F(RegisterRequestTest, RequestsThatAreNotOneByteAreRefusedWithoutTraffic) {
    EXPECT_EQ(Request(WM_FPGA_PORT_WRITE, RegWriteBlock{0x0040, 2, 1}, done()), WAIT_OBJECT_0);
    EXPECT_EQ(Request(WM_FPGA_PORT_READ, RegReadBlock{0x0040, 0}, done()), WAIT_OBJECT_0);
    EXPECT_EQ(Request(WM_I2C_WRITE, RegWriteBlock{0x02013000, 1, 1}, done()), WAIT_OBJECT_0);
    EXPECT_EQ(ScriptRequest(WM_I2C_READ, RegReadBlock{0x02010000, 1}), WAIT_OBJECT_0);
    const uint8_t shortBlock[4] = {0x40, 0, 0, 0};
    EXPECT_EQ(WaitRequest(PostRequest(state, WM_FPGA_PORT_WRITE, shortBlock, 4), done(), 3000),
              WAIT_OBJECT_0);
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(host.pane(), (std::vector<std::string>{
                               "Master: FPGAPortWrite error\n", "Master: FPGAPortRead error\n",
                               "Master: I2CWrite error\n", "Master: I2C_Read error\n",
                               "Master: FPGAPortWrite error\n"}));
}

// The panel does not wait: the value goes to the Value box and nothing is signalled. A script
// marks its request and waits on the event; the Value box is then left alone.
TEST_F(RegisterRequestTest, SingleReadFromThePanelFillsTheValueBox) {
    const SingleReadBlock block{0x10001234};
    auto request = PostRequest(state, WM_FPGA_SINGLE_READ, &block, sizeof block);
    EXPECT_EQ(WaitRequest(request, done(), 3000), WAIT_TIMEOUT);
    EXPECT_EQ(done().Wait(0), WAIT_TIMEOUT);
    EXPECT_EQ(host.readValues(), std::vector<std::string>{"0x5a"});
    EXPECT_EQ(host.pane(),
              (std::vector<std::string>{"Slave: FPGASingleRead Addr: 0x1234  value: 0x5a\n"}));
    const auto sent = Sent();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ((std::vector<uint8_t>(sent[0].begin(), sent[0].begin() + 6)),
              (std::vector<uint8_t>{0x03, 0x19, 0x34, 0x12, 0x00, 0x00}));
    EXPECT_EQ(host.cmdDone(), 1);
}

TEST_F(RegisterRequestTest, SingleReadFromAScriptSignalsAndLeavesTheValueBox) {
    EXPECT_EQ(ScriptRequest(WM_FPGA_SINGLE_READ, SingleReadBlock{0x0010}), WAIT_OBJECT_0);
    EXPECT_EQ(ScriptRequest(WM_I2C_READ, RegReadBlock{0x01000005, 1}), WAIT_OBJECT_0);
    EXPECT_TRUE(host.readValues().empty());
    EXPECT_EQ(state.g_ScriptRequestEvent.Wait(0), WAIT_TIMEOUT);  // consumed by each read
    EXPECT_EQ(host.pane(),
              (std::vector<std::string>{"Master: FPGASingleRead Addr: 0x0010  value: 0x5a\n",
                                        "Master: I2C_Read Addr: 0x0005  value: 0x3c\n"}));
}

TEST_F(RegisterRequestTest, FailedReadShowsFfInTheValueBox) {
    transport.answer = [](const Report&, size_t) { return WithStatus(0x00); };
    EXPECT_EQ(Request(WM_I2C_READ, RegReadBlock{0x11000005, 1}, done()), WAIT_TIMEOUT);
    EXPECT_EQ(Request(WM_FPGA_SINGLE_READ, SingleReadBlock{0x0001}, done()), WAIT_TIMEOUT);
    EXPECT_EQ(host.readValues(), (std::vector<std::string>{"0xff", "0xff"}));
    EXPECT_EQ(host.pane(), (std::vector<std::string>{"Slave: I2C_Read error\n",
                                                     "Master: FPGASingleRead error\n"}));
}

// The poster's block may be reused at once: the thread works on the copy taken at posting.
TEST_F(RegisterRequestTest, TheBlockIsCopiedWhenPosted) {
    std::vector<RequestHandle> posted;
    RegWriteBlock block{0x0001, 1, 0x11};
    for (uint32_t i = 0; i < 20; ++i) {
        block.addr = i;
        block.data = i;
        posted.push_back(PostRequest(state, WM_FPGA_PORT_WRITE, &block, sizeof block));
    }
    block = RegWriteBlock{0xFFFF, 9, 0xEE};
    for (auto& r : posted) {
        ASSERT_EQ(WaitRequest(r, done(), 3000), WAIT_OBJECT_0);
    }
    const auto sent = Sent();
    ASSERT_EQ(sent.size(), 20u);
    for (uint8_t i = 0; i < 20; ++i) {
        EXPECT_EQ(sent[i][2], i);
        EXPECT_EQ(sent[i][5], i);
    }
}

}  // namespace
}  // namespace tavlin::testing
