#include "firmware/FirmwareSession.h"

#include "base/StringTable.h"
#include "device/DeviceDetector.h"
#include "firmware/FirmwareFixture.h"
#include "firmware/FirmwareLauncher.h"
#include "firmware/FirmwareTexts.h"
#include "firmware/VersionInfoRecord.h"

namespace tavlin::testing {
namespace {
using namespace tavlin::cmd;

// Presence as the window sees it: the firmware window's status line is the firmware view's.
class PresenceToViews : public PresenceView {
  public:
    PresenceToViews(RecordingView& main, RecordingFirmwareView& fw) : main_(main), fw_(fw) {}
    void SetStatusText(const std::string& text) override { main_.SetStatusText(text); }
    void SetVersionText(const std::string& text) override { main_.SetVersionText(text); }
    void SetModeToggleCaption(const std::string&) override {}
    void SetFirmwareStatusText(const std::string& text) override { fw_.SetFirmwareStatus(text); }

  private:
    RecordingView& main_;
    RecordingFirmwareView& fw_;
};

class FirmwareSessionTest : public ConsoleTest {
  protected:
    FirmwareSessionTest() {
        transport.setReenumerationDelay(20ms);
        listener =
            transport.AddPresenceListener([this](const auto&) { detector.OnDeviceChange(); });
    }
    ~FirmwareSessionTest() override {
        transport.RemovePresenceListener(listener);
        detector.WaitIdle();
    }
    bool InUpdateEnvironment() {
        return Eventually([&] {
            return state.g_isFwUpdateMode == 1 &&
                   fwView.lastStatus() == LoadString(IDS_FW_ENV_READY);
        });
    }

    RecordingFirmwareView fwView;
    PresenceToViews presence{view, fwView};
    DeviceDetector detector{state, device, presence};
    ModeSwitcher modes{state, view};
    FirmwareSession session{state, fwView, view, modes};
    int listener = -1;
};

TEST_F(FirmwareSessionTest, AWholeUpdateFromWorkModeThroughTheUpdateEnvironmentAndBack) {
    ASSERT_EQ(PrepareFirmwareLaunch(state, view, modes), FirmwareLaunch::Reenumerating);
    EXPECT_EQ(firmware().mode(), ModeSwitcher::kCalibrationMode);
    EXPECT_EQ(state.g_isFwDlgOpen, 1);
    EXPECT_EQ(session.Open(), fw::kPreparing);
    ASSERT_TRUE(InUpdateEnvironment());
    EXPECT_EQ(transport.productId(), kProductIdUpdate);

    session.OneKeyUpdate();
    EXPECT_EQ(fwView.lastStatus(), fw::kOpenPackageFirst);
    const std::string h = PatternBytes(200, 3);
    state.g_FwPackagePath =
        WriteFile("pkg.ini", PackageText({{"Tavlin HInfo", {1, 5, WriteFile("h.bin", h)}}}));
    session.OneKeyUpdate();
    ASSERT_TRUE(session.worker().WaitForEnd(5000));
    ASSERT_TRUE(Eventually([&] { return !session.worker().Running(); }));
    EXPECT_EQ(fwView.lastStatus(), fw::kUpdateSucceeded);

    EXPECT_EQ(session.Cancel(fwView.lastStatus()), FirmwareSession::Exit::Cancelled);
    EXPECT_EQ(state.g_isFwDlgOpen, 0);
    ASSERT_TRUE(transport.WaitForAttached(kProductIdWork, 2s));
    EXPECT_EQ(firmware().versionInfo(1), ImageVersionInfoRecord(5));
}

TEST_F(FirmwareSessionTest, ExitWhilePreparingKeepsTheWindowOpen) {
    session.Open();
    EXPECT_EQ(session.Cancel(fw::kPreparing), FirmwareSession::Exit::StayOpen);
    EXPECT_EQ(session.Ok(fw::kPreparing), FirmwareSession::Exit::StayOpen);
    EXPECT_EQ(fwView.status(), (std::vector<std::string>(3, fw::kPreparing)));
    EXPECT_EQ(Sent(kModeSwitch), 0);
}

TEST_F(FirmwareSessionTest, ADeviceThatNeverComesBackOpensTheWayOutAfterTheDeadline) {
    state.g_isFwDlgOpen = 1;
    session.Open();
    EXPECT_FALSE(session.PreparationExpired(fw::kUpdating));  // only the preparing text
    ASSERT_TRUE(session.PreparationExpired(fw::kPreparing));
    EXPECT_EQ(fwView.lastStatus(), LoadString(IDS_FW_ENV_FAILED));
    EXPECT_NE(Log().find("did not come back"), std::string::npos);
    EXPECT_EQ(session.Cancel(fwView.lastStatus()), FirmwareSession::Exit::Cancelled);
    EXPECT_EQ(firmware().mode(), ModeSwitcher::kWorkMode);
    EXPECT_EQ(Sent(kModeSwitch), 1);
    EXPECT_EQ(state.g_isFwDlgOpen, 0);
}

TEST_F(FirmwareSessionTest, OneKeyUpdateRefusesWithoutADeviceOrTheUpdateEnvironment) {
    state.g_FwPackagePath = WriteFile("pkg.ini", "[Tavlin LInfo]\nImage_en=0\n");
    session.OneKeyUpdate();  // working firmware: nothing at all
    EXPECT_TRUE(fwView.status().empty());
    state.g_bDevExist = 0;
    session.OneKeyUpdate();
    EXPECT_EQ(fwView.lastStatus(), LoadString(IDS_NO_DEVICE));
    // A device that is there but may not be opened says so, here as on the main window.
    state.devicePresence = ResultCode::NoAccess;
    session.OneKeyUpdate();
    EXPECT_EQ(fwView.lastStatus(), LoadString(IDS_NO_ACCESS_HERE));
    EXPECT_FALSE(session.worker().Running());
}

TEST_F(FirmwareSessionTest, APressDuringAnUpdateStartsNoSecondOne) {
    state.g_isFwUpdateMode = 1;
    transport.faults().SetLatency(2ms);
    state.g_FwPackagePath = WriteFile(
        "pkg.ini",
        PackageText({{"Tavlin LInfo", {1, 5, WriteFile("l.bin", PatternBytes(6200, 1))}}}));
    session.OneKeyUpdate();
    ASSERT_TRUE(Eventually([&] { return Sent(kCodePacket2Master) > 0; }));
    session.OneKeyUpdate();
    EXPECT_EQ(fwView.lastStatus(), fw::kUpdating);
    session.worker().StopAndWait();
    EXPECT_EQ(firmware().completedTransferCount(0, sim::CodeTarget::Packet2), 0);
}

TEST_F(FirmwareSessionTest, ADeviceThatStaysInItsUpdateEnvironmentIsReportedOnTheMainWindow) {
    state.g_isFwUpdateMode = 1;
    state.g_isFwDlgOpen = 1;
    transport.faults().Refuse(kUpdateControl);
    EXPECT_EQ(session.Ok(""), FirmwareSession::Exit::Confirmed);
    EXPECT_EQ(view.status().back(), LoadString(IDS_FW_NOT_READY));
    EXPECT_EQ(state.g_isFwDlgOpen, 0);
}

TEST_F(FirmwareSessionTest, ARefusedUpdateControlKeepsTheWindowShut) {
    transport.faults().Refuse(kUpdateControl);
    EXPECT_EQ(PrepareFirmwareLaunch(state, view, modes), FirmwareLaunch::Refused);
    EXPECT_EQ(view.status().back(), LoadString(IDS_SWITCH_FAILED));
    EXPECT_EQ(state.g_isFwDlgOpen, 0);
    state.g_isFwUpdateMode = 1;
    const int before = static_cast<int>(OutReports().size());
    EXPECT_EQ(PrepareFirmwareLaunch(state, view, modes), FirmwareLaunch::AlreadyReady);
    EXPECT_EQ(static_cast<int>(OutReports().size()), before);
}

TEST_F(FirmwareSessionTest, VersionButtonsSendTheirFixedBlocksAndReportOnlyASilentDevice) {
    session.VersionButton(1075);
    EXPECT_EQ(firmware().imageVersion(0), 0xCC332211u);
    session.VersionButton(1077);
    EXPECT_EQ(firmware().versionInfo(0), FixedVersionInfoRecord());
    session.VersionButton(1076);
    EXPECT_EQ(state.g_VersionInfoM, FixedVersionInfoRecord());
    EXPECT_TRUE(fwView.status().empty());

    transport.faults().NoReplyTo(kImageVersionReadMaster);
    VersionInfoButtons buttons(state, fwView);
    buttons.Press(1074, 50);
    EXPECT_EQ(fwView.lastStatus(), LoadString(IDS_SWITCH_FAILED));
    state.g_bDevExist = 0;
    buttons.Press(1076, 50);
    EXPECT_EQ(fwView.lastStatus(), LoadString(IDS_NO_DEVICE));
    state.devicePresence = ResultCode::NoAccess;
    buttons.Press(1076, 50);
    EXPECT_EQ(fwView.lastStatus(), LoadString(IDS_NO_ACCESS_HERE));
}

}  // namespace
}  // namespace tavlin::testing
