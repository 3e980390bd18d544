// The main window's calibration launchers: 1023 opens the production calibration window once
// the device is in calibration mode; 1025 (engineering console only) the client window; and
// the calibration check of --check-calibration.
#include <QPushButton>
#include <algorithm>

#include "app/CTavlinDlg.h"
#include "base/ControlIds.h"
#include "base/StringTable.h"
#include "calibration/CalibrationLayout.h"
#include "calibration/CcalibrationcheckDlg.h"
#include "calibration/CcalibrationclientDlg.h"
#include "calibration/CcalibrationmpDlg.h"
#include "console/ModeSwitcher.h"
#include "console/ToolLauncher.h"
#include "device/DeviceDetector.h"
#include "ui/ControlLookup.h"
#include "ui/UiTexts.h"
#ifdef TAVLIN_RECORDS
#include "records/RecordContent.h"
#endif

namespace tavlin {
namespace {

Result CheckOutcome(const CalibrationCheck& check) {
    switch (check.verdict()) {
        case CheckVerdict::Pass:
            return Result::Ok();
        case CheckVerdict::Fail:
            return Result::Fail(ResultCode::Failed, "a point is out of the tolerance");
        case CheckVerdict::PixelsOnly:
            break;
    }
    return Result::Fail(ResultCode::Failed, "no screen size in millimetres: no verdict");
}

// Each point's error: in millimetres with the tolerance as its high limit, in pixels where the
// screen's size is unknown.
std::function<void(RunRecord&)> CheckFill(const CalibrationCheck& check) {
    const std::vector<CheckPointResult> results = check.results();
    const double tolerance = check.toleranceMm();
    return [results, tolerance](RunRecord& record) {
#ifdef TAVLIN_RECORDS
        for (size_t i = 0; i < results.size(); ++i) {
            const int number = static_cast<int>(i) + 1;
            if (results[i].errorMm) {
                AddCheckPoint(record, number, *results[i].errorMm, tolerance, results[i].within);
            } else {
                AddMeasurement(record, "point " + std::to_string(number) + ".error",
                               results[i].errorPx, "px");
            }
        }
#else
        (void)record;
#endif
    };
}

// Where the calibration puts its targets on a screen of `width` x `height`, in the order they
// are visited, numbered as the command line numbers them.
std::function<void(RunRecord&)> TargetFill(int width, int height) {
    return [width, height](RunRecord& record) {
#ifdef TAVLIN_RECORDS
        const CalibrationLayout layout = ComputeCalibrationLayout(width, height);
        for (int t = 0; t < kCalTargetCount; ++t) {
            const LayoutPoint at = TargetPosition(layout.targets[t], width, height, width, height);
            AddTarget(record, t, at.x, at.y);
        }
#else
        (void)width;
        (void)height;
        (void)record;
#endif
    };
}

}  // namespace

void CTavlinDlg::BuildCalibrationLaunchers() {
    auto* calibration = new QPushButton(QString::fromStdString(Tr(ui::kCalibration)), this);
    SetControlId(calibration, control::kCalibration);
    calibration->resize(110, 32);
    connect(calibration, &QPushButton::clicked, this, &CTavlinDlg::OnCalibration);

    auto* client = new QPushButton(QString::fromStdString(Tr(ui::kClientCalibration)), this);
    SetControlId(client, control::kClientCalibration);
    client->resize(std::max(110, client->sizeHint().width()), 32);
    client->setVisible(options_.engineering);
    connect(client, &QPushButton::clicked, this, &CTavlinDlg::OnClientCalibration);
}

void CTavlinDlg::OnCalibration() {
    if (PrepareToolLaunch(ToolKind::Calibration, state_, *bridge_, *modeControl_) !=
        LaunchReadiness::Ready) {
        return;
    }
    // A new window per press; it deletes itself once closed and then returns the device to
    // work mode. It opens on the monitor that holds this window, where the operator is.
    // A failed return to work mode has shown string 136 and logged it already.
    auto* dialog = new CcalibrationmpDlg(
        state_,
        [this] {
            bool accepted = false;
            static_cast<void>(modeControl_->ReturnToWorkMode(&accepted));
            return accepted;
        },
        this);
    dialog->SetCheckOptions(options_.check, CalibrateAgain());
    // The calibration's record is begun as its window opens and completed as the calibration
    // ends, before the window offers the check; the check is a run of its own.
    auto run = BeginRecord("calibrate", {});
    dialog->SetEndGate([this, run](const Result& outcome, std::function<void()> show) {
        CompleteRecord(run, outcome,
                       TargetFill(state_.g_ScreenWidth.load(), state_.g_ScreenHeight.load()),
                       std::move(show));
    });
    KeepCheckRecords(dialog);
    dialog->Open(screen());
}

void CTavlinDlg::KeepCheckRecords(CalibrationWindow* window) {
    // A check is begun as it starts and completed before its verdict shows; one left before
    // its end is kept as stopped.
    struct Current {
        std::shared_ptr<WindowRecords::Run> run;
        bool completed = false;
    };
    auto current = std::make_shared<Current>();
    window->SetCheckRecordHooks(
        [this, current] {
            current->run = BeginRecord(
                "check",
                {"--check-tolerance=" + QString::number(options_.check.toleranceMm).toStdString()});
            current->completed = false;
        },
        [this, current](const CalibrationCheck& check, std::function<void()> show) {
            current->completed = true;
            CompleteRecord(current->run, CheckOutcome(check), CheckFill(check), std::move(show));
        });
    connect(window, &QObject::destroyed, this, [this, current] {
        if (current->run != nullptr && !current->completed) {
            CompleteRecord(current->run, Result::Fail(ResultCode::Stopped, "the check was left"),
                           {}, [] {});
        }
    });
}

std::function<void()> CTavlinDlg::CalibrateAgain() {
    // Queued: the window that asks is closing, and the launcher opens a new one.
    return [this] {
        QMetaObject::invokeMethod(
            this, [this] { OnCalibration(); }, Qt::QueuedConnection);
    };
}

void CTavlinDlg::OpenCalibrationCheck() {
    auto* dialog = new CcalibrationcheckDlg(options_.check, CalibrateAgain(), this);
    // Its check starts as it opens.
    KeepCheckRecords(dialog);
    dialog->Open(screen());
}

void CTavlinDlg::OnClientCalibration() {
    if (state_.g_bDevExist == 0) {
        SetControlText(control::kStatusLine, NoDeviceText(state_));
        return;
    }
    auto* dialog = new CcalibrationclientDlg(this);
    dialog->SetCheckOptions(options_.check);
    KeepCheckRecords(dialog);
    dialog->Open(screen());
    SetControlText(control::kStatusLine, LoadString(IDS_DETECT_DONE));
}

}  // namespace tavlin
