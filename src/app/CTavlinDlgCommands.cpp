// The main window's command handlers: Step Debug, FPGA download, scripts, mode toggle and
// version button, clear, and the two ways out (OK and Cancel).
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include "app/CTavlinDlg.h"
#include "base/ControlIds.h"
#include "base/Log.h"
#include "base/StringTable.h"
#include "console/ExitProcedure.h"
#include "console/FpgaDownload.h"
#include "console/ModeSwitcher.h"
#include "console/RegisterPanel.h"
#include "console/ScriptRunner.h"
#include "device/CommandThread.h"
#include "platform/PrivateProfile.h"
#include "ui/ControlLookup.h"
#include "ui/FileChooser.h"
#include "ui/UiTexts.h"

namespace tavlin {

QString CTavlinDlg::ChooseFile(const char* iniSection, const char* filter) {
    // The start folder comes from OpenFile.ini beside the tool's working directory; the dialog
    // never changes the working directory (image and burst files are relative to it).
    const std::string dir =
        GetPrivateProfileString(iniSection, "FileDir", "", "./OpenFile.ini", 128);
    return ui::ChooseFileToOpen(this, QString::fromStdString(dir), filter, QFileDialog::ReadOnly);
}

void CTavlinDlg::OnChooseFpgaFile() {
    const QString chosen = ChooseFile("FPGA", ui::kFpgaFilter);
    if (!chosen.isEmpty()) {
        fpgaPath_ = chosen;
    }
    UpdateData(false);
}

void CTavlinDlg::OnChooseScript() {
    const QString chosen = ChooseFile("SCRIPT", ui::kScriptFilter);
    if (!chosen.isEmpty()) {
        scriptPath_ = chosen;
    }
    UpdateData(false);
}

void CTavlinDlg::OnDownloadFpga() {
    UpdateData(true);
    // The window shows the worker's own texts; the outcome matters to the CLI.
    static_cast<void>(fpgaDownload_->Start(fpgaPath_.toStdString()));
}

void CTavlinDlg::OnRunScript() {
    UpdateData(true);
    static_cast<void>(scriptRunner_->Start(scriptPath_.toStdString()));
}

void CTavlinDlg::OnRegisterWrite() {
    UpdateData(true);
    const bool sensor = findControl<QCheckBox>(this, control::kSensorBox)->isChecked();
    static_cast<void>(
        registerPanel_->Write(regAddrText_.toStdString(), readValueText_.toStdString(), sensor));
}

void CTavlinDlg::OnRegisterRead() {
    UpdateData(true);
    const bool sensor = findControl<QCheckBox>(this, control::kSensorBox)->isChecked();
    static_cast<void>(registerPanel_->Read(regAddrText_.toStdString(), sensor));
}

void CTavlinDlg::OnSlaveClicked() {
    // Only a flag for the refresh; the side of a request is bit 28 of its address word.
    slaveCheck_ = slaveCheck_ ? 0 : 1;
}

void CTavlinDlg::OnModeToggle() {
    const std::string caption = modeControl_->Toggle(modeToggle_->text().toStdString());
    modeToggle_->setText(QString::fromStdString(caption));
}

void CTavlinDlg::OnVersionButton() {
    static_cast<void>(modeControl_->versions().VersionButton());
}

void CTavlinDlg::reject() {
    if (shutDown_) {
        QDialog::reject();
        return;
    }
    state_.g_isDlgClosing = 1;
    Shutdown(false);
    QDialog::reject();
}

void CTavlinDlg::accept() {
    if (shutDown_) {
        QDialog::accept();
        return;
    }
    Shutdown(true);
    UpdateData(true);
    QDialog::accept();
}

void CTavlinDlg::Shutdown(bool okPath) {
    if (shutDown_) {
        return;
    }
    shutDown_ = true;
    StopPresence();
    StopWorkers(state_, scriptRunner_.get(), fpgaDownload_.get(), commandThread_.get());
    TellSessionTraceAtClose();  // before the log's end line
    if (okPath) {
        CloseDevice();
        ShutdownCleanup(state_);
    } else {
        ShutdownCleanup(state_);
        CloseDevice();
    }
}

void CTavlinDlg::CloseDevice() {
    CloseHidDevice(device_);
}

}  // namespace tavlin
