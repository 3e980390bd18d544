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
        if (endHook_) {
            endHook_(Ended(Result::Fail(ResultCode::Stopped, "left without OK or Cancel")));
        }
    }
    worker_.reset();
}

// The values as the window leaves, its worker stopped; the worker's own failure, if any, is the
// root cause of the session's.
CsensorsetmpDlg::End CsensorsetmpDlg::Ended(Result result) const {
    End end;
    if (worker_ != nullptr) {
        end.searched = worker_->cyclesDrawn() > 0;
        if (Result previewed = worker_->result(); !previewed.ok()) {
            result = std::move(previewed);
        }
    }
    end.result = std::move(result);
    const bool exposed = state_.g_isExposureAdjusted != 0;
    for (int sensor : {kMaster, kSlave}) {
        const bool master = sensor == kMaster;
        const auto& columns = master ? state_.g_ColumnM : state_.g_ColumnS;
        End::Sensor& values = end.sensors[master ? 0 : 1];
        values = {(master ? state_.g_StartLineM : state_.g_StartLineS).load(), columns[0].load(),
                  columns[1].load(), std::nullopt};
        if (exposed) {
            const auto& exposure = master ? state_.g_ExposureM : state_.g_ExposureS;
            values.exposure = std::make_pair(unsigned{exposure[0]}, unsigned{exposure[1]});
        }
    }
    return end;
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
    End end = Ended(ok ? Result::Ok() : Result::Fail(ResultCode::Stopped, "left with Cancel"));
    state_.g_isSearchDone = 0;
    for (auto& info : imageInfo_) {
        info.reset();
    }
    hide();
    deleteLater();
    // The main window is reached through its own bridge, never through this window.
    const Result switched = SwitchModeOnClose(state_, mainWindow_, ok);
    if (!switched.ok() && end.result.ok()) {
        end.result = switched;
    }
    if (endHook_) {
        endHook_(end);
    }
}

}  // namespace tavlin
