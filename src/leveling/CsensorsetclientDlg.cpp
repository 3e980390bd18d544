#include "leveling/CsensorsetclientDlg.h"

#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>

#include "base/StringTable.h"
#include "leveling/LevelingTexts.h"
#include "ui/ControlLookup.h"
#include "ui/DialogKeys.h"

namespace tavlin {

CsensorsetclientDlg::CsensorsetclientDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QString::fromStdString(Tr(leveling::text::kCaption)));
    font_.setFamilies(
        {QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("WenQuanYi Micro Hei")});
    font_.setPixelSize(18);
    auto* ok = new QPushButton(QString::fromStdString(Tr(leveling::text::kOk)), this);
    SetControlId(ok, 1);
    ok->hide();
    ok->setDefault(true);
    auto* cancel = new QPushButton(QString::fromStdString(Tr(leveling::text::kCancel)), this);
    SetControlId(cancel, 2);
    cancel->hide();
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    QScreen* screen = this->screen() != nullptr ? this->screen() : QGuiApplication::primaryScreen();
    setGeometry(screen->geometry());
}

void CsensorsetclientDlg::keyPressEvent(QKeyEvent* event) {
    if (!HandleDialogKey(*this, *event)) {
        QDialog::keyPressEvent(event);
    }
}

void CsensorsetclientDlg::accept() {
    hide();
    deleteLater();
}

void CsensorsetclientDlg::reject() {
    hide();
    deleteLater();
}

}  // namespace tavlin
