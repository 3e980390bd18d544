// The calibration window on a recorded session: a whole run from the main window's launcher on
// the simulated stylus, with stray touch reports of another collection in between, replays in
// the device's place to the same end; leaving part-way fails at the first report that differs.
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <atomic>
#include <chrono>
#include <thread>

#include "app/gui/TracedMainWindow.h"
#include "base/Log.h"
#include "calibration/CalibrationCheckTexts.h"
#include "calibration/CalibrationTexts.h"
#include "calibration/CcalibrationmpDlg.h"
#include "calibration/CrosshairControl.h"
#include "device/DeviceProtocol.h"
#include "ui/ControlLookup.h"

using namespace tavlin;

namespace {

// The sample request a part-way exit is put after.
constexpr int kHeldSample = 60;

// What the window showed as it went away: once the run has completed it offers the check, and
// Esc closes it.
struct Shown {
    QString instruction = "(never hidden)";
    int crosshair = -1;
    QString mainStatus;
    QString mainVersion;
};

class LastLook : public QObject {
  public:
    explicit LastLook(Shown& shown) : shown_(shown) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Hide) {
            auto* dialog = static_cast<QWidget*>(watched);
            shown_.instruction = findControl<QLabel>(dialog, 1057)->text();
            shown_.crosshair =
                static_cast<int>(findControl<CrosshairControl>(dialog, 1062)->mode());
        }
        return false;
    }

  private:
    Shown& shown_;
};

}  // namespace

class CalibrationReplayTest : public QObject, private testing::TracedMainWindow {
    Q_OBJECT

  private:
    QTemporaryDir dir_;
    std::atomic<int> samples_{0};

    std::string TracePath() const { return dir_.filePath("calibration.trace").toStdString(); }

    // The launcher, then the run until the window offers the check, then Esc.
    Shown Calibrate() {
        Shown shown;
        if (!QTest::qWaitFor([&] { return state_->g_bDevExist == 1; })) {
            return shown;
        }
        QTest::mouseClick(findControl<QPushButton>(window_.get(), 1023), Qt::LeftButton);
        const auto opened = window_->findChildren<CcalibrationmpDlg*>();
        if (opened.size() != 1) {
            return shown;
        }
        LastLook look(shown);
        QPointer<CcalibrationmpDlg> dialog = opened.front();
        dialog->installEventFilter(&look);
        if (!QTest::qWaitFor([&] { return dialog.isNull() || dialog->CheckOffered(); }, 30000)) {
            dialog->removeEventFilter(&look);
            return shown;
        }
        if (!dialog.isNull()) {
            QTest::keyClick(dialog, Qt::Key_Escape);
        }
        if (!QTest::qWaitFor([&] { return dialog.isNull(); })) {
            return shown;
        }
        shown.mainStatus = findControl<QLabel>(window_.get(), 1060)->text();
        shown.mainVersion = findControl<QLabel>(window_.get(), 1061)->text();
        return shown;
    }

    // Holds the chosen sample request until the calibration worker has gone (bounded), so an
    // exit lands after that request in every run.
    testing::BeforeWrite HoldUntilTheWorkerHasGone() {
        samples_ = 0;
        return [this](const uint8_t* report, size_t length) {
            if (length > 1 && report[1] == cmd::kCalPoint && ++samples_ == kHeldSample) {
                const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(5);
                while (state_->g_CalThread.load() != nullptr &&
                       std::chrono::steady_clock::now() < limit) {
                    std::this_thread::yield();
                }
            }
        };
    }

  private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        SetLogFilePath(dir_.filePath("Tavlin_log.txt").toStdString());
    }
    void cleanup() { CloseWindow(); }

    void aRecordedRunReplaysToTheSameEnd() {
        QVERIFY(OpenRecording(TracePath(), "foreign=3,foreign=30,foreign=200", {}));
        const Shown recorded = Calibrate();
        QCOMPARE(recorded.instruction, QString::fromUtf8(checktext::kCompletedOffer));
        QCOMPARE(sim_->firmware().mode(), 0x22);
        CloseWindow();
        const auto events = Recorded(TracePath());
        QVERIFY(HasStrayInput(events));
        QVERIFY(testing::LastOutputWith(events, cmd::kCalParam).first > 0);

        QVERIFY(OpenReplay(TracePath(), false));
        const Shown replayed = Calibrate();
        QCOMPARE(replayed.instruction, recorded.instruction);
        QCOMPARE(replayed.crosshair, recorded.crosshair);
        QCOMPARE(replayed.mainStatus, recorded.mainStatus);
        QCOMPARE(replayed.mainVersion, recorded.mainVersion);
        QCOMPARE(gate_->firstFailure().index, 0);
    }

    // The recording went on sampling; an exit sends the return to work mode in its place.
    void leavingPartWayFailsAtTheModeSwitch() {
        const auto events = Recorded(TracePath());  // made by the test above
        QVERIFY(!events.empty());
        int index = 0;
        int samples = 0;
        std::vector<uint8_t> next;  // the report recorded after the held sample request
        for (const TraceEvent& e : events) {
            if (e.kind != TraceEvent::Kind::Out) {
                continue;
            }
            ++index;
            if (samples == kHeldSample) {
                next = e.bytes;
                break;
            }
            samples += e.bytes.at(1) == cmd::kCalPoint ? 1 : 0;
        }
        QVERIFY(!next.empty());

        QVERIFY(OpenReplay(TracePath(), false, HoldUntilTheWorkerHasGone()));
        QTRY_COMPARE(state_->g_bDevExist.load(), 1);
        QTest::mouseClick(findControl<QPushButton>(window_.get(), 1023), Qt::LeftButton);
        QPointer<CcalibrationmpDlg> dialog = window_->findChild<CcalibrationmpDlg*>();
        QVERIFY(dialog != nullptr);
        QTRY_COMPARE(samples_.load(), kHeldSample);
        QTest::keyClick(dialog, Qt::Key_Escape);
        QTRY_VERIFY(dialog.isNull());
        QTRY_VERIFY(gate_->firstFailure().index != 0);
        const auto failure = gate_->firstFailure();
        QCOMPARE(failure.index, index);
        const std::string differs =
            "output report " + std::to_string(index) + " differs from the recording: sent 030e22";
        QVERIFY2(failure.detail.starts_with(differs), failure.detail.c_str());
        QVERIFY(failure.detail.ends_with(", recorded " + HexBytes(next)));
    }
};

QTEST_MAIN(CalibrationReplayTest)
#include "CalibrationReplayTest.moc"
