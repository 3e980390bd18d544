// The main window on a recorded session: a mode switch recorded on the simulated device (with a
// stray report on the vendor node) replays in the device's place with the same texts in the
// same controls, and a different press fails at its first report, as a real device's failure
// would show.
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
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

    void Open(HidTransport& transport, MainWindowOptions options = {}) {
        state_ = std::make_unique<SharedState>();
        device_ = std::make_unique<HidDevice>(transport);
        device_->setTimeoutMs(100);
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

    // As the CLI does: a replay that stopped short of its recording, one that ran out, and a
    // recording that could not hold the run are told on the status line and in the log, before
    // its end line.
    void aShortfallARunOutAndACutRecordingAreTold() {
        const std::vector<TraceEvent> recorded = Recording();  // made by the first test
        QVERIFY(!recorded.empty());
        // Up to the mode switch's first report, without an end line: the press runs out.
        const auto press =
            std::find_if(recorded.rbegin(), recorded.rend(), [](const TraceEvent& e) {
                return e.kind == TraceEvent::Kind::Out && e.bytes.at(1) == 0x0E;
            });
        QVERIFY(press != recorded.rend());
        const std::vector<TraceEvent> cut(recorded.begin(), press.base() - 1);
        const int ranOutLine = static_cast<int>(cut.size()) + 2;
        struct Case {
            const char* name;
            std::vector<TraceEvent> events;  // empty: record, into a writer that falls behind
            bool press;
            std::string told;
            size_t logged;  // what happens during the run is logged then, and again at the close
        };
        const Case cases[] = {
            {"shortfall", recorded, false, "", 1},
            {"ran out", cut, true, "记录文件在第 " + std::to_string(ranOutLine) + " 行用完", 2},
            {"cut recording", {}, false, "记录文件 cut.trace 不完整：记录在运行结束前中断", 2},
        };
        for (const Case& c : cases) {
            qInfo("%s", c.name);
            sim::SimTransport sim;
            std::unique_ptr<TraceWriter> writer;
            std::unique_ptr<RecordingTransport> recording;
            MainWindowOptions options;
            if (c.events.empty()) {
                writer = TraceWriter::Create(dir_.filePath("cut.trace").toStdString(), "test", 1);
                QVERIFY(writer != nullptr);
                recording = std::make_unique<RecordingTransport>(sim, *writer);
                options.recording = writer.get();
                options.recordPath = "cut.trace";
                Open(*recording, options);
            } else {
                replay_ = std::make_unique<ReplayTransport>(c.events, false);
                options.replay = replay_.get();
                Open(*replay_, options);
            }
            QTRY_COMPARE(Status(), Utf8("设备检测完成。\n"));
            // What the press would have sent is left.
            const std::string told = !c.told.empty() ? c.told
                                                     : "回放未完成：记录中还有 " +
                                                           std::to_string(replay_->OutputsLeft()) +
                                                           " 个输出报告未发送";
            if (c.press) {
                QTest::mouseClick(findControl<QPushButton>(window_.get(), 1065), Qt::LeftButton);
                QTRY_VERIFY(replay_->RanOutLine() != 0);
            }
            window_->reject();
            QVERIFY2(Status().startsWith(QString::fromStdString(told)),
                     qPrintable(Status() + " / " + QString::fromStdString(told)));
            const std::string log = Log();
            const size_t at = log.rfind(told);
            QVERIFY2(at != std::string::npos, c.name);
            QVERIFY2(log.find("Tavlin log end!", at) != std::string::npos, c.name);
            const size_t start = log.rfind("Tavlin log start!");
            size_t logged = 0;
            for (size_t i = log.find(told, start); i != std::string::npos;
                 i = log.find(told, i + 1)) {
                ++logged;
            }
            QCOMPARE(logged, c.logged);
            Close();
            recording.reset();
            writer.reset();
        }
    }
};

QTEST_MAIN(WindowReplayTest)
#include "WindowReplayTest.moc"
