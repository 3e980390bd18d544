// The leveling window's handlers: status texts, sliders, pictures, arrows, space key, exposure,
// OK and the close.
#include "leveling/CsensorsetmpDlg.h"

#include <QKeyEvent>
#include <QLabel>
#include <QSlider>

#include "leveling/ExposureAdjust.h"
#include "leveling/ImagePreviewThread.h"
#include "leveling/LevelingClose.h"
#include "leveling/LevelingViewBridge.h"
#include "leveling/PreviewPictureWidget.h"
#include "ui/DialogKeys.h"

namespace tavlin {

CsensorsetmpDlg::CsensorsetmpDlg(SharedState& state, ConsoleView& mainWindow, QWidget* parent)
    : QDialog(parent),
      state_(state),
      mainWindow_(mainWindow),
      bridge_(std::make_unique<LevelingViewBridge>(this)),
      adjuster_(state, *this) {
    BuildControls();
    SetUp();
}

CsensorsetmpDlg::~CsensorsetmpDlg() {
    // Destroyed without leaving through OK or Cancel (the main window went first): the worker
    // still ends before the objects it talks to, and nothing it still posts reaches this window.
    bridge_->Detach();
    if (!closed_) {
        StopPreviewForClose(state_);
    }
    worker_.reset();
}

void CsensorsetmpDlg::SetStatus(int sensor, const std::string& text) {
    statuses_[sensor == kMaster ? 0 : 1]->setText(QString::fromStdString(text));
}

void CsensorsetmpDlg::SetSlider(int sensor, int position) {
    sliders_[sensor == kMaster ? 0 : 1]->setValue(position);
}

void CsensorsetmpDlg::DrawPreview(int sensor, const PreviewFrame& frame) {
    const int i = sensor == kMaster ? 0 : 1;
    pictures_[i]->Draw(imageInfo_[i].get(), frame);
}

void CsensorsetmpDlg::OnArrow(int sensor, bool up) {
    adjuster_.Arrow(sensor, up, sliders_[sensor]->value());
}

void CsensorsetmpDlg::OnSliderAction(int sensor) {
    // During a drag the position has moved before the value follows.
    adjuster_.SliderMoved(sensor, sliders_[sensor]->sliderPosition());
}

void CsensorsetmpDlg::OnExposure() {
    (void)AdjustExposure(state_, *this);  // its texts are the report
}

bool CsensorsetmpDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space) {
        const bool first = !static_cast<QKeyEvent*>(event)->isAutoRepeat();
        if (first && state_.g_PreviewThread != nullptr) {
            // The worker searches again at its next cycle, and OK asks for a new exposure.
            state_.g_isSearchDone = 0;
            state_.g_isExposureAdjusted = 0;
        } else {
            state_.g_isSearchDone = 1;
        }
        return true;
    }
    if (event->type() == QEvent::KeyRelease &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space) {
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void CsensorsetmpDlg::keyPressEvent(QKeyEvent* event) {
    if (!HandleDialogKey(*this, *event)) {
        state_.g_isSearchDone = 1;
    }
}

void CsensorsetmpDlg::accept() {
    if (MayLeaveWithOk(state_, *this)) {
        Close(true);
    }
}

void CsensorsetmpDlg::reject() {
    Close(false);
}

void CsensorsetmpDlg::Close(bool ok) {
    if (closed_) {
        return;
    }
    closed_ = true;
    StopPreviewForClose(state_);
    state_.g_isSearchDone = 0;
    for (auto& info : imageInfo_) {
        info.reset();
    }
    hide();
    deleteLater();
    // The main window is reached through its own bridge, never through this window.
    (void)SwitchModeOnClose(state_, mainWindow_, ok);
}

}  // namespace tavlin
