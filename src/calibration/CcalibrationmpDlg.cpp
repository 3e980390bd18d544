#include "calibration/CcalibrationmpDlg.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QWindow>

#include "base/StringTable.h"
#include "calibration/CalibrationCheckPanel.h"
#include "calibration/CalibrationCheckTexts.h"
#include "calibration/CalibrationControlIds.h"
#include "calibration/CalibrationFont.h"
#include "calibration/CalibrationTexts.h"
#include "calibration/CalibrationWindowBridge.h"
#include "calibration/CalibrationWindowLayout.h"
#include "calibration/CrosshairControl.h"
#include "ui/ControlLookup.h"
#include "ui/DialogKeys.h"
#include "ui/UiTexts.h"

namespace tavlin {
namespace {

void Place(QWidget* widget, const ControlRect& r) {
    widget->setGeometry(r.x, r.y, r.width, r.height);
}

}  // namespace

CcalibrationmpDlg::CcalibrationmpDlg(SharedState& state, ReturnToWorkMode returnToWorkMode,
                                     QWidget* parent, CalibrationDataThread::Timing timing)
    : QDialog(parent, Qt::Window | Qt::FramelessWindowHint),
      state_(state),
      returnToWorkMode_(std::move(returnToWorkMode)),
      bridge_(std::make_unique<CalibrationWindowBridge>(this)),
      worker_(std::make_unique<CalibrationDataThread>(state, *bridge_, timing)) {
    setWindowTitle(QString::fromStdString(Tr(caltext::kWindowCaption)));
    instruction_ = new QLabel(this);
    SetControlId(instruction_, control::kCalInstruction);
    instruction_->setFont(CalibrationTextFont());
    instruction_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    instruction_->setWordWrap(true);
    crosshair_ = new CrosshairControl(this);
    SetControlId(crosshair_, control::kCalCrosshair);
    crosshair_->resize(kCrosshairSize, kCrosshairSize);
    exitButton_ = new QPushButton(QString::fromStdString(Tr(ui::kExit)), this);
    SetControlId(exitButton_, control::kCalExit);
    exitButton_->setAutoDefault(false);
    exitButton_->hide();
    connect(exitButton_, &QPushButton::clicked, this, &CcalibrationmpDlg::reject);
    check_ = new CalibrationCheckPanel(this);
    connect(check_, &CalibrationCheckPanel::accepted, this, &CcalibrationmpDlg::reject);
    connect(check_, &CalibrationCheckPanel::calibrateAgain, this, [this] {
        const auto calibrateAgain = calibrateAgain_;
        Leave();
        if (calibrateAgain) {
            calibrateAgain();
        }
    });
}

void CcalibrationmpDlg::SetCheckOptions(const CheckOptions& options,
                                        std::function<void()> calibrateAgain) {
    check_->SetOptions(options);
    calibrateAgain_ = std::move(calibrateAgain);
    check_->SetCanCalibrateAgain(static_cast<bool>(calibrateAgain_));
}

CcalibrationmpDlg::~CcalibrationmpDlg() {
    // Destroyed with its parent without passing through Leave(): still stop the worker before
    // the bridge it talks to goes, and let nothing it still posts reach this window.
    bridge_->Detach();
    state_.g_isMidwayExit = 1;
    worker_->Stop();
}

void CcalibrationmpDlg::Open(QScreen* screen) {
    const QString initialising = QString::fromStdString(LoadString(IDS_INITIALISING));
    if (screen != nullptr) {
        create();
        windowHandle()->setScreen(screen);
        LayOut(screen->geometry());
        connect(screen, &QScreen::geometryChanged, this, &CcalibrationmpDlg::LayOut);
    }
    instruction_->setText(initialising);
    if (screen != nullptr) {
        state_.g_ScreenWidth = static_cast<uint16_t>(screen->geometry().width());
        state_.g_ScreenHeight = static_cast<uint16_t>(screen->geometry().height());
    }
    state_.g_isMidwayExit = 0;
    showFullScreen();
    instruction_->setText(initialising);
    repaint();
    StartCalibration();
}

void CcalibrationmpDlg::LayOut(const QRect& screenGeometry) {
    const int w = screenGeometry.width();
    const int h = screenGeometry.height();
    setGeometry(screenGeometry);
    Place(instruction_, CalibrationInstructionRect(w, h));
    Place(exitButton_, CalibrationExitButtonRect(w, h));
    bridge_->SetCurrentScreenSize(w, h);
}

void CcalibrationmpDlg::StartCalibration() {
    if (state_.g_bDevExist == 0) {
        SetInstructionText(Tr(caltext::kNoDeviceAtStart));
        return;
    }
    const int w = state_.g_ScreenWidth;
    const int h = state_.g_ScreenHeight;
    if (state_.g_CalThread == nullptr) {
        worker_->Start(ComputeCalibrationLayout(w, h));
    }
}

void CcalibrationmpDlg::SetInstructionText(const std::string& text) {
    instruction_->setText(QString::fromStdString(text));
}

std::string CcalibrationmpDlg::InstructionText() const {
    return instruction_->text().toStdString();
}

void CcalibrationmpDlg::DrawTarget(int, int x, int y, CalibrationView::Crosshair mode) {
    if (leaving_) {
        return;
    }
    const ControlRect r = CrosshairRect(x, y);
    const QRect at(r.x, r.y, r.width, r.height);
    if (crosshair_->isVisible() && crosshair_->geometry() == at && crosshair_->mode() == mode) {
        return;  // redrawn before every sample: nothing changes on the screen
    }
    crosshair_->setGeometry(at);
    crosshair_->Show(mode);
    crosshair_->show();
}

void CcalibrationmpDlg::WorkerEnded() {
    if (leaving_) {
        return;  // the operator left first
    }
    worker_->Stop();  // it has ended: this only joins it
    if (!worker_->outcome().ok()) {
        reject();
        return;
    }
    // The check goes through the device's work mode, as a customer's touch does.
    backInWorkMode_ = true;
    if (!returnToWorkMode_ || !returnToWorkMode_()) {
        reject();
        return;
    }
    checkOffered_ = true;
    SetInstructionText(Tr(checktext::kCompletedOffer));
}

void CcalibrationmpDlg::StartCheck() {
    if (!checkOffered_ || leaving_ || check_->isVisible()) {
        return;
    }
    crosshair_->hide();
    check_->Start(CheckScreenOf(screen()));
}

void CcalibrationmpDlg::accept() {
    Leave();
}

void CcalibrationmpDlg::reject() {
    Leave();
}

void CcalibrationmpDlg::closeEvent(QCloseEvent* event) {
    if (!leaving_) {
        event->ignore();
        Leave();
    }
}

void CcalibrationmpDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && checkOffered_ && !check_->isVisible()) {
        StartCheck();
        return;
    }
    if (!HandleDialogKey(*this, *event)) {
        QDialog::keyPressEvent(event);
    }
}

void CcalibrationmpDlg::Leave() {
    if (leaving_) {
        return;  // the worker's close request after the operator already left
    }
    leaving_ = true;
    state_.g_isMidwayExit = 1;
    // Bounded: the worker leaves any wait for the device as soon as it sees the stop.
    worker_->Stop();
    check_->Stop();
    hide();
    deleteLater();
    const auto returnToWorkMode = returnToWorkMode_;
    if (returnToWorkMode && !backInWorkMode_) {
        returnToWorkMode();
    }
}

}  // namespace tavlin
