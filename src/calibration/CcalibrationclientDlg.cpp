#include "calibration/CcalibrationclientDlg.h"

#include <QLabel>
#include <QScreen>
#include <QWindow>

#include "base/StringTable.h"
#include "calibration/CalibrationCheckPanel.h"
#include "calibration/CalibrationCheckTexts.h"
#include "calibration/CalibrationControlIds.h"
#include "calibration/CalibrationFont.h"
#include "calibration/CalibrationTexts.h"
#include "calibration/CalibrationWindowLayout.h"
#include "ui/ControlLookup.h"

namespace tavlin {

CcalibrationclientDlg::CcalibrationclientDlg(QWidget* parent) : CalibrationWindow(parent) {
    text_ = new QLabel(this);
    SetControlId(text_, control::kClientCalText);
    text_->setFont(CalibrationTextFont());
    text_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    text_->setWordWrap(true);
    offer_ = new QLabel(this);
    SetControlId(offer_, control::kClientCheckOffer);
    offer_->setFont(CalibrationTextFont());
    offer_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    offer_->setWordWrap(true);
    MakeCheckPanel();
}

void CcalibrationclientDlg::SetCheckOptions(const CheckOptions& options) {
    checkPanel()->SetOptions(options);
}

void CcalibrationclientDlg::Open(QScreen* screen) {
    if (screen != nullptr) {
        create();
        windowHandle()->setScreen(screen);
        const QRect geometry = screen->geometry();
        setGeometry(geometry);
        const ControlRect r = ClientCalibrationTextRect(geometry.width(), geometry.height());
        text_->setGeometry(r.x, r.y, r.width, r.height);
        const ControlRect o = ClientCheckOfferRect(geometry.width(), geometry.height());
        offer_->setGeometry(o.x, o.y, o.width, o.height);
    }
    text_->setText(QString::fromStdString(Tr(caltext::kClientInitialising)));
    offer_->setText(QString::fromStdString(Tr(checktext::kOffer)));
    showFullScreen();
}

bool CcalibrationclientDlg::SpacePressed() {
    if (checkPanel()->isVisible()) {
        return false;
    }
    checkPanel()->Start(CheckScreenOf(screen()));
    return true;
}

}  // namespace tavlin
