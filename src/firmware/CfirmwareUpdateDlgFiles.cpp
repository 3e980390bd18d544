// The firmware window's two file choices. Neither changes the current directory, which image
// file names in a package are relative to.
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>

#include "base/StringTable.h"
#include "firmware/CfirmwareUpdateDlg.h"
#include "firmware/FirmwarePackage.h"
#include "ui/FileChooser.h"
#include "ui/UiTexts.h"

namespace tavlin {

QString CfirmwareUpdateDlg::ChooseFile(const char* iniSection, const char* filter) {
    const QString dir = QString::fromStdString(ReadStartDirectory(iniSection));
    const QString chosen = ui::ChooseFileToOpen(this, dir, filter, {}, chooser_);
    return chosen.isEmpty() ? QString() : QFileInfo(chosen).absoluteFilePath();
}

void CfirmwareUpdateDlg::OnChoosePackage() {
    FirmwareSession::LogPackageChoice(QDir::currentPath().toStdString());
    const QString chosen = ChooseFile("Image", ui::kScriptFilter);
    if (!chosen.isEmpty()) {
        ownChoice_ = true;
        state_.g_FwPackagePath = chosen.toStdString();
        packagePath_->setText(chosen);
        CheckChosenPackage(true);
    }
}

bool CfirmwareUpdateDlg::OfferUnfinishedUpdate(const std::string& text,
                                               const std::string& package) {
    if (ownChoice_ || session_.worker().Running()) {
        return false;
    }
    ShowStatus(text);
    if (!package.empty()) {
        state_.g_FwPackagePath = package;
        packagePath_->setText(QString::fromStdString(package));
        CheckChosenPackage(false);
    }
    return true;
}

void CfirmwareUpdateDlg::OnChooseFpga() {
    const QString chosen = ChooseFile("FPGA", ui::kFpgaFilter);
    if (!chosen.isEmpty()) {
        fpgaFile_ = chosen;
        fpgaPath_->setText(chosen);
    }
}

}  // namespace tavlin
