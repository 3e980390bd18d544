#include "firmware/FirmwareSession.h"

#include "base/Log.h"
#include "base/StringTable.h"
#include "device/DeviceDetector.h"
#include "firmware/FirmwareRequests.h"
#include "firmware/FirmwareTexts.h"

namespace tavlin {

std::string FirmwareSession::Open() {
    state_.g_isFwDlgClosing = 0;
    const std::string text =
        state_.g_isFwUpdateMode != 0 ? LoadString(IDS_FW_ENV_READY) : Tr(fw::kPreparing);
    Status(text);
    return text;
}

void FirmwareSession::OneKeyUpdate() {
    if (state_.g_bDevExist == 0) {
        Status(NoDeviceText(state_));
        return;
    }
    if (state_.g_isFwUpdateMode == 0) {
        return;
    }
    if (state_.g_FwPackagePath.empty()) {
        Status(Tr(fw::kOpenPackageFirst));
        return;
    }
    if (!refusal_.empty() && refusedPath_ == state_.g_FwPackagePath) {
        Status(refusal_);
        return;
    }
    const bool started = package_ != nullptr && package_->path == state_.g_FwPackagePath
                             ? worker_.Start(package_)
                             : worker_.Start(state_.g_FwPackagePath);
    if (!started) {
        Status(Tr(fw::kUpdating));
    }
}

void FirmwareSession::SwitchBackToApplication() {
    if (state_.g_bDevExist == 0) {
        Status(NoDeviceText(state_));
        return;
    }
    const Result result =
        SendUpdateControl(state_, kLeaveUpdateEnvironment, VersionInfoButtons::kAnswerWaitMs);
    if (result.code() == ResultCode::Timeout) {
        Status(LoadString(IDS_SWITCH_FAILED));
    }
}

Result FirmwareSession::LeaveUpdateEnvironment() {
    lastLeave_ = SendUpdateControl(state_, kLeaveUpdateEnvironment, INFINITE);
    return lastLeave_;
}

bool FirmwareSession::FailedSetupShown(const std::string& statusText) const {
    return statusText == LoadString(IDS_FW_ENV_FAILED);
}

FirmwareSession::Exit FirmwareSession::Cancel(const std::string& statusText) {
    worker_.StopAndWait();
    if (state_.g_bDevExist != 0) {
        if (state_.g_isFwUpdateMode == 0) {
            if (!FailedSetupShown(statusText)) {
                Status(Tr(fw::kPreparing));
                return Exit::StayOpen;
            }
            state_.g_isFwDlgOpen = 0;
            // The window closes whatever the device answers; a failure is logged by the switch.
            static_cast<void>(modes_.ReturnToWorkMode());
            return Exit::Cancelled;
        }
        if (Result left = LeaveUpdateEnvironment(); left.ok()) {
            state_.g_isFwDlgOpen = 0;
            return Exit::Cancelled;
        }
    }
    return LeaveOrReport(Exit::Cancelled);
}

FirmwareSession::Exit FirmwareSession::Ok(const std::string& statusText) {
    worker_.StopAndWait();
    if (state_.g_isFwUpdateMode != 0) {
        if (Result left = LeaveUpdateEnvironment(); !left.ok()) {
            return LeaveOrReport(Exit::Confirmed);
        }
        state_.g_isFwDlgOpen = 0;
        return Exit::Confirmed;
    }
    if (!FailedSetupShown(statusText)) {
        Status(Tr(fw::kPreparing));
        return Exit::StayOpen;
    }
    state_.g_isFwDlgOpen = 0;
    static_cast<void>(modes_.ReturnToWorkMode());  // closes whatever the device answers
    return Exit::Confirmed;
}

FirmwareSession::Exit FirmwareSession::LeaveOrReport(Exit how) {
    main_.SetStatusText(LoadString(IDS_FW_NOT_READY));
    WriteLog("Update FW: the device did not leave its update environment!\n");
    state_.g_isFwDlgOpen = 0;
    return how;
}

bool FirmwareSession::PreparationExpired(const std::string& statusText) {
    if (state_.g_isFwUpdateMode != 0 || statusText != Tr(fw::kPreparing)) {
        return false;
    }
    WriteLog("Update FW: the device did not come back in its update environment in time!\n");
    Status(LoadString(IDS_FW_ENV_FAILED));
    return true;
}

void FirmwareSession::LogPackageChoice(const std::string& currentDirectory) {
    // The directory was taken into a 256-byte buffer; the log cuts the whole entry as well.
    WriteLog("Update FW: openfile dir:%s!\n", currentDirectory.substr(0, 255).c_str());
}

void FirmwareSession::Status(const std::string& text) {
    if (state_.g_isFwDlgClosing == 0) {
        view_.SetFirmwareStatus(text);
    }
}

}  // namespace tavlin
