// The leveling window on a recorded session: opened from the main window on the simulated device
// (stray touch reports on the vendor node), a few preview frames, closed; the recording replayed
// in the device's place shows the same texts, sliders and pictures, and leaving another way
// fails at the first report that differs.
//
// The window's worker fetches frames without pause until it is told to stop, so how far it got
// when the operator closed depends on the machine's speed: a recording says nothing about the
// close. Both runs therefore hold the third stitching request until the close has asked the
// worker to stop, so the close lands at the same report in both.
#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QtTest>
#include <atomic>

#include "app/gui/TracedMainWindow.h"
#include "base/Log.h"
#include "device/DeviceProtocol.h"
#include "leveling/CsensorsetmpDlg.h"
#include "leveling/LevelingControlIds.h"
#include "leveling/PreviewPictureWidget.h"
#include "ui/ControlLookup.h"

using namespace tavlin;
using namespace tavlin::leveling;

namespace {

// The stitching request the close waits for: two whole frames are drawn by then.
constexpr int kHeldStitching = 3;

struct Shown {
    QString status[2];
    int slider[2] = {0, 0};
    QImage picture[2];
};

CsensorsetmpDlg* OpenLevelingWindow() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* d = qobject_cast<CsensorsetmpDlg*>(w); d != nullptr && d->isVisible()) {
            return d;
        }
    }
    return nullptr;
}

}  // namespace

class LevelingReplayTest : public QObject, private testing::TracedMainWindow {
    Q_OBJECT

  private:
    QTemporaryDir dir_;
    std::atomic<int> stitchings_{0};
    std::atomic<bool> held_{false};

    std::string TracePath() const { return dir_.filePath("leveling.trace").toStdString(); }

    // Holds the chosen stitching request until the window's close has asked the worker to stop
    // (bounded: a close that never comes fails the test, not the run).
    testing::BeforeWrite HoldForTheClose() {
        stitchings_ = 0;
        held_ = false;
        return [this](const uint8_t* report, size_t length) {
            if (length > 1 && report[1] == cmd::kLineOptimize && ++stitchings_ == kHeldStitching) {
                held_ = true;
                // The stop is a one-shot signal meant for the worker: handed on once seen.
                if (state_->g_PreviewStopEvent.Wait(5000) == WAIT_OBJECT_0) {
                    state_->g_PreviewStopEvent.Set();
                }
            }
        };
    }

    // Detection, the leveling button, the preview up to the held request.
    QPointer<CsensorsetmpDlg> OpenLeveling() {
        if (!QTest::qWaitFor([&] { return state_->g_bDevExist == 1; })) {
            return nullptr;
        }
        findControl<QPushButton>(window_.get(), kLevelingButton)->click();
        QPointer<CsensorsetmpDlg> d = OpenLevelingWindow();
        if (d == nullptr || !QTest::qWaitFor([&] { return held_.load(); }, 10000)) {
            return nullptr;
        }
        QCoreApplication::processEvents();  // what the worker queued before the hold
        return d;
    }

    static Shown WhatItShows(QWidget* d) {
        Shown shown;
        const int statuses[2] = {kMasterStatus, kSlaveStatus};
        const int sliders[2] = {kMasterSlider, kSlaveSlider};
        const int pictures[2] = {kMasterPicture, kSlavePicture};
        for (int sensor : {0, 1}) {
            shown.status[sensor] = findControl<QLabel>(d, statuses[sensor])->text();
            shown.slider[sensor] = findControl<QSlider>(d, sliders[sensor])->value();
            shown.picture[sensor] = findControl<PreviewPictureWidget>(d, pictures[sensor])->image();
        }
        return shown;
    }

    QString MainStatus() const { return findControl<QLabel>(window_.get(), 1060)->text(); }

  private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        SetLogFilePath(dir_.filePath("Tavlin_log.txt").toStdString());
    }
    void cleanup() { CloseWindow(); }

    void aRecordedPreviewReplaysWithTheSameFrames() {
        QVERIFY(
            OpenRecording(TracePath(), "foreign=2,foreign=40,foreign=150", {}, HoldForTheClose()));
        QPointer<CsensorsetmpDlg> d = OpenLeveling();
        QVERIFY(d != nullptr);
        const Shown recorded = WhatItShows(d);
        QVERIFY(recorded.status[1].startsWith(QString::fromUtf8("确定所用图像行成功")));
        QVERIFY(!recorded.picture[0].isNull() && !recorded.picture[1].isNull());
        QTest::keyClick(d, Qt::Key_Escape);
        QTRY_VERIFY(d.isNull());
        QCOMPARE(sim_->firmware().mode(), 0x22);
        const QString mainStatus = MainStatus();
        CloseWindow();
        QVERIFY(HasStrayInput(Recorded(TracePath())));

        QVERIFY(OpenReplay(TracePath(), false, HoldForTheClose()));
        d = OpenLeveling();
        QVERIFY(d != nullptr);
        const Shown replayed = WhatItShows(d);
        for (int sensor : {0, 1}) {
            QCOMPARE(replayed.status[sensor], recorded.status[sensor]);
            QCOMPARE(replayed.slider[sensor], recorded.slider[sensor]);
            QCOMPARE(replayed.picture[sensor], recorded.picture[sensor]);
        }
        QTest::keyClick(d, Qt::Key_Escape);
        QTRY_VERIFY(d.isNull());
        QCOMPARE(MainStatus(), mainStatus);
        // The close's mode switch too is the recorded one: every report went as recorded.
        QCOMPARE(gate_->firstFailure().index, 0);
    }

    // The recording left with Cancel (work mode); OK asks for the confirmed mode instead.
    void leavingWithOkFailsAtTheModeSwitch() {
        const auto events = Recorded(TracePath());  // made by the test above
        QVERIFY(!events.empty());
        const auto [modeSwitch, recorded] = testing::LastOutputWith(events, cmd::kModeSwitch);
        QVERIFY(modeSwitch > 0);
        QVERIFY(OpenReplay(TracePath(), false, HoldForTheClose()));
        QPointer<CsensorsetmpDlg> d = OpenLeveling();
        QVERIFY(d != nullptr);
        state_->g_isExposureAdjusted = 1;
        findControl<QPushButton>(d, kOk)->click();
        QTRY_VERIFY(d.isNull());
        const auto failure = gate_->firstFailure();
        QCOMPARE(failure.index, modeSwitch);
        const std::string differs = "output report " + std::to_string(modeSwitch) +
                                    " differs from the recording: sent 030eee";
        QVERIFY2(failure.detail.starts_with(differs), failure.detail.c_str());
        QVERIFY(failure.detail.ends_with(", recorded " + HexBytes(recorded)));
    }
};

QTEST_MAIN(LevelingReplayTest)
#include "LevelingReplayTest.moc"
