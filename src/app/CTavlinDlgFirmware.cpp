// The firmware tool's launcher (button 1027): the device is readied and asked to restart in its
// update environment, then the firmware window runs modally.
#include <QPushButton>

#include "app/CTavlinDlg.h"
#include "base/ControlIds.h"
#include "base/StringTable.h"
#include "device/HidDevice.h"
#include "firmware/CfirmwareUpdateDlg.h"
#include "firmware/FirmwareLauncher.h"
#include "ui/ControlLookup.h"
#include "ui/UiTexts.h"

namespace tavlin {

void CTavlinDlg::BuildFirmwareLauncher() {
    auto* button = new QPushButton(QString::fromStdString(Tr(ui::kUpdateFirmware)), this);
    SetControlId(button, control::kUpdateFirmware);
    button->resize(110, 32);
    connect(button, &QPushButton::clicked, this, &CTavlinDlg::OnUpdateFirmware);
}

void CTavlinDlg::OnUpdateFirmware() {
    // The unit being updated restarts twice; with several devices attached, the one that comes
    // back on its port is the one to follow.
    const KeepingToPort keep(device_);
    const FirmwareLaunch launch = PrepareFirmwareLaunch(state_, *bridge_, *modeControl_);
    if (launch == FirmwareLaunch::NoDevice || launch == FirmwareLaunch::Refused) {
        return;
    }
    CfirmwareUpdateDlg dialog(state_, *bridge_, *modeControl_, options_.engineering, this);
    dialog.SetPackagePolicy(options_.packages);
    SetFirmwareStatusSink([&dialog](const std::string& text) { dialog.ShowStatus(text); });
    dialog.exec();
    SetFirmwareStatusSink({});
    state_.g_isFwDlgOpen = 0;  // also when the window went without its exit handlers
}

}  // namespace tavlin
