// The firmware window's two file choices. Neither changes the current directory, which image
// file names in a package are relative to.
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>

#include "base/StringTable.h"
#include "firmware/CfirmwareUpdateDlg.h"
#include "firmware/FirmwarePackage.h"
#include "ui/UiTexts.h"

namespace tavlin {
namespace {

// "ini Files(*.ini)|*.ini|all Files(*.*)|*.*||" -> "ini Files(*.ini);;all Files(*.*)": each
// description already carries its pattern.
QString QtFilter(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split('|', Qt::SkipEmptyParts);
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        filters << parts[i];
    }
    return filters.join(";;");
}

}  // namespace

QString CfirmwareUpdateDlg::ChooseFile(const char* iniSection, const char* filter) {
    const QString dir = QString::fromStdString(ReadStartDirectory(iniSection));
    const QString cwd = QDir::currentPath();
    QString chosen;
    if (chooser_) {
        chosen = chooser_(dir, QtFilter(Tr(filter)));
    } else {
        chosen = QFileDialog::getOpenFileName(this, QString(), dir, QtFilter(Tr(filter)));
    }
    QDir::setCurrent(cwd);
    return chosen.isEmpty() ? QString() : QFileInfo(chosen).absoluteFilePath();
}

void CfirmwareUpdateDlg::OnChoosePackage() {
    FirmwareSession::LogPackageChoice(QDir::currentPath().toStdString());
    const QString chosen = ChooseFile("Image", ui::kScriptFilter);
    if (!chosen.isEmpty()) {
        state_.g_FwPackagePath = chosen.toStdString();
        packagePath_->setText(chosen);
    }
}

void CfirmwareUpdateDlg::OnChooseFpga() {
    const QString chosen = ChooseFile("FPGA", ui::kFpgaFilter);
    if (!chosen.isEmpty()) {
        fpgaFile_ = chosen;
        fpgaPath_->setText(chosen);
    }
}

}  // namespace tavlin
