#include "calibration/CalibrationCheckPanel.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QPointingDevice>
#include <QScreen>
#include <QTouchEvent>

#include "base/Log.h"
#include "base/StringTable.h"
#include "calibration/CalibrationCheckResultView.h"
#include "calibration/CalibrationCheckTexts.h"
#include "calibration/CalibrationControlIds.h"
#include "calibration/CalibrationFont.h"
#include "calibration/CalibrationWindowLayout.h"
#include "calibration/CheckScreenSize.h"
#include "calibration/CheckSizeTexts.h"
#include "calibration/CrosshairControl.h"
#include "ui/ControlLookup.h"

namespace tavlin {

CheckScreen CheckScreenOf(const QScreen* screen) {
    if (screen == nullptr) {
        return {};
    }
    const QSize size = screen->geometry().size();
    const QSizeF mm = screen->physicalSize();
    return MonitorCheckScreen(size.width(), size.height(), mm.width(), mm.height(),
                              screen->logicalDotsPerInchX(), screen->logicalDotsPerInchY());
}

CalibrationCheckPanel::CalibrationCheckPanel(QWidget* parent) : QWidget(parent) {
    SetControlId(this, control::kCheckPanel);
    setAttribute(Qt::WA_AcceptTouchEvents);
    setAutoFillBackground(true);
    instruction_ = new QLabel(this);
    SetControlId(instruction_, control::kCheckInstruction);
    instruction_->setFont(CalibrationTextFont());
    instruction_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    instruction_->setWordWrap(true);
    instruction_->setAttribute(Qt::WA_TransparentForMouseEvents);
    crosshair_ = new CrosshairControl(this);
    SetControlId(crosshair_, control::kCheckCrosshair);
    crosshair_->resize(kCrosshairSize, kCrosshairSize);
    sizeField_ = new QLineEdit(this);
    SetControlId(sizeField_, control::kCheckSizeField);
    sizeField_->setFont(CalibrationTextFont());
    sizeField_->setPlaceholderText(QStringLiteral("527x296"));
    sizeField_->installEventFilter(this);
    sizeField_->hide();
    result_ = new CalibrationCheckResultView(this);
    result_->hide();
    result_->SetCanCalibrateAgain(false);
    connect(result_, &CalibrationCheckResultView::accepted, this, &CalibrationCheckPanel::accepted);
    connect(result_, &CalibrationCheckResultView::calibrateAgain, this,
            &CalibrationCheckPanel::calibrateAgain);
    connect(result_, &CalibrationCheckResultView::checkAgain, this,
            [this] { Start(check_->screen()); });
    hide();
}

CalibrationCheckPanel::~CalibrationCheckPanel() = default;

void CalibrationCheckPanel::SetCanCalibrateAgain(bool can) {
    result_->SetCanCalibrateAgain(can);
}

void CalibrationCheckPanel::resizeEvent(QResizeEvent*) {
    LayOut();
}

void CalibrationCheckPanel::LayOut() {
    if (asking_) {
        // No crosshair meanwhile: the question takes the upper third, the field below it.
        const int x = width() / 6;
        const int top = height() / 3;
        instruction_->setGeometry(x, 0, width() * 2 / 3, top);
        sizeField_->setGeometry(x, top, std::min(width() * 2 / 3, 400),
                                sizeField_->sizeHint().height());
    } else {
        const ControlRect r = CalibrationInstructionRect(width(), height());
        instruction_->setGeometry(r.x, r.y, r.width, r.height);
    }
    result_->LayOut(width(), height());
}

bool CalibrationCheckPanel::AskingForSize() const {
    return asking_;
}

void CalibrationCheckPanel::Start(const CheckScreen& screen) {
    if (startHook_) {
        startHook_();
    }
    if (parentWidget() != nullptr) {
        setGeometry(parentWidget()->rect());
    }
    if (options_.screenWidthMm > 0 && options_.screenHeightMm > 0) {
        StartCheck(WithGivenSize(screen, options_.screenWidthMm, options_.screenHeightMm,
                                 ScreenSizeSource::Option));
        return;
    }
    if (screen.HasPhysicalSize()) {
        StartCheck(screen);
        return;
    }
    LogCheckScreen(screen);
    check_.reset();
    asked_ = screen;
    asking_ = true;
    LayOut();
    result_->hide();
    crosshair_->hide();
    show();
    raise();
    instruction_->setText(QString::fromStdString(Tr(checksizetext::kAskSize)));
    sizeField_->clear();
    sizeField_->show();
    sizeField_->setFocus();
}

bool CalibrationCheckPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == sizeField_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        // The field's Enter, not the window's (which would close it).
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            SizeEntered();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CalibrationCheckPanel::SizeEntered() {
    const std::string typed = sizeField_->text().trimmed().toStdString();
    if (typed.empty()) {
        StartCheck(asked_);
        return;
    }
    double widthMm = 0;
    double heightMm = 0;
    if (!ParseScreenSizeMm(typed, &widthMm, &heightMm)) {
        char bad[256];
        std::snprintf(bad, sizeof bad, Tr(checksizetext::kBadSize).c_str(), typed.c_str());
        WriteLog("Calibration check: '%s' is not a screen size in mm\n", typed.c_str());
        instruction_->setText(QString::fromUtf8(bad) +
                              QString::fromStdString(Tr(checksizetext::kAskSize)));
        return;
    }
    StartCheck(WithGivenSize(asked_, widthMm, heightMm, ScreenSizeSource::Field));
}

void CalibrationCheckPanel::StartCheck(const CheckScreen& screen) {
    asking_ = false;
    sizeField_->hide();
    LayOut();
    if (screen.HasPhysicalSize()) {
        LogCheckScreen(screen);  // an unknown size was logged when it was asked for
    }
    check_ = std::make_unique<CalibrationCheck>(screen, options_.toleranceMm);
    contact_ = -1;
    result_->hide();
    show();
    raise();
    if (!check_->feasible()) {
        crosshair_->hide();
        instruction_->setText(QString::fromStdString(Tr(checktext::kNoRoom)));
        return;
    }
    ShowPoint(checktext::kTouchPoint);
}

void CalibrationCheckPanel::ShowPoint(const char* text) {
    const int index = check_->current();
    const CheckPoint& p = check_->points()[index];
    instruction_->setText(
        QString::asprintf(Tr(text).c_str(), index + 1, static_cast<int>(check_->points().size())));
    const ControlRect r = CrosshairRect(p.x, p.y);
    crosshair_->setGeometry(r.x, r.y, r.width, r.height);
    crosshair_->Show(CalibrationView::Crosshair::Cross);
    crosshair_->show();
}

bool CalibrationCheckPanel::Touching() const {
    return check_ != nullptr && isVisible() && check_->feasible() && !check_->done();
}

bool CalibrationCheckPanel::ShowingResult() const {
    return result_->isVisible();
}

void CalibrationCheckPanel::Stop() {
    if (Touching()) {
        LogCheckResult(*check_);
    }
    check_.reset();
}

bool CalibrationCheckPanel::event(QEvent* event) {
    switch (event->type()) {
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd: {
            auto* touch = static_cast<QTouchEvent*>(event);
            for (const QEventPoint& point : touch->points()) {
                if (contact_ < 0 && point.state() == QEventPoint::State::Pressed) {
                    contact_ = point.id();  // the first finger down is the one that counts
                }
                if (point.id() == contact_ && point.state() == QEventPoint::State::Released) {
                    contact_ = -1;
                    Take(point.position(), CheckInput::Touch);
                }
            }
            if (event->type() == QEvent::TouchEnd) {
                contact_ = -1;
            }
            event->accept();
            return true;
        }
        case QEvent::TouchCancel:
            contact_ = -1;
            event->accept();
            return true;
        default:
            return QWidget::event(event);
    }
}

void CalibrationCheckPanel::mouseReleaseEvent(QMouseEvent* event) {
    // A mouse event the system made from a touch was already taken as the touch.
    if (event->button() != Qt::LeftButton ||
        event->pointingDevice()->type() == QInputDevice::DeviceType::TouchScreen) {
        return;
    }
    Take(event->position(), CheckInput::Mouse);
}

void CalibrationCheckPanel::Take(QPointF at, CheckInput input) {
    if (!Touching()) {
        return;
    }
    const auto taken = check_->Touch(at.x(), at.y(), input);
    if (taken == CalibrationCheck::Taken::Slip) {
        ShowPoint(checktext::kSlip);
        return;
    }
    if (!check_->done()) {
        ShowPoint(checktext::kTouchPoint);
        return;
    }
    LogCheckResult(*check_);
    crosshair_->hide();
    instruction_->clear();
    if (!gate_) {
        ShowResult();
        return;
    }
    // The check that is shown is the one that finished, even if another has started since.
    QPointer<CalibrationCheckPanel> panel(this);
    const CalibrationCheck* finished = check_.get();
    gate_(*check_, [panel, finished] {
        if (panel != nullptr && panel->check_.get() == finished) {
            panel->ShowResult();
        }
    });
}

void CalibrationCheckPanel::ShowResult() {
    result_->Show(*check_);
    result_->show();
    result_->raise();
}

}  // namespace tavlin
