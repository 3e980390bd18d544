#include "calibration/CcalibrationclientDlg.h"

#include <QLabel>
#include <QScreen>
#include <QWindow>

#include "base/StringTable.h"
#include "calibration/CalibrationControlIds.h"
#include "calibration/CalibrationFont.h"
#include "calibration/CalibrationTexts.h"
#include "calibration/CalibrationWindowLayout.h"
#include "ui/ControlLookup.h"
#include "ui/DialogKeys.h"

namespace tavlin {

CcalibrationclientDlg::CcalibrationclientDlg(QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::FramelessWindowHint) {
    setWindowTitle(QString::fromStdString(Tr(caltext::kWindowCaption)));
    text_ = new QLabel(this);
    SetControlId(text_, control::kClientCalText);
    text_->setFont(CalibrationTextFont());
    text_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    text_->setWordWrap(true);
}

void CcalibrationclientDlg::Open(QScreen* screen) {
    if (screen != nullptr) {
        create();
        windowHandle()->setScreen(screen);
        const QRect geometry = screen->geometry();
        setGeometry(geometry);
        const ControlRect r = ClientCalibrationTextRect(geometry.width(), geometry.height());
        text_->setGeometry(r.x, r.y, r.width, r.height);
    }
    text_->setText(QString::fromStdString(Tr(caltext::kClientInitialising)));
    showFullScreen();
}

void CcalibrationclientDlg::keyPressEvent(QKeyEvent* event) {
    if (!HandleDialogKey(*this, *event)) {
        QDialog::keyPressEvent(event);
    }
}

void CcalibrationclientDlg::accept() {
    reject();
}

void CcalibrationclientDlg::reject() {
    hide();
    deleteLater();
}

}  // namespace tavlin
