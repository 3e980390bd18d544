#include "calibration/CcalibrationmpDlg.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPointer>
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
#include "ui/UiTexts.h"

namespace tavlin {
namespace {

void Place(QWidget* widget, const ControlRect& r) {
    widget->setGeometry(r.x, r.y, r.width, r.height);
}

}  // namespace

CcalibrationmpDlg::CcalibrationmpDlg(SharedState& state, ReturnToWorkMode returnToWorkMode,
                                     QWidget* parent, CalibrationDataThread::Timing timing)
    : CalibrationWindow(parent),
      state_(state),
      returnToWorkMode_(std::move(returnToWorkMode)),
      bridge_(std::make_unique<CalibrationWindowBridge>(this)),
      worker_(std::make_unique<CalibrationDataThread>(state, *bridge_, timing)) {
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
    MakeCheckPanel();
}

void CcalibrationmpDlg::SetCheckOptions(const CheckOptions& options,
                                        std::function<void()> calibrateAgain) {
    checkPanel()->SetOptions(options);
    SetCalibrateAgain(std::move(calibrateAgain));
}

CcalibrationmpDlg::~CcalibrationmpDlg() {
    // Destroyed with its parent without passing through its way out: still stop the worker before
    // the bridge it talks to goes, and let nothing it still posts reach this window.
    bridge_->Detach();
    state_.g_isMidwayExit = 1;
    worker_->Stop();
    Report(Result::Fail(ResultCode::Stopped, "the window went before the calibration ended"),
           [] {});
}

void CcalibrationmpDlg::Report(const Result& outcome, std::function<void()> show) {
    if (reported_) {
        return;
    }
    reported_ = true;
    if (endGate_) {
        endGate_(outcome, std::move(show));
    } else {
        show();
    }
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
        started_ = worker_->Start(ComputeCalibrationLayout(w, h));
    }
}

void CcalibrationmpDlg::SetInstructionText(const std::string& text) {
    instruction_->setText(QString::fromStdString(text));
}

std::string CcalibrationmpDlg::InstructionText() const {
    return instruction_->text().toStdString();
}

void CcalibrationmpDlg::DrawTarget(int, int x, int y, CalibrationView::Crosshair mode) {
    if (leaving()) {
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
    if (leaving()) {
        return;  // the operator left first
    }
    worker_->Stop();  // it has ended: this only joins it
    if (Result outcome = worker_->outcome(); !outcome.ok()) {
        Report(outcome, [] {});
        reject();
        return;
    }
    // The check goes through the device's work mode, as a customer's touch does.
    backInWorkMode_ = true;
    if (!returnToWorkMode_ || !returnToWorkMode_()) {
        // A station must not take a unit left in calibration mode for a calibrated one.
        Report(Result::Fail(ResultCode::Failed, "the device did not return to work mode"), [] {});
        reject();
        return;
    }
    Report(Result::Ok(), [self = QPointer<CcalibrationmpDlg>(this)] {
        if (self != nullptr && !self->leaving()) {
            self->checkOffered_ = true;
            self->SetInstructionText(Tr(checktext::kCompletedOffer));
        }
    });
}

void CcalibrationmpDlg::StartCheck() {
    if (!checkOffered_ || leaving() || checkPanel()->isVisible()) {
        return;
    }
    crosshair_->hide();
    checkPanel()->Start(CheckScreenOf(screen()));
}

void CcalibrationmpDlg::closeEvent(QCloseEvent* event) {
    if (!leaving()) {
        event->ignore();
        reject();
    }
}

bool CcalibrationmpDlg::SpacePressed() {
    if (!checkOffered_ || checkPanel()->isVisible()) {
        return false;
    }
    StartCheck();
    return true;
}

void CcalibrationmpDlg::StopWork() {
    state_.g_isMidwayExit = 1;
    // Bounded: the worker leaves any wait for the device as soon as it sees the stop.
    worker_->Stop();
}

void CcalibrationmpDlg::Left() {
    const auto returnToWorkMode = returnToWorkMode_;
    if (returnToWorkMode && !backInWorkMode_) {
        returnToWorkMode();
    }
    // Left before the worker's end was taken: its outcome so far (stopped, as a rule).
    Result outcome =
        started_ ? worker_->outcome()
                 : Result::Fail(ResultCode::NoDevice, "no device when the calibration began");
    Report(outcome, [] {});
}

}  // namespace tavlin
