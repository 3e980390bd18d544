#include "console/RegisterPanel.h"

#include "base/StringTable.h"
#include "console/ConsoleFixture.h"

namespace tavlin::testing {
namespace {

class RegisterPanelTest : public ConsoleTest {
  protected:
    RegisterPanel panel{state, view};
};

TEST_F(RegisterPanelTest, WithoutDeviceOnlyTheStatusLineChanges) {
    state.g_bDevExist = 0;
    EXPECT_FALSE(panel.Write("0x10", "1", false));
    EXPECT_FALSE(panel.Read("0x10", true));
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(view.status(),
              (std::vector<std::string>{LoadString(IDS_NO_DEVICE), LoadString(IDS_NO_DEVICE)}));
    EXPECT_EQ(view.pane(), "");
    EXPECT_TRUE(OutReports().empty());
}

TEST_F(RegisterPanelTest, EmptyAddressRefusedOnWriteButReadOnRead) {
    EXPECT_FALSE(panel.Write("", "5", false));
    EXPECT_EQ(view.pane(), "The register address can't be NULL!\n");
    EXPECT_EQ(view.status().back(), LoadString(IDS_DETECT_DONE));
    firmware().setFpgaRegister(0, 0, 0x77);
    EXPECT_TRUE(panel.Read("", false));
    ASSERT_TRUE(view.WaitForPane("FPGASingleRead"));
    EXPECT_EQ(Sent(cmd::kFpgaWrite), 0);
    EXPECT_EQ(Sent(cmd::kFpgaSingleRead), 1);
}

TEST_F(RegisterPanelTest, NumberlessWriteOperandsAreRefusedAndANumberlessReadReadsZero) {
    EXPECT_FALSE(panel.Write("zz", "1", false));
    EXPECT_FALSE(panel.Write("0x10", "", false));
    EXPECT_FALSE(panel.Write("0x10", "value", true));
    EXPECT_EQ(view.pane(),
              "The register address is not a number!\n"
              "The register value is not a number!\n"
              "The register value is not a number!\n");
    firmware().setFpgaRegister(0, 0, 0x3C);
    EXPECT_TRUE(panel.Read("zz", false));
    ASSERT_TRUE(view.WaitForPane("Master: FPGASingleRead Addr: 0x0000  value: 0x3c\n"));
    EXPECT_EQ(Sent(cmd::kFpgaWrite) + Sent(cmd::kI2cWrite), 0);
}

TEST_F(RegisterPanelTest, DecimalUnlessPrefixedAndOnlyTheLowByteIsWritten) {
    EXPECT_TRUE(panel.Write("30", "5", false));
    ASSERT_TRUE(view.WaitForPane("Addr: 0x001e  value: 0x05\n"));
    EXPECT_TRUE(panel.Write("0x30", "0x1FF", false));
    ASSERT_TRUE(view.WaitForPane("Master: FPGAPortWrite Addr: 0x0030  value: 0xff\n"));
    EXPECT_EQ(firmware().fpgaRegister(0, 30), 5);
    EXPECT_EQ(firmware().fpgaRegister(0, 0x30), 0xFF);
}

TEST_F(RegisterPanelTest, SensorBoxChoosesI2cAndTheAddressWordChoosesTheSide) {
    EXPECT_TRUE(panel.Write("0x11000030", "0x5A", true));
    ASSERT_TRUE(view.WaitForPane("Slave: I2CWrite Addr: 0x0030  value: 0x5a\n"));
    EXPECT_EQ(firmware().sensorRegister(1, 0x30), 0x5A);
    EXPECT_EQ(firmware().sensorRegister(0, 0x30), 0x00);
    EXPECT_TRUE(panel.Read("0x11000030", true));
    ASSERT_TRUE(view.WaitForPane("Slave: I2C_Read Addr: 0x0030  value: 0x5a\n"));
    // No script is waiting, so the value goes to the Value box.
    ASSERT_TRUE(Eventually([&] { return !view.readValues().empty(); }));
    EXPECT_EQ(view.readValues(), std::vector<std::string>{"0x5a"});
}

TEST_F(RegisterPanelTest, PostingFailuresAreReported) {
    EndCommandThread();
    EXPECT_FALSE(panel.Write("0x10", "1", true));
    EXPECT_FALSE(panel.Write("0x10", "1", false));
    EXPECT_FALSE(panel.Read("0x10", true));
    EXPECT_FALSE(panel.Read("0x10", false));
    EXPECT_EQ(view.pane(),
              "send message: write_i2c_reg err\n"
              "send message: write_reg err\n"
              "send message: read_i2c_reg err\n"
              "send message: read_i2c_reg err\n");
}

}  // namespace
}  // namespace tavlin::testing
