// Burst transfers between FPGA registers and files: the truncate / append rule and refusals.
#include <cstring>
#include <fstream>
#include <iterator>

#include "CommandTestSupport.h"

namespace tavlin::testing {
namespace {

BurstBlock Burst(uint32_t addr, uint32_t length, const char* name) {
    BurstBlock b{addr, length, {}};
    std::memcpy(b.fileName, name, strnlen(name, sizeof b.fileName));
    return b;
}

class BurstTest : public CommandThreadTest {
  protected:
    BurstTest() {
        // A block read answers bytes 1, 2, 3, ... counting across reads.
        transport.answer = [this](const Report& out, size_t) {
            std::vector<uint8_t> data(out[4]);
            for (auto& b : data) {
                b = ++counter_;
            }
            return Accepted(data);
        };
    }
    std::string File(const std::string& name) {
        std::ifstream in(dir / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    void Put(const std::string& name, const std::string& bytes) {
        std::ofstream(dir / name, std::ios::binary) << bytes;
    }
    uint32_t Read(uint32_t length, const char* name) {
        return Request(WM_BURST_READ, Burst(0x0100, length, name), state.g_RegAccessDoneEvent);
    }
    uint8_t counter_ = 0;
};

TEST_F(BurstTest, ReadsToOneNameTruncateThenAppendUntilAnotherNameComesBetween) {
    Put("a.bin", "old contents");
    ASSERT_EQ(Read(2, "a.bin"), WAIT_OBJECT_0);
    ASSERT_EQ(Read(2, "a.bin"), WAIT_OBJECT_0);
    EXPECT_EQ(File("a.bin"), std::string("\x01\x02\x03\x04"));
    ASSERT_EQ(Read(1, "b.bin"), WAIT_OBJECT_0);
    ASSERT_EQ(Read(1, "a.bin"), WAIT_OBJECT_0);
    EXPECT_EQ(File("a.bin"), std::string("\x06"));
    EXPECT_EQ(File("b.bin"), std::string("\x05"));
    state.g_isBurstFileUsed = 0;  // a new script starts
    ASSERT_EQ(Read(1, "a.bin"), WAIT_OBJECT_0);
    EXPECT_EQ(File("a.bin"), std::string("\x07"));
    EXPECT_EQ(host.cmdDone(), 5);
}

TEST_F(BurstTest, AFailedReadTouchesNoFileAndDoesNotSignal) {
    Put("a.bin", "keep");
    transport.answer = [](const Report&, size_t) { return TimedOut(); };
    EXPECT_EQ(Read(4, "a.bin"), WAIT_TIMEOUT);
    EXPECT_EQ(File("a.bin"), "keep");
    EXPECT_EQ(state.g_isBurstFileUsed, 0);
    EXPECT_EQ(state.g_RegAccessDoneEvent.Wait(0), WAIT_TIMEOUT);
}

// Refused before any traffic: more than the 128-byte buffer, a name that leaves the working
// directory or is empty, an address that is not an FPGA register block.
TEST_F(BurstTest, UnsafeRequestsAreRefusedWithoutTrafficOrFiles) {
    EXPECT_EQ(Read(129, "a.bin"), WAIT_TIMEOUT);
    EXPECT_EQ(Read(4, "../escape"), WAIT_TIMEOUT);
    EXPECT_EQ(Read(4, ""), WAIT_TIMEOUT);
    EXPECT_EQ(Request(WM_BURST_READ, Burst(0x01000005, 4, "a.bin"), state.g_RegAccessDoneEvent),
              WAIT_TIMEOUT);
    Put("w.bin", std::string(200, 'x'));
    EXPECT_EQ(Request(WM_BURST_WRITE, Burst(0x0100, 200, "w.bin"), state.g_RegAccessDoneEvent),
              WAIT_TIMEOUT);
    EXPECT_TRUE(Sent().empty());
    EXPECT_FALSE(std::filesystem::exists(dir / "a.bin"));
    EXPECT_FALSE(std::filesystem::exists(dir.parent_path() / "escape"));
    EXPECT_EQ(state.g_isBurstFileUsed, 0);
}

// A file that cannot be opened fails without a write and leaves the remembered name alone, so
// the next read to the old name still appends.
TEST_F(BurstTest, AFileThatCannotBeOpenedFailsWithoutTouchingTheDeviceOrTheName) {
    ASSERT_EQ(Read(1, "a.bin"), WAIT_OBJECT_0);
    std::filesystem::create_directory(dir / "adir");
    EXPECT_EQ(Read(1, "adir"), WAIT_TIMEOUT);
    Sent();
    EXPECT_EQ(Request(WM_BURST_WRITE, Burst(0x0100, 1, "missing"), state.g_RegAccessDoneEvent),
              WAIT_TIMEOUT);
    EXPECT_TRUE(Sent().empty());
    ASSERT_EQ(Read(1, "a.bin"), WAIT_OBJECT_0);
    EXPECT_EQ(File("a.bin"), std::string("\x01\x03"));
}

// A burst write always sends the first bytes of its file, also when it names the file of the
// previous burst; a file shorter than the length is not padded with stale bytes.
TEST_F(BurstTest, WritesSendTheFileFromItsStartAndRefuseShortFiles) {
    Put("w.bin", "\x10\x20\x30\x40");
    auto write = [&](uint32_t length) {
        return Request(WM_BURST_WRITE, Burst(0x0200, length, "w.bin"), state.g_RegAccessDoneEvent);
    };
    EXPECT_EQ(write(3), WAIT_OBJECT_0);
    EXPECT_EQ(write(2), WAIT_OBJECT_0);
    EXPECT_EQ(write(5), WAIT_TIMEOUT);
    const auto sent = Sent();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ((std::vector<uint8_t>(sent[0].begin(), sent[0].begin() + 8)),
              (std::vector<uint8_t>{0x03, 0x04, 0x00, 0x02, 3, 0x10, 0x20, 0x30}));
    EXPECT_EQ((std::vector<uint8_t>(sent[1].begin(), sent[1].begin() + 7)),
              (std::vector<uint8_t>{0x03, 0x04, 0x00, 0x02, 2, 0x10, 0x20}));
    EXPECT_EQ(File("w.bin"), "\x10\x20\x30\x40");
}

TEST_F(BurstTest, ANameOfSixteenCharactersNeedsNoTerminator) {
    ASSERT_EQ(Read(1, "sixteen_chars.bn"), WAIT_OBJECT_0);
    EXPECT_EQ(File("sixteen_chars.bn"), std::string("\x01"));
    ASSERT_EQ(Read(1, "sixteen_chars.bn"), WAIT_OBJECT_0);
    EXPECT_EQ(File("sixteen_chars.bn").size(), 2u);
}

}  // namespace
}  // namespace tavlin::testing
