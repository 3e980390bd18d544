// The main window on a recorded session: a mode switch recorded on the simulated device (with a
// stray report on the vendor node) replays in the device's place with the same texts in the
// same controls, and a different press fails at its first report, as a real device's failure
// would show.
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <cerrno>
#include <fstream>
#include <memory>

#include "app/CTavlinDlg.h"
#include "base/Log.h"
#include "device/HidDevice.h"
#include "device/SharedState.h"
#include "sim/FaultPlanParser.h"
#include "sim/SimTransport.h"
#include "trace/RecordingTransport.h"
#include "trace/ReplayTransport.h"
#include "trace/TraceFormat.h"
#include "trace/TraceReader.h"
#include "trace/TraceWriter.h"
#include "ui/ControlLookup.h"

using namespace tavlin;

namespace {

QString Utf8(const char* s) {
    return QString::fromUtf8(s);
}

// What the window showed once its press had been answered.
struct Shown {
    QString status;
    QString version;
    QString toggle;
};

}  // namespace

class WindowReplayTest : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir dir_;
    std::unique_ptr<SharedState> state_;
    // Outlives the window that a test leaves open for cleanup() to close, even after a failed
    // check has returned early.
    std::unique_ptr<ReplayTransport> replay_;
    std::unique_ptr<HidDevice> device_;
    std::unique_ptr<CTavlinDlg> window_;

    QString TracePath() const { return dir_.filePath("window.trace"); }
    std::string Log() const {
        std::ifstream in(dir_.filePath("Tavlin_log.txt").toStdString(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    QString Status() const { return findControl<QLabel>(window_.get(), 1060)->text(); }

    void Open(HidTransport& transport) {
        state_ = std::make_unique<SharedState>();
        device_ = std::make_unique<HidDevice>(transport);
        device_->setTimeoutMs(100);
        MainWindowOptions options;
        window_ = std::make_unique<CTavlinDlg>(*state_, *device_, options);
        window_->show();
    }
    void Close() {
        window_.reset();
        device_.reset();
        state_.reset();
        replay_.reset();
    }

    // Detection, then a press of the mode toggle: to calibration mode, the versions shown.
    Shown SwitchToCalibration() {
        [&] { QTRY_COMPARE(Status(), Utf8("设备检测完成。\n")); }();
        QTest::mouseClick(findControl<QPushButton>(window_.get(), 1065), Qt::LeftButton);
        [&] { QTRY_COMPARE(Status(), Utf8("当前模式为标定模式！\n")); }();
        auto* version = findControl<QLabel>(window_.get(), 1061);
        [&] { QTRY_VERIFY(!version->text().isEmpty()); }();
        return {Status(), version->text(), findControl<QPushButton>(window_.get(), 1065)->text()};
    }

    std::vector<TraceEvent> Recording() {
        TraceProblem problem;
        auto events = ReadTrace(TracePath().toStdString(), &problem);
        return events.value_or(std::vector<TraceEvent>{});
    }

  private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        SetLogFilePath(dir_.filePath("Tavlin_log.txt").toStdString());
    }
    void cleanup() { Close(); }

    void aRecordedModeSwitchReplaysWithTheSameTexts() {
        Shown recorded;
        {
            sim::SimTransport sim;
            std::string error;
            sim.faults().Set(*sim::ParseFaultPlan("foreign=1", &error));
            auto writer = TraceWriter::Create(TracePath().toStdString(), "test");
            QVERIFY(writer != nullptr);
            RecordingTransport recording(sim, *writer);
            Open(recording);
            recorded = SwitchToCalibration();
            Close();
        }
        const auto events = Recording();
        QVERIFY(std::any_of(events.begin(), events.end(), [](const TraceEvent& e) {
            return e.kind == TraceEvent::Kind::In && e.bytes.at(0) != kReportId;
        }));

        replay_ = std::make_unique<ReplayTransport>(events, false);
        Open(*replay_);
        const Shown replayed = SwitchToCalibration();
        QCOMPARE(replayed.status, recorded.status);
        QCOMPARE(replayed.version, recorded.version);
        QCOMPARE(replayed.toggle, recorded.toggle);
        QCOMPARE(replayed.toggle, Utf8("工作模式"));
    }

    void aDifferentPressFailsAtItsFirstReport() {
        QVERIFY(!Recording().empty());  // made by the test above
        replay_ = std::make_unique<ReplayTransport>(Recording(), false);
        Open(*replay_);
        QTRY_COMPARE(Status(), Utf8("设备检测完成。\n"));
        // The recording switched to calibration mode; a register read goes another way.
        QTest::mouseClick(findControl<QPushButton>(window_.get(), 1017), Qt::LeftButton);
        auto* pane = findControl<QPlainTextEdit>(window_.get(), 1005);
        QTRY_VERIFY(pane->toPlainText().contains("FPGASingleRead error"));
        // The write itself was refused (EPROTO), not answered with another command's reply.
        QTRY_VERIFY(Log().find("GetOverlappedResult_Tav failed! ret=" + std::to_string(EPROTO)) !=
                    std::string::npos);
    }
};

QTEST_MAIN(WindowReplayTest)
#include "WindowReplayTest.moc"
