#include "console/ModeSwitcher.h"

#include "base/ControlIds.h"
#include "base/StringTable.h"
#include "console/ConsoleFixture.h"

namespace tavlin::testing {
namespace {

using Caller = VersionQuery::Caller;

class ModeSwitcherTest : public ConsoleTest {
  protected:
    ModeSwitcherTest() {
        firmware().setImageVersion(0, 0x12);
        firmware().setImageVersion(1, 0xABCDEF01);
    }
    int VersionReads() { return Sent(cmd::kImageVersionReadBoth); }

    ModeSwitcher modes{state, view};
    const std::string kVersions = "IMAGE Version: M--00000012, S--abcdef01\n";
};

TEST_F(ModeSwitcherTest, ToggleSwitchesBothWaysAndShowsVersionsOnce) {
    std::string caption = LoadString(IDS_MODE_CALIBRATION);  // a freshly opened device
    caption = modes.Toggle(caption);
    EXPECT_EQ(caption, LoadString(IDS_MODE_WORK));
    EXPECT_EQ(view.caption(control::kModeToggle), caption);
    EXPECT_EQ(firmware().mode(), 0xFF);
    EXPECT_EQ(view.status().back(), LoadString(IDS_NOW_CALIBRATION_MODE));
    EXPECT_EQ(view.versions(), std::vector<std::string>{kVersions});
    EXPECT_EQ(state.g_isVersionsShown, 1);
    EXPECT_EQ(state.g_SensorSel, 0);

    caption = modes.Toggle(caption);
    EXPECT_EQ(caption, LoadString(IDS_MODE_CALIBRATION));
    EXPECT_EQ(firmware().mode(), 0x22);
    EXPECT_EQ(view.status().back(), LoadString(IDS_NOW_WORK_MODE));

    modes.Toggle(caption);
    EXPECT_EQ(VersionReads(), 1);  // already shown: no second query
    EXPECT_EQ(view.pane(), "");
}

TEST_F(ModeSwitcherTest, RefusedSwitchKeepsTheCaptionAndLogsOnlyTheWorkBranch) {
    transport.faults().Refuse(cmd::kModeSwitch);
    const std::string toCalibration = LoadString(IDS_MODE_CALIBRATION);
    EXPECT_EQ(modes.Toggle(toCalibration), toCalibration);
    EXPECT_EQ(view.status().back(), LoadString(IDS_SWITCH_FAILED));
    EXPECT_EQ(view.pane(), "Switch work model failed, please try again!\n");
    EXPECT_EQ(Log().find("Switch to work mode failed"), std::string::npos);
    EXPECT_EQ(VersionReads(), 0);

    const std::string toWork = LoadString(IDS_MODE_WORK);
    EXPECT_EQ(modes.Toggle(toWork), toWork);
    EXPECT_NE(Log().find(") Switch to work mode failed!\nret=0,g_isWorkSwitchSuc=0\n,"),
              std::string::npos);
    EXPECT_EQ(view.caption(control::kModeToggle), "");
}

TEST_F(ModeSwitcherTest, NoDeviceOrUpdateModeShowOnlyTheStatus) {
    state.g_bDevExist = 0;
    modes.Toggle(LoadString(IDS_MODE_WORK));
    EXPECT_FALSE(modes.versions().VersionButton());
    EXPECT_EQ(view.status(), (std::vector<std::string>(2, LoadString(IDS_NO_DEVICE))));
    state.g_bDevExist = 1;
    state.g_isFwUpdateMode = 1;
    modes.Toggle(LoadString(IDS_MODE_WORK));
    EXPECT_FALSE(modes.versions().VersionButton());
    EXPECT_EQ(view.status().back(), "设备未准备好，请先更新固件.\n");
    EXPECT_EQ(view.status().size(), 4u);
    EXPECT_TRUE(OutReports().empty());
    EXPECT_EQ(view.pane(), "");
}

TEST_F(ModeSwitcherTest, LaunchersLogTheirOwnLines) {
    EXPECT_TRUE(modes.EnterCalibrationMode(ModeSwitcher::Launcher::Plain));
    transport.faults().Refuse(cmd::kModeSwitch);
    EXPECT_FALSE(modes.EnterCalibrationMode(ModeSwitcher::Launcher::Calibration));
    EXPECT_EQ(view.status().back(), LoadString(IDS_SWITCH_FAILED));
    EXPECT_NE(
        Log().find(") Calibration: Switch to work mode failed!\nret=0,g_isWorkSwitchSuc=0\n,"),
        std::string::npos);
    // Returning to work mode: only a failed wait is shown and logged, but a refusal is not
    // reported as a switch.
    const size_t shown = view.status().size();
    bool accepted = true;
    const Result back = modes.ReturnToWorkMode(&accepted);
    EXPECT_EQ(back.code(), ResultCode::Refused);
    EXPECT_NE(back.reason().find("status 0x"), std::string::npos) << back.describe();
    EXPECT_FALSE(accepted);
    EXPECT_EQ(view.status().size(), shown);
    EXPECT_EQ(Log().find("Calibration exit:"), std::string::npos);
    transport.faults().Clear();
    EXPECT_TRUE(modes.ReturnToWorkMode(&accepted));
    EXPECT_TRUE(accepted);

    transport.faults().Refuse(cmd::kImageVersionReadBoth);
    EXPECT_FALSE(modes.versions().ShowVersions(Caller::CalibrationLauncher));
    EXPECT_EQ(view.versions().back(), LoadString(IDS_VERSION_FAILED));
    EXPECT_NE(
        Log().find(") Calibration: Get IMAGE Version Failed!\nret=0,g_ReadImageVersionSuc=0\n,"),
        std::string::npos);
    EXPECT_EQ(state.g_isVersionsShown, 0);
    EXPECT_EQ(state.g_SensorSel, 3);
    EXPECT_FALSE(modes.versions().ShowVersions(Caller::Launcher));
    EXPECT_NE(Log().find(") Get IMAGE Version Failed!\nret=0,"), std::string::npos);
    EXPECT_EQ(VersionReads(), 2);  // a failed query is repeated next time
}

// A tool closes whatever the device answers, but the result is the link's own: a silent device
// timed out, an unplugged one went away.
TEST_F(ModeSwitcherTest, ReturnToWorkModeCarriesTheLinksResult) {
    transport.faults().NoReplyTo(cmd::kModeSwitch);
    const Result silent = modes.ReturnToWorkMode();
    EXPECT_EQ(silent.code(), ResultCode::Timeout) << silent.describe();
    EXPECT_NE(silent.reason().find("timed out"), std::string::npos) << silent.describe();

    transport.faults().Clear();
    transport.faults().UnplugAt(cmd::kModeSwitch);
    const Result gone = modes.ReturnToWorkMode();
    EXPECT_EQ(gone.code(), ResultCode::DeviceGone) << gone.describe();
    EXPECT_EQ(state.g_isWorkSwitchSuc, 0);
}

TEST_F(ModeSwitcherTest, WithoutCommandThreadNothingWaitsAndTheToggleLeavesTheVersionLine) {
    EndCommandThread();
    const std::string caption = LoadString(IDS_MODE_CALIBRATION);
    EXPECT_EQ(modes.Toggle(caption), caption);
    EXPECT_FALSE(modes.ReturnToWorkMode());
    EXPECT_NE(Log().find(") Calibration exit:Switch to work mode failed!\nret=-1,"),
              std::string::npos);
    EXPECT_FALSE(modes.versions().ShowVersions(Caller::Toggle));
    EXPECT_FALSE(modes.versions().VersionButton());
    EXPECT_TRUE(view.versions().empty());
    EXPECT_EQ(Log().find("Get IMAGE Version"), std::string::npos);
}

TEST_F(ModeSwitcherTest, VersionButtonAlwaysQueriesAndLeavesTheShownFlag) {
    EXPECT_TRUE(modes.versions().VersionButton());
    EXPECT_TRUE(modes.versions().VersionButton());
    EXPECT_EQ(view.versions(), (std::vector<std::string>(2, kVersions)));
    EXPECT_EQ(state.g_isVersionsShown, 0);
    transport.faults().Refuse(cmd::kImageVersionReadBoth);
    EXPECT_FALSE(modes.versions().VersionButton());
    EXPECT_EQ(view.versions().back(), LoadString(IDS_VERSION_FAILED));
    EXPECT_EQ(Log().find("Get IMAGE Version"), std::string::npos);
}

}  // namespace
}  // namespace tavlin::testing
